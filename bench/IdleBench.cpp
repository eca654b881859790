// Idle wake-ups of the wizards' first pages beside a bare Qt 6 window:
// Quillon's welcome page (the program itself), Marrowby's page 2 (the
// operation choice, reached with Next) and a bare window, each a process of
// its own, all idle at the same time; and Quillon's progress page in its
// status wait after a TCP send to a printer (this program, on loopback)
// that holds the bytes unacknowledged. After they have settled, the
// voluntary context switches of each main thread (/proc/PID/status) are
// counted over the same span. Fails when a wizard wakes more often than the
// limit per second (2 in the status wait) and more often than the bare
// window, or when the printer has taken every byte by the end.
//
//   idle_bench [SECONDS [LIMIT-PER-SECOND]]     (defaults: 10 s, 1; SECONDS at most 12,
//                                                as the status wait lasts 15 s)

#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>
#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "foundation/KAEIntro.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/ProgressDlg.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/core/ReadSettings.h"
#include "platform/RegistryViews.h"
#include "platform/SystemPlatform.h"
#include "platform/memory/MemoryRegistry.h"
#include "printercfg/core/MarrowbyModule.h"
#include "support/Loopback.h"
#include "support/ServerProcess.h"
#include "ui/Scripted.h"
#include "ui/qt/QtRuntime.h"
#include "ui/qt/QtServices.h"

namespace {

// Marrowby as its main() runs it (with the registry in memory), moved on
// to its second page.
int marrowby(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marrowby"));
    ui::QtMessageBox messages;
    ui::QtFileDialog files;
    ui::QtRuntime run(messages, files);
    const std::string folder = QUILL_BIN_DIR;
    platform::SystemPlatform system(folder);
    platform::MemoryRegistry store;
    platform::RegistryViews registry(store, system.spooler, folder);
    system.os.registryBackend = &registry;
    printercfg::MarrowbyModule module(run.app, system.os, folder);
    module.Main("");
    module.KAEIntroForm().Next.click();
    run.pump.run();
    return 0;
}

// Quillon's progress page sending its job over TCP to ADDRESS:PORT, as the
// program runs it from its finish page; its boxes are answered at once.
int statusWait(int argc, char** argv) {
    if (argc < 5) return 2;
    QApplication qapp(argc, argv);
    ui::ScriptedMessageBox messages;
    ui::ScriptedFileDialog files;
    ui::QtRuntime run(messages, files);
    const std::string folder = QUILL_BIN_DIR;
    platform::SystemPlatform system(folder);
    netcfg::QuillonModule module(run.app, system.os, folder);
    module.PrinterPort = static_cast<std::uint16_t>(std::atoi(argv[4]));
    auto& ports = module.PortSelectForm();
    ports.PortTCP.setValue(true);
    ports.IPAddr.setText(argv[3]);
    netcfg::BuildNicSettings(module);
    // Longer than what the printer takes unread: the commands over again.
    const std::string commands = module.NicCommands;
    while (module.NicCommands.size() < 4096) module.NicCommands += commands;
    module.ProgressDlgForm().show();
    run.pump.run();
    return 0;
}

int bare(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QWidget window;
    window.resize(480, 360);
    window.show();
    return QApplication::exec();
}

long long switches(const std::string& statusFile) {
    std::ifstream in(statusFile);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0) return std::atoll(line.c_str() + 24);
    return -1;
}

// The main thread's count, and the count of all threads.
struct Count {
    long long main = 0;
    long long all = 0;
};

// The bytes a connection has sent and not had acknowledged, as the kernel
// lists it in /proc/net/tcp by its two ends; -1 when it is not listed.
long unacknowledged(const sockaddr_in& local, const sockaddr_in& remote) {
    auto end = [](const sockaddr_in& a) {
        char text[16];
        std::snprintf(text, sizeof text, "%08X:%04X", a.sin_addr.s_addr, ntohs(a.sin_port));
        return std::string(text);
    };
    const std::string ends = end(local) + " " + end(remote);
    std::ifstream in("/proc/net/tcp");
    std::string line;
    while (std::getline(in, line)) {
        const auto at = line.find(ends);
        // "LOCAL REMOTE ST TX:RX ..."
        if (at != std::string::npos) return std::strtol(line.c_str() + at + ends.size() + 4, nullptr, 16);
    }
    return -1;
}

Count count(pid_t pid) {
    const std::string base = "/proc/" + std::to_string(pid);
    Count c{switches(base + "/status"), 0};
    if (DIR* dir = ::opendir((base + "/task").c_str())) {
        while (dirent* e = ::readdir(dir))
            if (e->d_name[0] != '.') c.all += switches(base + "/task/" + e->d_name + "/status");
        ::closedir(dir);
    }
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--page") == 0) {
        if (std::strcmp(argv[2], "marrowby") == 0) return marrowby(argc, argv);
        if (std::strcmp(argv[2], "bare") == 0) return bare(argc, argv);
        if (std::strcmp(argv[2], "status") == 0) return statusWait(argc, argv);
        return 2;
    }
    const int seconds = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 12) : 10;
    const double limit = argc > 2 ? std::atof(argv[2]) : 1.0;
    constexpr double StatusWaitLimit = 2.0;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);

    // The printer: it takes the connection and a little of the job, and
    // never reads.
    testsupport::LoopbackSocket printer(SOCK_STREAM);
    testsupport::holdUnread(printer.fd());
    if (::listen(printer.fd(), 1) != 0) {
        std::fputs("the printer does not listen\n", stderr);
        return 1;
    }

    struct Peer {
        const char* name;
        pid_t pid;
        Count before;
    };
    const std::string self = argv[0], quillon = std::string(QUILL_BIN_DIR) + "/Quillon";
    using testsupport::startServer;
    // The spooler calls of the status check go to a server that is not
    // there, so no queue of this machine is touched.
    const std::vector<std::pair<std::string, std::string>> noSpooler = {
        {"CUPS_SERVER", "/nonexistent/idle-bench-cupsd.sock"}};
    std::vector<Peer> peers = {
        {"bare Qt 6 window", startServer(self, {self, "--page", "bare"}, ""), {}},
        {"Quillon welcome page", startServer(quillon, {quillon}, ""), {}},
        {"Marrowby page 2", startServer(self, {self, "--page", "marrowby"}, ""), {}},
        {"Quillon status wait",
         startServer(self, {self, "--page", "status", printer.address(), std::to_string(printer.port())}, "",
                     noSpooler),
         {}}};
    const std::size_t statusPeer = 3;
    int connection = -1;
    auto stopAll = [&] {
        for (auto& p : peers) testsupport::stopServer(p.pid, std::chrono::seconds(5));
        if (connection >= 0) ::close(connection);
    };
    // A bench, not a test: real time passes while the programs start and idle.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    // The status wait begins with the job's first bytes.
    sockaddr_in client{};
    socklen_t length = sizeof client;
    pollfd call{printer.fd(), POLLIN, 0};
    if (::poll(&call, 1, 5000) == 1) connection = ::accept(printer.fd(), reinterpret_cast<sockaddr*>(&client), &length);
    pollfd job{connection, POLLIN, 0};
    if (connection < 0 || ::poll(&job, 1, 5000) != 1) {
        std::fputs("Quillon's progress page sent nothing\n", stderr);
        stopAll();
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    for (auto& p : peers) {
        if (::waitpid(p.pid, nullptr, WNOHANG) != 0) {
            std::fprintf(stderr, "%s ended at its start\n", p.name);
            stopAll();
            return 1;
        }
        p.before = count(p.pid);
    }
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    std::vector<double> rates;
    for (auto& p : peers) {
        const Count after = count(p.pid);
        const double main = static_cast<double>(after.main - p.before.main) / seconds;
        const double all = static_cast<double>(after.all - p.before.all) / seconds;
        std::printf("%-22s %6.2f wake-ups/s (all threads %6.2f) over %d s\n", p.name, main, all, seconds);
        rates.push_back(main);
    }
    const long held = unacknowledged(client, printer.where());
    const bool stillWaits = ::waitpid(peers[statusPeer].pid, nullptr, WNOHANG) == 0;
    std::printf("%-22s %6ld bytes unacknowledged at the end\n", "", held);
    stopAll();
    bool ok = held > 0 && stillWaits;
    for (std::size_t i = 1; i < rates.size(); ++i)
        ok = ok && (rates[i] <= (i == statusPeer ? StatusWaitLimit : limit) || rates[i] <= rates[0]);
    return ok ? 0 : 1;
}
