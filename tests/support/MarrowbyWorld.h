#pragma once
// A headless Marrowby for tests: virtual clock, scripted boxes, recorded
// process starts, an in-memory spooler, registry store with the system
// views and network, and a temporary program folder.

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/RegistryViews.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySockets.h"
#include "platform/memory/MemorySpooler.h"
#include "printercfg/core/MarrowbyModule.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"
#include "support/UiWorld.h"

namespace testsupport {

// A printer command block as the program sends it: "!VMD_SETUP", the lines,
// "VMD_END", each ending with CR LF.
inline std::string setupBlock(const std::vector<std::string>& lines) {
    std::string s = "!VMD_SETUP\r\n";
    for (const auto& l : lines) s += l + "\r\n";
    return s + "VMD_END\r\n";
}

struct MarrowbyWorld : UiWorld {
    // `subfolder`: the program folder is this folder of the temporary one.
    explicit MarrowbyWorld(const std::string& subfolder = {})
        : programFolder(subfolder.empty() ? folder.str() : folder.file(subfolder)) {
        std::filesystem::create_directories(programFolder);
    }

    FakeProcesses processes;
    platform::MemorySpooler spooler;
    platform::MemoryNetwork network;
    platform::MemoryRegistry store;
    TempDir folder;
    std::string programFolder;
    platform::RegistryViews registry{store, spooler, programFolder};
    platform::Platform os{.processLauncher = &processes,
                          .spoolerBackend = &spooler,
                          .registryBackend = &registry,
                          .socketFactory = &network};
    printercfg::MarrowbyModule m{app, os, programFolder};

    std::string log() const { return readFile(programFolder + "/Log.txt"); }

    // An executable file in the program folder.
    std::string addProgram(const std::string& name) {
        const std::string path = programFolder + "/" + name;
        writeFile(path, "#!/bin/sh\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
};

}  // namespace testsupport
