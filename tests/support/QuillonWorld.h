#pragma once
// A headless Quillon for tests: virtual clock, scripted boxes, recorded
// process starts and a temporary program folder.

#include "netcfg/core/QuillonModule.h"
#include "platform/Platform.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"
#include "support/UiWorld.h"
#include "ui/Clocks.h"
#include "ui/Scripted.h"
#include "ui/VirtualPump.h"

namespace testsupport {

struct QuillonWorld : UiWorld {
    FakeProcesses processes;
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = nullptr};
    TempDir folder;
    netcfg::QuillonModule q{app, os, folder.str()};

    std::string log() const { return readFile(folder.file("Log.txt")); }
};

}  // namespace testsupport
