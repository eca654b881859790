#pragma once
// Random loopback addresses for the test's own sockets, so that tests run
// side by side do not meet on one address.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>

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

// A TCP port on a random loopback address that refuses every connection:
// bound for as long as this lives, so that no one else takes it, and never
// listening.
class RefusingPort {
public:
    RefusingPort() : address_(randomLoopback()) {
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        ::inet_pton(AF_INET, address_.c_str(), &sa.sin_addr);
        socklen_t length = sizeof sa;
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &length) != 0) {
            if (fd_ >= 0) ::close(fd_);
            throw std::runtime_error("no port on " + address_);
        }
        port_ = ntohs(sa.sin_port);
    }
    ~RefusingPort() { ::close(fd_); }
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    const std::string& address() const { return address_; }
    std::uint16_t port() const { return port_; }
    // "ADDRESS:PORT", as CUPS_SERVER takes a server.
    std::string endpoint() const { return address_ + ":" + std::to_string(port_); }

private:
    std::string address_;
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

}  // namespace testsupport
