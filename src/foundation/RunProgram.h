#pragma once
// Starting another program and waiting for it while the pages stay alive.

#include <cstdint>
#include <string>

#include "platform/Process.h"
#include "platform/Spooler.h"
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
    // The same with `environment` added to the program's; `exitCode` gets its
    // exit code once it ended (-1 when not known).
    bool RunAndWait(const std::string& commandLine, std::string& errorText, std::int32_t timeoutMs,
                    const platform::Environment& environment, int& exitCode);

    // A program that works on the print server for the wizard, run as a wait
    // on the server: not started once the server was silent in this action;
    // given the spooler's time limit as its deadline and waited for that
    // long (and a moment to end). One that found the server silent, or did
    // not end in that time, leaves the server silent for the rest of the
    // action. False when the server was silent.
    bool RunServerProgram(const std::string& commandLine, platform::Spooler& spooler, std::string& errorText);

    static constexpr std::uint32_t PollMs = 100;
    // The error text of a wait that ran out of time.
    static constexpr const char* TimedOut = "The process has timed out.";
    // How long a program working on the print server may take to end after its deadline.
    static constexpr std::int32_t ServerProgramEndMs = 1000;

private:
    ui::Application& app_;
    platform::ProcessLauncher& processes_;
};

}  // namespace foundation
