#pragma once
// A headless Quillon for tests: virtual clock, scripted boxes, recorded
// process starts, the in-memory spooler and network, a temporary program
// folder and a temporary current directory, where the port lister's
// stand-in writes "ports.txt".

#include <optional>
#include <string>

#include "netcfg/core/QuillonModule.h"
#include "platform/Platform.h"
#include "platform/memory/MemorySockets.h"
#include "platform/memory/MemorySpooler.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"
#include "support/UiWorld.h"
#include "ui/Clocks.h"
#include "ui/Scripted.h"
#include "ui/VirtualPump.h"

namespace testsupport {

struct QuillonWorld : UiWorld {
    FakeProcesses processes;
    platform::MemorySpooler spooler;
    platform::MemoryNetwork network;
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = &spooler, .socketFactory = &network};
    TempDir folder;
    TempDir work;
    CurrentDirectory inWork{work.path()};
    // What the port lister writes as "ports.txt"; nothing: it writes no file.
    std::optional<std::string> ports = std::string("LPT1:\r\nFILE:\r\n");
    netcfg::QuillonModule q{app, os, folder.str()};

    // `counter`: where the clock's millisecond counter starts.
    explicit QuillonWorld(std::uint32_t counter = 1000) : UiWorld(counter) {
        processes.program("quenmora", [this](const std::string&) {
            if (ports) writeFile("ports.txt", *ports);
        });
    }

    std::string log() const { return readFile(folder.file("Log.txt")); }
};

}  // namespace testsupport
