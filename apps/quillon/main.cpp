// Quillon: the network-interface wizard of the label printers.

#include <QApplication>
#include <string>

#include "netcfg/core/QuillonModule.h"
#include "platform/LongCall.h"
#include "platform/Process.h"
#include "platform/SystemPlatform.h"
#include "ui/qt/QtRuntime.h"
#include "ui/qt/QtServices.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));

    ui::QtMessageBox messages;
    ui::QtFileDialog files;
    ui::QtRuntime run(messages, files);
    // A call that may block the windows shows the wait cursor meanwhile.
    platform::setLongCallHook({ui::showWaitCursor, ui::restoreCursor});

    const std::string folder = platform::programFolder();
    platform::SystemPlatform system(folder);
    netcfg::QuillonModule module(run.app, system.os, folder);

    module.Main(foundation::CommandLine(argc, argv));
    run.pump.run();
    return 0;
}
