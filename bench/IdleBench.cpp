// Idle wake-ups of the wizards' first pages beside a bare Qt 6 window:
// Quillon's welcome page (the program itself), Marrowby's page 2 (the
// operation choice, reached with Next) and a bare window, each a process of
// its own, all idle at the same time. After they have settled, the voluntary
// context switches of each main thread (/proc/PID/status) are counted over
// the same span. Fails when a wizard wakes more often than the limit per
// second and more often than the bare window.
//
//   idle_bench [SECONDS [LIMIT-PER-SECOND]]     (defaults: 10 s, 1)

#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>
#include <QApplication>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "foundation/KAEIntro.h"
#include "platform/RegistryViews.h"
#include "platform/SystemPlatform.h"
#include "platform/memory/MemoryRegistry.h"
#include "printercfg/core/MarrowbyModule.h"
#include "support/ServerProcess.h"
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
        return 2;
    }
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const double limit = argc > 2 ? std::atof(argv[2]) : 1.0;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);

    struct Peer {
        const char* name;
        pid_t pid;
        Count before;
    };
    const std::string self = argv[0], quillon = std::string(QUILL_BIN_DIR) + "/Quillon";
    using testsupport::startServer;
    std::vector<Peer> peers = {{"bare Qt 6 window", startServer(self, {self, "--page", "bare"}, ""), {}},
                               {"Quillon welcome page", startServer(quillon, {quillon}, ""), {}},
                               {"Marrowby page 2", startServer(self, {self, "--page", "marrowby"}, ""), {}}};
    auto stopAll = [&] {
        for (auto& p : peers) testsupport::stopServer(p.pid, std::chrono::seconds(5));
    };
    // A bench, not a test: real time passes while the programs start and idle.
    std::this_thread::sleep_for(std::chrono::seconds(1));
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
    stopAll();
    bool ok = true;
    for (std::size_t i = 1; i < rates.size(); ++i) ok = ok && (rates[i] <= limit || rates[i] <= rates[0]);
    return ok ? 0 : 1;
}
