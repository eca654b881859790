#pragma once
#include <sys/types.h>
#include <map>
#include <vector>

#include "platform/Process.h"

namespace platform {

class PosixProcessLauncher : public ProcessLauncher {
public:
    explicit PosixProcessLauncher(std::string programFolder);
    ProcessHandle start(const std::string& commandLine, bool hidden) override;
    ProcessHandle startWith(const std::string& commandLine, bool hidden, const Environment& environment) override;
    void startDetached(const std::string& commandLine, bool hidden) override;
    WaitResult poll(ProcessHandle handle) override;
    void close(ProcessHandle handle) override;
    int exitCode(ProcessHandle handle) override;

private:
    std::string folder_;
    // Processes ended and not yet closed, with their exit codes.
    std::map<ProcessHandle, int> ended_;
};

}  // namespace platform
