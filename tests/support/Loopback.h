#pragma once
// Random loopback addresses for the test's own sockets, so that tests run
// side by side do not meet on one address.

#include <random>
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

}  // namespace testsupport
