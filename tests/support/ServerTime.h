#pragma once
// Real time for the servers beside a test whose program waits on the
// virtual clock. cupsd, its backends and the programs the wizard starts
// work in real time; a sleep of a wait lets a tenth of its length pass for
// real (at least a millisecond) only while one of them still has work, and
// none once they are idle.

#include <poll.h>

#include <algorithm>
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
    // `busy`: whether a server still has work; asked at most once per
    // RecheckMs of virtual time.
    ServerTime(ui::VirtualClock& clock, std::function<bool()> busy) : clock_(clock), busy_(std::move(busy)) {}

    static constexpr std::uint64_t RecheckMs = 50;

    // A wait of `ms` on the virtual clock: a tenth of it in real time while
    // a server is busy.
    void pass(std::uint32_t ms) {
        if (clock_.elapsed() >= askAgain_) {
            busyNow_ = busy_();
            askAgain_ = clock_.elapsed() + RecheckMs;
        }
        if (busyNow_) ::poll(nullptr, 0, static_cast<int>(std::max<std::uint32_t>(ms / 10, 1)));
    }
    // Every sleep of the clock is such a wait.
    void onEverySleep() {
        clock_.onSleep = [this](std::uint32_t ms) { pass(ms); };
    }

private:
    ui::VirtualClock& clock_;
    std::function<bool()> busy_;
    bool busyNow_ = false;
    std::uint64_t askAgain_ = 0;
};

// A process launcher that knows whether a process it started still runs.
class TrackedLauncher : public platform::ProcessLauncher {
public:
    explicit TrackedLauncher(platform::ProcessLauncher& launcher) : launcher_(launcher) {}

    bool running() const { return !running_.empty(); }

    platform::ProcessHandle start(const std::string& commandLine, bool hidden) override {
        const platform::ProcessHandle h = launcher_.start(commandLine, hidden);
        if (h != 0) running_.insert(h);
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

private:
    platform::ProcessLauncher& launcher_;
    std::set<platform::ProcessHandle> running_;
};

}  // namespace testsupport
