// Marrowby: the printer configuration wizard of the label printers.

#include <QApplication>
#include <string>

#include "platform/Platform.h"
#include "platform/RegistryViews.h"
#include "platform/cups/CupsSpooler.h"
#include "platform/posix/FileRegistry.h"
#include "platform/posix/PosixProcess.h"
#include "platform/posix/PosixSockets.h"
#include "printercfg/core/MarrowbyModule.h"
#include "ui/Application.h"
#include "ui/Clocks.h"
#include "ui/qt/QtPump.h"
#include "ui/qt/QtServices.h"
#include "ui/qt/QtView.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marrowby"));

    ui::SystemClock clock;
    ui::QtMessageBox messages;
    ui::QtFileDialog files;
    ui::Application app(messages, files, clock);
    ui::QtPump pump(app);
    ui::QtViewFactory views;
    app.setViews(&views);

    const std::string folder = platform::programFolder();
    platform::PosixProcessLauncher launcher(folder);
    // The CUPS server the environment names, as every CUPS client does.
    platform::CupsSpooler spooler;
    platform::FileRegistry store(platform::FileRegistry::defaultCurrentUserFile(),
                                 platform::FileRegistry::defaultLocalMachineFile(),
                                 platform::FileRegistry::mayWriteMachine());
    platform::RegistryViews registry(store, spooler, folder);
    platform::PosixSockets sockets;
    platform::Platform os{.processLauncher = &launcher,
                          .spoolerBackend = &spooler,
                          .registryBackend = &registry,
                          .socketFactory = &sockets};
    printercfg::MarrowbyModule module(app, os, folder);

    // The command line as one string, the arguments joined by single blanks.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    module.Main(commandLine);
    pump.run();
    return 0;
}
