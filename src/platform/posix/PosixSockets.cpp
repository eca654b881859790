#include "platform/posix/PosixSockets.h"

#include <arpa/inet.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <vector>

namespace platform {

namespace {

struct Address {
    sockaddr_storage storage{};
    socklen_t length = 0;
    int family() const { return storage.ss_family; }
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&storage); }
};

// The socket address of an IPv4 address, most significant byte first.
Address ipv4(std::uint32_t address, std::uint16_t port) {
    Address a;
    auto& v4 = reinterpret_cast<sockaddr_in&>(a.storage);
    v4.sin_family = AF_INET;
    v4.sin_port = htons(port);
    v4.sin_addr.s_addr = htonl(address);
    a.length = sizeof v4;
    return a;
}

// The first address getaddrinfo gives for the host; nullopt when there is none.
std::optional<Address> lookUp(const std::string& host, std::uint16_t port, int flags) {
    const std::string service = std::to_string(port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = flags | AI_NUMERICSERV;
    addrinfo* list = nullptr;
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &list) != 0 || !list) return std::nullopt;
    Address a;
    std::memcpy(&a.storage, list->ai_addr, list->ai_addrlen);
    a.length = list->ai_addrlen;
    ::freeaddrinfo(list);
    return a;
}

// A datagram destination: a dotted quad read as decimal, an IPv6 address,
// or a name. IPv4 in the resolver's other numeric forms (octal, hex, fewer
// parts) is refused rather than guessed at.
std::optional<Address> datagramAddress(const std::string& host, std::uint16_t port) {
    if (auto v4 = DottedDecimal(host)) return ipv4(*v4, port);
    if (host.empty() || host.find_first_not_of("0123456789.") == std::string::npos) return std::nullopt;
    if (auto numeric = lookUp(host, port, AI_NUMERICHOST))
        return numeric->family() == AF_INET6 ? numeric : std::nullopt;
    return lookUp(host, port, AI_ADDRCONFIG);
}

bool sameEndpoint(const sockaddr_storage& a, const Address& b) {
    if (a.ss_family != b.family()) return false;
    if (a.ss_family == AF_INET) {
        const auto& x = reinterpret_cast<const sockaddr_in&>(a);
        const auto& y = reinterpret_cast<const sockaddr_in&>(b.storage);
        return x.sin_port == y.sin_port && x.sin_addr.s_addr == y.sin_addr.s_addr;
    }
    if (a.ss_family == AF_INET6) {
        const auto& x = reinterpret_cast<const sockaddr_in6&>(a);
        const auto& y = reinterpret_cast<const sockaddr_in6&>(b.storage);
        return x.sin6_port == y.sin6_port && std::memcmp(&x.sin6_addr, &y.sin6_addr, sizeof x.sin6_addr) == 0;
    }
    return false;
}

void describe(const sockaddr_storage& a, std::string& host, std::uint16_t& port) {
    char text[INET6_ADDRSTRLEN] = {};
    if (a.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(a);
        ::inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
        port = ntohs(v4.sin_port);
    } else if (a.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(a);
        ::inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        port = ntohs(v6.sin6_port);
    }
    host = text;
}

class PosixTcpClient : public TcpClient {
public:
    ~PosixTcpClient() override { dropSocket(); }

    void connect(const std::string& host, std::uint16_t port) override {
        close();
        status_ = SendStatus::None;
        sent_ = 0;
        const auto v4 = DottedDecimal(host);
        if (!v4) {
            state_ = SocketState::Error;
            return;
        }
        const Address address = ipv4(*v4, port);
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd_ < 0) {
            state_ = SocketState::Error;
            return;
        }
        // An interrupted connect goes on by itself, like one in progress.
        if (::connect(fd_, address.get(), address.length) == 0)
            state_ = SocketState::Connected;
        else if (errno == EINPROGRESS || errno == EINTR)
            state_ = SocketState::Connecting;
        else
            fail();
    }

    int state() const override { return state_; }

    void send(const std::string& bytes) override {
        if (state_ != SocketState::Connected) {
            status_ = SendStatus::Failed;
            return;
        }
        out_.append(bytes);
        status_ = SendStatus::Sending;
        flush();
    }

    SendStatus sendStatus() const override { return status_; }
    std::size_t bytesSent() const override { return sent_; }

    void close() override {
        dropSocket();
        if (status_ == SendStatus::Sending || status_ == SendStatus::Written) status_ = SendStatus::Failed;
        out_.clear();
        offset_ = 0;
        state_ = SocketState::Closed;
    }

    void progress() override {
        if (state_ == SocketState::Connecting) {
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, 0) <= 0) return;
            int error = 0;
            socklen_t length = sizeof error;
            if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
                fail();
                return;
            }
            state_ = SocketState::Connected;
        }
        if (state_ == SocketState::Connected && status_ == SendStatus::Sending) flush();
        if (state_ == SocketState::Connected && status_ == SendStatus::Written) watch();
    }

    std::optional<IoWait> ioWait() const override {
        // No event tells that the peer acknowledged the last bytes: a
        // written send waits for an error or a hang-up, and is looked at
        // again by the next progress() the caller makes.
        if (fd_ >= 0 && state_ == SocketState::Connected && status_ == SendStatus::Written)
            return IoWait{hangUps_, true, false};
        const bool writing =
            state_ == SocketState::Connecting || (state_ == SocketState::Connected && status_ == SendStatus::Sending);
        if (fd_ < 0 || !writing) return IoWait{};
        return IoWait{fd_, false, true};
    }

private:
    void flush() {
        while (offset_ < out_.size()) {
            ssize_t n = ::send(fd_, out_.data() + offset_, out_.size() - offset_, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0) {
                offset_ += static_cast<std::size_t>(n);
                sent_ += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
            fail();
            return;
        }
        out_.clear();
        offset_ = 0;
        status_ = SendStatus::Written;
        watch();
    }

    // Sent once the peer has acknowledged every byte; Failed when the
    // connection is reset, fails or hangs up before. The count of bytes not
    // yet acknowledged stays as it was when a reset ends the connection, so
    // it is read first.
    void watch() {
        int unacknowledged = 0;
        if (::ioctl(fd_, SIOCOUTQ, &unacknowledged) != 0) {
            fail();
            return;
        }
        if (unacknowledged == 0) {
            status_ = SendStatus::Sent;
            dropHangUps();
            return;
        }
        pollfd p{fd_, 0, 0};  // errors and hang-ups are reported unasked
        if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLERR | POLLHUP))) {
            fail();
            return;
        }
        watchHangUps();
    }

    // An epoll set holding the connection with no event asked for: it
    // becomes readable on the connection's errors and hang-ups alone, not on
    // data the peer sends. Without one the send waits for nothing.
    void watchHangUps() {
        if (hangUps_ >= 0) return;
        hangUps_ = ::epoll_create1(EPOLL_CLOEXEC);
        epoll_event event{};
        if (hangUps_ >= 0 && ::epoll_ctl(hangUps_, EPOLL_CTL_ADD, fd_, &event) != 0) dropHangUps();
    }

    void dropHangUps() {
        if (hangUps_ >= 0) ::close(hangUps_);
        hangUps_ = -1;
    }

    void fail() {
        dropSocket();
        state_ = SocketState::Error;
        if (status_ == SendStatus::Sending || status_ == SendStatus::Written) status_ = SendStatus::Failed;
        out_.clear();
        offset_ = 0;
    }

    void dropSocket() {
        dropHangUps();
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    int fd_ = -1;
    int hangUps_ = -1;
    int state_ = SocketState::Closed;
    SendStatus status_ = SendStatus::None;
    std::string out_;
    std::size_t offset_ = 0;
    std::size_t sent_ = 0;
};

class PosixDatagramSocket : public DatagramSocket {
public:
    ~PosixDatagramSocket() override { close(); }

    bool setRemote(const std::string& host, std::uint16_t port) override {
        auto address = datagramAddress(host, port);
        if (!address) {
            remote_.reset();
            return false;
        }
        if (fd_ >= 0 && remote_ && remote_->family() != address->family()) close();
        remote_ = *address;
        return true;
    }

    bool send(const std::string& bytes) override {
        if (!remote_) return false;
        if (fd_ < 0) fd_ = ::socket(remote_->family(), SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd_ < 0) return false;
        ssize_t n;
        do {
            n = ::sendto(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL, remote_->get(), remote_->length);
        } while (n < 0 && errno == EINTR);
        return n >= 0 && static_cast<std::size_t>(n) == bytes.size();
    }

    std::optional<Datagram> read() override {
        if (queue_.empty()) return std::nullopt;
        Datagram d = std::move(queue_.front());
        queue_.pop_front();
        return d;
    }

    std::size_t waiting() const override { return queue_.size(); }

    void close() override {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        queue_.clear();
    }

    void progress() override {
        if (fd_ >= 0 && buffer_.empty()) buffer_.resize(65536);
        while (fd_ >= 0) {
            sockaddr_storage from{};
            socklen_t length = sizeof from;
            ssize_t n = ::recvfrom(fd_, buffer_.data(), buffer_.size(), MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&from), &length);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return;  // nothing more now (or an ICMP error: nothing to read)
            if (!remote_ || !sameEndpoint(from, *remote_)) continue;
            Datagram d;
            d.bytes.assign(buffer_.data(), static_cast<std::size_t>(n));
            describe(from, d.host, d.port);
            queue_.push_back(std::move(d));
            if (onDataArrival) onDataArrival(static_cast<std::size_t>(n));
        }
    }

    std::optional<IoWait> ioWait() const override {
        if (fd_ < 0) return IoWait{};
        return IoWait{fd_, true, false};
    }

private:
    int fd_ = -1;
    std::optional<Address> remote_;
    std::deque<Datagram> queue_;
    std::vector<char> buffer_;
};

}  // namespace

std::unique_ptr<TcpClient> PosixSockets::tcpClient() { return std::make_unique<PosixTcpClient>(); }

std::unique_ptr<DatagramSocket> PosixSockets::datagramSocket() { return std::make_unique<PosixDatagramSocket>(); }

}  // namespace platform
