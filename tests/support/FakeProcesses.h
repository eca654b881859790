#pragma once
// A process launcher that records command lines; started processes run until
// the test ends them, except stand-in programs, which run at once.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Process.h"

namespace testsupport {

class FakeProcesses : public platform::ProcessLauncher {
public:
    struct Start {
        std::string commandLine;
        bool hidden;
        bool detached;
        platform::Environment environment = {};
    };

    platform::ProcessHandle start(const std::string& commandLine, bool hidden) override {
        return startWith(commandLine, hidden, {});
    }
    platform::ProcessHandle startWith(const std::string& commandLine, bool hidden,
                                      const platform::Environment& environment) override {
        starts.push_back({commandLine, hidden, false, environment});
        if (failStarts) return 0;
        platform::ProcessHandle h = next_++;
        state_[h] = platform::WaitResult::Running;
        for (const auto& name : hanging_)
            if (commandLine.find(name) != std::string::npos) return h;
        for (const auto& [name, run] : programs_) {
            if (commandLine.find(name) == std::string::npos) continue;
            run(commandLine);
            state_[h] = platform::WaitResult::Ended;
            break;
        }
        for (const auto& [name, code] : exitCodes_)
            if (commandLine.find(name) != std::string::npos) codes_[h] = code;
        return h;
    }
    void startDetached(const std::string& commandLine, bool hidden) override {
        starts.push_back({commandLine, hidden, true});
    }
    platform::WaitResult poll(platform::ProcessHandle handle) override {
        ++polls;
        auto it = state_.find(handle);
        return it == state_.end() ? platform::WaitResult::Failed : it->second;
    }
    void close(platform::ProcessHandle handle) override {
        closed.push_back(handle);
        state_.erase(handle);
    }
    int exitCode(platform::ProcessHandle handle) override {
        const auto state = state_.find(handle);
        if (state == state_.end() || state->second != platform::WaitResult::Ended) return -1;
        const auto code = codes_.find(handle);
        return code == codes_.end() ? 0 : code->second;
    }

    void end(platform::ProcessHandle h) { state_[h] = platform::WaitResult::Ended; }
    void lose(platform::ProcessHandle h) { state_[h] = platform::WaitResult::Failed; }
    platform::ProcessHandle last() const { return next_ - 1; }
    // A stand-in program: a started command line holding `name` runs `run`
    // in its place, and the process has ended when start() returns.
    void program(std::string name, std::function<void(const std::string& commandLine)> run) {
        programs_[std::move(name)] = std::move(run);
    }

    // A started command line holding `name` runs until the test ends it,
    // a stand-in program of that name included.
    void hang(std::string name) { hanging_.push_back(std::move(name)); }
    // A started command line holding `name` exits with `code` (0 unless said).
    void exitWith(std::string name, int code) { exitCodes_[std::move(name)] = code; }

    std::vector<Start> starts;
    std::vector<platform::ProcessHandle> closed;
    int polls = 0;
    bool failStarts = false;

private:
    platform::ProcessHandle next_ = 100;
    std::map<platform::ProcessHandle, platform::WaitResult> state_;
    std::map<std::string, std::function<void(const std::string&)>> programs_;
    std::vector<std::string> hanging_;
    std::map<std::string, int> exitCodes_;
    std::map<platform::ProcessHandle, int> codes_;
};

}  // namespace testsupport
