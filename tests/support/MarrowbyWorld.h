#pragma once
// A headless Marrowby for tests: virtual clock, scripted boxes, recorded
// process starts, an in-memory spooler and registry store with the system
// views, and a temporary program folder.

#include <sys/stat.h>

#include "platform/Platform.h"
#include "platform/RegistryViews.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySpooler.h"
#include "printercfg/core/MarrowbyModule.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"
#include "support/UiWorld.h"

namespace testsupport {

struct MarrowbyWorld : UiWorld {
    FakeProcesses processes;
    platform::MemorySpooler spooler;
    platform::MemoryRegistry store;
    TempDir folder;
    platform::RegistryViews registry{store, spooler, folder.str()};
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = &spooler, .registryBackend = &registry};
    printercfg::MarrowbyModule m{app, os, folder.str()};

    std::string log() const { return readFile(folder.file("Log.txt")); }

    // An executable file in the program folder.
    std::string addProgram(const std::string& name) {
        const std::string path = folder.file(name);
        writeFile(path, "#!/bin/sh\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
};

}  // namespace testsupport
