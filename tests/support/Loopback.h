#pragma once
// Random loopback addresses for the test's own sockets, so that tests run
// side by side do not meet on one address, and sockets bound on them.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>

namespace testsupport {

// A random part of a loopback address, from lo to hi.
inline unsigned randomPart(unsigned lo = 1, unsigned hi = 254) {
    static std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<unsigned>(lo, hi)(engine);
}

// 127.X.Y.Z, each part from 1 to 254.
inline std::string randomLoopback() {
    return "127." + std::to_string(randomPart()) + "." + std::to_string(randomPart()) + "." +
           std::to_string(randomPart());
}

// Another random loopback address than `address`.
inline std::string otherLoopback(const std::string& address) {
    std::string other = randomLoopback();
    while (other == address) other = randomLoopback();
    return other;
}

// An address in 127.0.0.0/8; throws std::invalid_argument for any other.
inline sockaddr_in loopbackAddress(const std::string& address, std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &sa.sin_addr) != 1 || (ntohl(sa.sin_addr.s_addr) >> 24) != 127)
        throw std::invalid_argument("loopback addresses only, not " + address);
    return sa;
}

// Makes the connections a listening socket accepts take little more than a
// kilobyte unread: what the other end sends beyond that stays unacknowledged
// until it is read, as with a printer that stopped taking data. Called
// before listen().
inline void holdUnread(int listener) {
    const int smallest = 1;  // the kernel makes it its least
    ::setsockopt(listener, SOL_SOCKET, SO_RCVBUF, &smallest, sizeof smallest);
}

// A socket of the test bound on a loopback address (a random one unless
// given) at `port`, 0 for a free one; `type` is SOCK_STREAM or SOCK_DGRAM,
// with any SOCK_ flags. Closed when this goes; throws std::runtime_error
// when it cannot be bound.
class LoopbackSocket {
public:
    explicit LoopbackSocket(int type, std::string address = randomLoopback(), std::uint16_t port = 0)
        : address_(std::move(address)), where_(loopbackAddress(address_, port)) {
        socklen_t length = sizeof where_;
        fd_ = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&where_), sizeof where_) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&where_), &length) != 0) {
            if (fd_ >= 0) ::close(fd_);
            throw std::runtime_error("no socket on " + address_);
        }
    }
    ~LoopbackSocket() { ::close(fd_); }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;

    int fd() const { return fd_; }
    const std::string& address() const { return address_; }
    std::uint16_t port() const { return ntohs(where_.sin_port); }
    // Where it is bound, for sendto() and the like.
    const sockaddr_in& where() const { return where_; }
    // "ADDRESS:PORT", as CUPS_SERVER takes a server.
    std::string endpoint() const { return address_ + ":" + std::to_string(port()); }

private:
    std::string address_;
    sockaddr_in where_;
    int fd_ = -1;
};

// A port no one uses on a loopback address, for SOCK_STREAM or SOCK_DGRAM.
inline std::uint16_t freeLoopbackPort(int type, const std::string& address) {
    return LoopbackSocket(type, address).port();
}

// A TCP port on a random loopback address that refuses every connection:
// bound for as long as this lives, so that no one else takes it, and never
// listening.
struct RefusingPort : LoopbackSocket {
    RefusingPort() : LoopbackSocket(SOCK_STREAM) {}
};

}  // namespace testsupport
