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
    void startDetached(const std::string& commandLine, bool hidden) override;
    WaitResult poll(ProcessHandle handle) override;
    void close(ProcessHandle handle) override;

private:
    std::string folder_;
    std::map<ProcessHandle, bool> ended_;
};

}  // namespace platform
