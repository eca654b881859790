#pragma once
// Real time for the servers beside a test whose program waits on the
// virtual clock. cupsd, its backends, the printer simulator and the programs
// the wizard starts work in real time: while one of them may still act, the
// virtual clock runs no faster than real time, however it moves (a sleep of
// a wait, a step or a leap of the pump); once they are all idle it leaps.

#include <poll.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>

#include "platform/Process.h"
#include "ui/Clocks.h"

namespace testsupport {

class ServerTime {
public:
    using Clock = std::chrono::steady_clock;

    // `busy`: whether a server may still act; asked again once the clock
    // has moved on by RecheckMs and real time by RecheckRealMs, and at its
    // next move after recheck().
    ServerTime(ui::VirtualClock& clock, std::function<bool()> busy) : clock_(clock), busy_(std::move(busy)) {}
    ~ServerTime() {
        if (hooked_) clock_.onAdvance = nullptr;
    }
    ServerTime(const ServerTime&) = delete;
    ServerTime& operator=(const ServerTime&) = delete;

    static constexpr std::uint64_t RecheckMs = 50;
    static constexpr std::chrono::milliseconds RecheckRealMs{5};

    // The clock has just moved on by `ms`: while a server may act, real time
    // catches up with it.
    void pass(std::uint32_t ms) {
        // An idle server wakes on its own only as real time passes: a leap
        // asks again once some of it has.
        const Clock::time_point asked = Clock::now();
        if (recheck_ || (clock_.elapsed() >= askAgain_ && asked >= askedAt_ + RecheckRealMs)) {
            busyNow_ = busy_();
            askAgain_ = clock_.elapsed() + RecheckMs;
            askedAt_ = asked;
            recheck_ = false;
        }
        if (!busyNow_) {
            anchored_ = false;
            return;
        }
        const Clock::time_point now = Clock::now();
        if (!anchored_) {
            anchored_ = true;
            realStart_ = now;
            virtualStart_ = clock_.elapsed() - ms;
        }
        const Clock::time_point due = realStart_ + std::chrono::milliseconds(clock_.elapsed() - virtualStart_);
        if (due > now)
            ::poll(nullptr, 0, static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(due - now).count()));
    }
    // Every move of the clock is such a pass.
    void onEveryMove() {
        clock_.onAdvance = [this](std::uint32_t ms) { pass(ms); };
        hooked_ = true;
    }
    // The program may just have set a server to work (it started a program,
    // called the print server): `busy` is asked again at the next move.
    void recheck() { recheck_ = true; }

private:
    ui::VirtualClock& clock_;
    std::function<bool()> busy_;
    bool hooked_ = false;
    bool busyNow_ = false;
    bool recheck_ = true;
    std::uint64_t askAgain_ = 0;
    Clock::time_point askedAt_;
    // Since when a server has been busy, in both times.
    bool anchored_ = false;
    Clock::time_point realStart_;
    std::uint64_t virtualStart_ = 0;
};

// A process launcher that knows whether a process it started still runs.
class TrackedLauncher : public platform::ProcessLauncher {
public:
    explicit TrackedLauncher(platform::ProcessLauncher& launcher) : launcher_(launcher) {}

    bool running() const { return !running_.empty(); }
    // Runs after each process started.
    std::function<void()> onStart;

    platform::ProcessHandle start(const std::string& commandLine, bool hidden) override {
        return startWith(commandLine, hidden, {});
    }
    platform::ProcessHandle startWith(const std::string& commandLine, bool hidden,
                                      const platform::Environment& environment) override {
        const platform::ProcessHandle h = launcher_.startWith(commandLine, hidden, environment);
        if (h != 0) running_.insert(h);
        if (onStart) onStart();
        return h;
    }
    void startDetached(const std::string& commandLine, bool hidden) override {
        launcher_.startDetached(commandLine, hidden);
    }
    platform::WaitResult poll(platform::ProcessHandle handle) override {
        const platform::WaitResult r = launcher_.poll(handle);
        if (r != platform::WaitResult::Running) running_.erase(handle);
        return r;
    }
    void close(platform::ProcessHandle handle) override {
        running_.erase(handle);
        launcher_.close(handle);
    }
    int exitCode(platform::ProcessHandle handle) override { return launcher_.exitCode(handle); }

private:
    platform::ProcessLauncher& launcher_;
    std::set<platform::ProcessHandle> running_;
};

}  // namespace testsupport
