// Runs Quillon's progress page on the real clock, with the program's own
// Qt pump, process launcher, spooler and sockets, from the page's start to
// the success box, and prints how long that took. Not part of any program.
//
//   quillon-progress-bench --folder PROGRAM-FOLDER (--file PATH | --tcp ADDRESS [--port PORT])
//
// Output: "success MS" or "failure MS" (milliseconds from the page's start
// to the success box or to the end of the run).

#include <QApplication>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "netcfg/core/PortSelect.h"
#include "netcfg/core/ProgressDlg.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/core/ReadSettings.h"
#include "platform/SystemPlatform.h"
#include "ui/Scripted.h"
#include "ui/qt/QtRuntime.h"

int main(int argc, char** argv) {
    std::string folder, file, address;
    int port = 9100;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--folder")
            folder = argv[i + 1];
        else if (option == "--file")
            file = argv[i + 1];
        else if (option == "--tcp")
            address = argv[i + 1];
        else if (option == "--port")
            port = std::atoi(argv[i + 1]);
    }
    if (folder.empty() || file.empty() == address.empty() || port <= 0 || port > 65535) {
        std::fputs(
            "usage: quillon-progress-bench --folder PROGRAM-FOLDER (--file PATH | --tcp ADDRESS [--port PORT])\n",
            stderr);
        return 2;
    }

    QApplication qapp(argc, argv);
    // Every box is answered at once with its default button; the success box
    // is the end of the measured span.
    ui::ScriptedMessageBox messages;
    ui::ScriptedFileDialog files;
    ui::QtRuntime run(messages, files);

    platform::SystemPlatform system(folder);
    netcfg::QuillonModule module(run.app, system.os, folder);
    module.PrinterPort = static_cast<std::uint16_t>(port);

    auto& ports = module.PortSelectForm();
    if (address.empty()) {
        ports.PortFile.setValue(true);
        ports.FileName.setText(file);
    } else {
        ports.PortTCP.setValue(true);
        ports.IPAddr.setText(address);
    }
    netcfg::BuildNicSettings(module);

    using Steady = std::chrono::steady_clock;
    std::optional<Steady::time_point> success;
    messages.onShow = [&](const ui::MessageRequest& box) {
        if (box.title == "Process Successful" && !success) success = Steady::now();
    };
    const auto start = Steady::now();
    module.ProgressDlgForm().show();
    run.pump.run();
    const auto end = success.value_or(Steady::now());
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count();
    std::printf("%s %lld\n", success ? "success" : "failure", static_cast<long long>(ms));
    return success ? 0 : 1;
}
