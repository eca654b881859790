#include "ui/Clocks.h"

#include <thread>

namespace ui {

std::uint32_t SystemClock::milliseconds() {
    auto t = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(t).count());
}

std::tm SystemClock::localTime() {
    std::time_t now = std::time(nullptr);
    std::tm out{};
    localtime_r(&now, &out);
    return out;
}

double SystemClock::secondsSinceMidnight() {
    auto now = std::chrono::system_clock::now();
    std::time_t secs = std::chrono::system_clock::to_time_t(now);
    std::tm t{};
    localtime_r(&secs, &t);
    auto frac = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec + static_cast<double>(frac) / 1000.0;
}

void SystemClock::sleep(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

VirtualClock::VirtualClock(std::tm start, std::uint32_t counter) : start_(start), counter_(counter) {}

std::tm VirtualClock::defaultStart() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_isdst = -1;
    return t;
}

std::tm VirtualClock::localTime() {
    std::tm t = start_;
    t.tm_sec += static_cast<int>(elapsed_ / 1000);
    t.tm_isdst = -1;
    std::time_t secs = timegm(&t);  // normalise fields without a time zone
    std::tm out{};
    gmtime_r(&secs, &out);
    return out;
}

double VirtualClock::secondsSinceMidnight() {
    std::tm t = localTime();
    return t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec + static_cast<double>(elapsed_ % 1000) / 1000.0;
}

void VirtualClock::sleep(std::uint32_t ms) {
    advance(ms);
    if (onSleep) onSleep(ms);
}

void VirtualClock::advance(std::uint32_t ms) {
    counter_ += ms;
    elapsed_ += ms;
    if (onAdvance) onAdvance(ms);
}

}  // namespace ui
