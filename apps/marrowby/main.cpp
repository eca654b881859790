// Marrowby: the printer configuration wizard of the label printers.

#include <QApplication>
#include <string>

#include "platform/LongCall.h"
#include "platform/Process.h"
#include "platform/RegistryViews.h"
#include "platform/SystemPlatform.h"
#include "platform/posix/FileRegistry.h"
#include "printercfg/core/MarrowbyModule.h"
#include "ui/qt/QtRuntime.h"
#include "ui/qt/QtServices.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marrowby"));

    ui::QtMessageBox messages;
    ui::QtFileDialog files;
    ui::QtRuntime run(messages, files);
    // A call that may block the windows shows the wait cursor meanwhile.
    platform::setLongCallHook({ui::showWaitCursor, ui::restoreCursor});

    const std::string folder = platform::programFolder();
    platform::SystemPlatform system(folder);
    platform::FileRegistry store(platform::FileRegistry::defaultCurrentUserFile(),
                                 platform::FileRegistry::defaultLocalMachineFile(),
                                 platform::FileRegistry::mayWriteMachine());
    platform::RegistryViews registry(store, system.spooler, folder);
    system.os.registryBackend = &registry;
    printercfg::MarrowbyModule module(run.app, system.os, folder);

    module.Main(foundation::CommandLine(argc, argv));
    run.pump.run();
    return 0;
}
