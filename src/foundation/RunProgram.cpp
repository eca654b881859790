#include "foundation/RunProgram.h"

#include <exception>

#include "platform/ServerDeadline.h"

namespace foundation {

namespace {
std::string trim(const std::string& s) {
    auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}
}  // namespace

platform::ProcessHandle RunProgram::StartProcess(const std::string& program, const std::string& args) {
    std::string line = program;
    if (!trim(args).empty()) line += " \"" + args + "\"";
    return processes_.start(line, false);
}

bool RunProgram::IsProcessRunning(platform::ProcessHandle& handle) {
    if (handle == 0) return false;
    // A process that can no longer be waited for counts as ended.
    if (processes_.poll(handle) != platform::WaitResult::Running) {
        processes_.close(handle);
        handle = 0;
        return false;
    }
    return true;
}

bool RunProgram::RunAndWait(const std::string& commandLine, std::string& errorText, std::int32_t timeoutMs) {
    int exitCode = -1;
    return RunAndWait(commandLine, errorText, timeoutMs, {}, exitCode);
}

bool RunProgram::RunAndWait(const std::string& commandLine, std::string& errorText, std::int32_t timeoutMs,
                            const platform::Environment& environment, int& exitCode) {
    exitCode = -1;
    try {
        platform::ProcessHandle handle =
            environment.empty() ? StartProcess(commandLine, "") : processes_.startWith(commandLine, false, environment);
        if (handle == 0) {
            errorText = "The program could not be started.";
            return false;
        }
        const std::uint32_t t0 = app_.clock().milliseconds();
        for (;;) {
            app_.doEvents();
            app_.idle(PollMs, PollMs);
            // Unsigned difference: a wrap of the counter does not upset the wait.
            const std::uint32_t elapsed = app_.clock().milliseconds() - t0;
            if (timeoutMs >= 0 && elapsed > static_cast<std::uint32_t>(timeoutMs)) {
                errorText = TimedOut;
                return false;
            }
            if (processes_.poll(handle) == platform::WaitResult::Running) continue;
            // A process that can no longer be waited for counts as ended.
            exitCode = processes_.exitCode(handle);
            processes_.close(handle);
            return true;
        }
    } catch (const std::exception& e) {
        errorText = e.what();
        return false;
    }
}

bool RunProgram::RunServerProgram(const std::string& commandLine, platform::Spooler& spooler, std::string& errorText) {
    if (spooler.silentInAction()) return false;
    const std::chrono::milliseconds limit = spooler.timeLimit();
    int exitCode = -1;
    const bool ended = RunAndWait(commandLine, errorText, static_cast<std::int32_t>(limit.count()) + ServerProgramEndMs,
                                  {platform::serverDeadline(limit)}, exitCode);
    if ((!ended && errorText == TimedOut) || exitCode == platform::ServerSilentExit) {
        spooler.noteSilence();
        return false;
    }
    return true;
}

}  // namespace foundation
