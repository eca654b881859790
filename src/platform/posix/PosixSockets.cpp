#include "platform/posix/PosixSockets.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
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

// The first address of the host for the socket type; nullopt when there is none.
std::optional<Address> resolve(const std::string& host, std::uint16_t port, int type) {
    if (host.empty()) return std::nullopt;
    const std::string service = std::to_string(port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = type;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* list = nullptr;
    int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
    if (rc != 0) {
        hints.ai_flags = AI_NUMERICSERV | AI_ADDRCONFIG;
        rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
    }
    if (rc != 0 || !list) return std::nullopt;
    Address a;
    std::memcpy(&a.storage, list->ai_addr, list->ai_addrlen);
    a.length = list->ai_addrlen;
    ::freeaddrinfo(list);
    return a;
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
        auto address = resolve(host, port, SOCK_STREAM);
        if (!address) {
            state_ = SocketState::Error;
            return;
        }
        fd_ = ::socket(address->family(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd_ < 0) {
            state_ = SocketState::Error;
            return;
        }
        // An interrupted connect goes on by itself, like one in progress.
        if (::connect(fd_, address->get(), address->length) == 0)
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
        if (status_ == SendStatus::Sending) status_ = SendStatus::Failed;
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
    }

    std::optional<IoWait> ioWait() const override {
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
        status_ = SendStatus::Sent;
    }

    void fail() {
        dropSocket();
        state_ = SocketState::Error;
        if (status_ == SendStatus::Sending) status_ = SendStatus::Failed;
        out_.clear();
        offset_ = 0;
    }

    void dropSocket() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    int fd_ = -1;
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
        auto address = resolve(host, port, SOCK_DGRAM);
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
