#pragma once
// Starting another program and waiting for it while the pages stay alive.

#include <cstdint>
#include <string>

#include "platform/Process.h"
#include "ui/Application.h"

namespace foundation {

class RunProgram {
public:
    RunProgram(ui::Application& app, platform::ProcessLauncher& processes) : app_(app), processes_(processes) {}

    // The command line is the program, then args in double quotes unless blank.
    platform::ProcessHandle StartProcess(const std::string& program, const std::string& args);
    // True while the process runs; closes the handle and clears it once it ended.
    bool IsProcessRunning(platform::ProcessHandle& handle);
    // Runs the command line and polls every 100 ms, keeping the events going.
    // True when the process ran to its end within the time-out.
    bool RunAndWait(const std::string& commandLine, std::string& errorText, std::int32_t timeoutMs);

    static constexpr std::uint32_t PollMs = 100;
    // The error text of a wait that ran out of time.
    static constexpr const char* TimedOut = "The process has timed out.";

private:
    ui::Application& app_;
    platform::ProcessLauncher& processes_;
};

}  // namespace foundation
