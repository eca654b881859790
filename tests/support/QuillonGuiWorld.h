#pragma once
// Quillon with its pages as Qt windows, for the gui tests: the forms layer on
// a virtual clock with scripted boxes, recorded process starts, no spooler,
// a temporary program folder and a temporary current directory, where the
// port lister's stand-in writes "ports.txt". Made after the QApplication.

#include <memory>
#include <optional>
#include <string>

#include "netcfg/core/QuillonModule.h"
#include "platform/Platform.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"
#include "ui/qt/GuiWorld.h"

namespace testsupport {

struct QuillonGuiWorld {
    QuillonGuiWorld() {
        processes.program("quenmora", [this](const std::string&) {
            if (listedPorts) writeFile("ports.txt", *listedPorts);
        });
    }
    ~QuillonGuiWorld() {
        module.reset();
        world.reset();
        guitest::flushDeletes();
    }
    QuillonGuiWorld(const QuillonGuiWorld&) = delete;
    QuillonGuiWorld& operator=(const QuillonGuiWorld&) = delete;

    FakeProcesses processes;
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = nullptr};
    TempDir folder;
    TempDir work;
    CurrentDirectory inWork{work.path()};
    // What the port lister writes as "ports.txt"; nothing: it writes no file.
    std::optional<std::string> listedPorts;
    std::unique_ptr<guitest::GuiWorld> world = std::make_unique<guitest::GuiWorld>();
    std::unique_ptr<netcfg::QuillonModule> module =
        std::make_unique<netcfg::QuillonModule>(world->app, os, folder.str());
};

}  // namespace testsupport
