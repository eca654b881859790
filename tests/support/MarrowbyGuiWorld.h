#pragma once
// Marrowby with its pages as Qt windows, for the gui tests: the forms layer
// on a virtual clock (the real one with RealTimeGuiWorld) with scripted
// boxes, recorded process starts, an in-memory spooler, registry store with
// the system views and network, and a program folder that does not exist.
// Made after the QApplication.

#include <QTest>
#include <memory>

#include "platform/Platform.h"
#include "platform/RegistryViews.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySockets.h"
#include "platform/memory/MemorySpooler.h"
#include "printercfg/core/MarrowbyModule.h"
#include "support/FakeProcesses.h"
#include "ui/qt/GuiWorld.h"

namespace testsupport {

template <class World = guitest::GuiWorld>
struct BasicMarrowbyGuiWorld {
    static constexpr const char* ProgramFolder = "/nonexistent-program-folder";

    BasicMarrowbyGuiWorld() = default;
    ~BasicMarrowbyGuiWorld() {
        m.reset();
        world.reset();
        guitest::flushDeletes();
    }
    BasicMarrowbyGuiWorld(const BasicMarrowbyGuiWorld&) = delete;
    BasicMarrowbyGuiWorld& operator=(const BasicMarrowbyGuiWorld&) = delete;

    // An office printer and two of ours (6 inches, and 8 inches at 300 dpi);
    // the 6-inch one is the default.
    void addPrinters() {
        spooler.addQueue("Office", "Generic / Text Only");
        spooler.addQueue("Shipping Labels", "Tessivarn 7391-Q25 006");
        spooler.addQueue("Warehouse 300 dpi", "Tessivarn 7391-Q25 008 300");
        spooler.setDefaultQueue("Shipping Labels");
    }
    static void click(const ui::Control& c) { QTest::mouseClick(ui::widgetOf(c), Qt::LeftButton); }

    std::unique_ptr<World> world = std::make_unique<World>();
    FakeProcesses processes;
    platform::MemorySpooler spooler;
    platform::MemoryRegistry store;
    platform::MemoryNetwork network;
    platform::RegistryViews registry{store, spooler, ProgramFolder};
    platform::Platform os{.processLauncher = &processes,
                          .spoolerBackend = &spooler,
                          .registryBackend = &registry,
                          .socketFactory = &network};
    std::unique_ptr<printercfg::MarrowbyModule> m =
        std::make_unique<printercfg::MarrowbyModule>(world->app, os, ProgramFolder);
};

using MarrowbyGuiWorld = BasicMarrowbyGuiWorld<>;

}  // namespace testsupport
