#pragma once
// The backends of a program on this system (library quill_platform_cups):
// processes started from the program folder, the CUPS server the environment
// names, as every CUPS client does, and real sockets. A program that reads
// the registry adds its backend to `os`.

#include <string>

#include "platform/Platform.h"
#include "platform/cups/CupsSpooler.h"
#include "platform/posix/PosixProcess.h"
#include "platform/posix/PosixSockets.h"

namespace platform {

struct SystemPlatform {
    explicit SystemPlatform(const std::string& programFolder) : launcher(programFolder) {}
    SystemPlatform(const SystemPlatform&) = delete;
    SystemPlatform& operator=(const SystemPlatform&) = delete;

    PosixProcessLauncher launcher;
    CupsSpooler spooler;
    PosixSockets sockets;
    Platform os{.processLauncher = &launcher, .spoolerBackend = &spooler, .socketFactory = &sockets};
};

}  // namespace platform
