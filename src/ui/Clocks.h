#pragma once
// The real clock (monotonic millisecond counter, local wall time) and the
// virtual clock of the tests, which only moves when told to.

#include <chrono>
#include <functional>

#include "ui/Services.h"

namespace ui {

class SystemClock : public Clock {
public:
    std::uint32_t milliseconds() override;
    std::tm localTime() override;
    double secondsSinceMidnight() override;
    void sleep(std::uint32_t ms) override;
};

class VirtualClock : public Clock {
public:
    // Starts at the given local time; the millisecond counter starts at `counter`.
    explicit VirtualClock(std::tm start = defaultStart(), std::uint32_t counter = 1000);
    static std::tm defaultStart();  // 7 Dec 2026 09:00:00

    std::uint32_t milliseconds() override { return counter_; }
    std::tm localTime() override;
    double secondsSinceMidnight() override;
    void sleep(std::uint32_t ms) override;

    void advance(std::uint32_t ms);
    std::uint64_t elapsed() const { return elapsed_; }  // ms since the start
    // Called after every sleep, with the length slept (lets a test act "meanwhile").
    std::function<void(std::uint32_t)> onSleep;
    // Called after every move of the clock (a sleep, a step of the pump), with its length.
    std::function<void(std::uint32_t)> onAdvance;

private:
    std::tm start_;
    std::uint32_t counter_;
    std::uint64_t elapsed_ = 0;
};

}  // namespace ui
