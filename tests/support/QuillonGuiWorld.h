#pragma once
// Quillon with its pages as Qt windows, for the gui tests: the forms layer on
// a virtual clock (the real one with RealTimeGuiWorld) with scripted boxes,
// recorded process starts, no spooler, a temporary program folder and a
// temporary current directory, where the port lister's stand-in writes
// "ports.txt". Made after the QApplication.

#include <memory>
#include <optional>
#include <string>

#include "netcfg/core/QuillonModule.h"
#include "platform/Platform.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"
#include "ui/qt/GuiWorld.h"

namespace testsupport {

template <class World = guitest::GuiWorld>
struct BasicQuillonGuiWorld {
    BasicQuillonGuiWorld() {
        processes.program("quenmora", [this](const std::string&) {
            if (listedPorts) writeFile("ports.txt", *listedPorts);
        });
    }
    ~BasicQuillonGuiWorld() {
        module.reset();
        world.reset();
        guitest::flushDeletes();
    }
    BasicQuillonGuiWorld(const BasicQuillonGuiWorld&) = delete;
    BasicQuillonGuiWorld& operator=(const BasicQuillonGuiWorld&) = delete;

    FakeProcesses processes;
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = nullptr};
    TempDir folder;
    TempDir work;
    CurrentDirectory inWork{work.path()};
    // What the port lister writes as "ports.txt"; nothing: it writes no file.
    std::optional<std::string> listedPorts;
    std::unique_ptr<World> world = std::make_unique<World>();
    std::unique_ptr<netcfg::QuillonModule> module =
        std::make_unique<netcfg::QuillonModule>(world->app, os, folder.str());
};

using QuillonGuiWorld = BasicQuillonGuiWorld<>;

}  // namespace testsupport
