#include "platform/ServerDeadline.h"

#include <time.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

long long monotonicMs() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1'000'000;
}

}  // namespace

std::pair<std::string, std::string> serverDeadline(std::chrono::milliseconds left) {
    return {ServerDeadlineVariable, std::to_string(monotonicMs() + left.count())};
}

std::optional<std::chrono::milliseconds> serverTimeLeft() {
    const char* value = std::getenv(ServerDeadlineVariable);
    if (!value || !*value) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long long deadline = std::strtoll(value, &end, 10);
    if (errno != 0 || *end != '\0' || deadline < 0) return std::nullopt;
    const long long left = deadline - monotonicMs();
    return std::chrono::milliseconds(left > 0 ? left : 0);
}

}  // namespace platform
