// Times one front-panel query against snmpd: the wizard's SNMP client in
// process (request sent through the datagram socket, the wait on the Qt
// pump, reply decoded on the progress page) beside net-snmp's snmpget for
// the same object, in one run. Prints the medians and their ratio; fails
// when the ratio is above the limit.
//
//   snmp_panel_bench [ROUNDS [MAX-RATIO]]     (defaults: 50 rounds, 0.05)

#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/RegistryViews.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySpooler.h"
#include "platform/posix/PosixSockets.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/core/ProgressDlg.h"
#include "support/FakeProcesses.h"
#include "support/PrinterSim.h"
#include "support/SnmpServer.h"
#include "support/TempDir.h"
#include "ui/Scripted.h"
#include "ui/qt/QtRuntime.h"

namespace {

using Clock = std::chrono::steady_clock;
const char* const Line1 = "1.3.6.1.2.1.43.16.5.1.2.1.1";

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const double maxRatio = argc > 2 ? std::atof(argv[2]) : 0.05;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);

    testsupport::SnmpdOptions options;  // on a random loopback address
    options.line1 = "PAPER OUT";
    testsupport::SnmpServer agent(options);

    // Marrowby as the program runs it: the real clock, the Qt pump and real
    // sockets; the rest of the system stays in memory.
    ui::ScriptedMessageBox messages;
    ui::ScriptedFileDialog files;
    ui::QtRuntime run(messages, files);
    testsupport::TempDir folder;
    testsupport::FakeProcesses processes;
    platform::MemorySpooler spooler;
    platform::MemoryRegistry store;
    platform::RegistryViews registry{store, spooler, folder.str()};
    platform::PosixSockets sockets;
    platform::Platform os{.processLauncher = &processes,
                          .spoolerBackend = &spooler,
                          .registryBackend = &registry,
                          .socketFactory = &sockets};
    printercfg::MarrowbyModule m{run.app, os, folder.str()};
    printercfg::ProgressDlg& page = m.ProgressDlgForm();
    page.SnmpPort = agent.port();

    // Ours first, then snmpget: a process started from this one would leave
    // its pages to be copied on the next write, which the program never pays.
    std::vector<double> ours, theirs;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        page.snmpSend(agent.address(), "tamrel", Line1, printercfg::SnmpGetRequest);
        // The page's own wait: the pump takes the reply in as it arrives.
        const std::uint32_t start = run.clock.milliseconds();
        const std::uint32_t limit = 2000;
        while (!page.replyReceived() && run.clock.milliseconds() - start < limit) {
            run.app.doEvents();
            if (page.replyReceived()) break;
            const std::uint32_t elapsed = run.clock.milliseconds() - start;
            run.app.idle(printercfg::ProgressDlg::PollMs, elapsed < limit ? limit - elapsed : 0);
        }
        ours.push_back(msSince(t0));
        if (page.SnmpReplyText != "PAPER OUT") {
            std::fprintf(stderr, "our client got \"%s\"\n", page.SnmpReplyText.c_str());
            return 1;
        }
    }
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        auto r = testsupport::runProgram("/usr/bin/snmpget", {"-m", "", "-v1", "-c", "tamrel", "-On", "-Oqv", "-r", "0",
                                                              "-t", "2", agent.agent(), Line1});
        theirs.push_back(msSince(t0));
        if (r.exitCode != 0 || r.out != "\"PAPER OUT\"\n") {
            std::fprintf(stderr, "snmpget: %d %s%s\n", r.exitCode, r.out.c_str(), r.err.c_str());
            return 1;
        }
    }
    const double a = median(ours), b = median(theirs);
    std::printf("front-panel query, median of %d: ours %.3f ms, snmpget %.3f ms (ours / snmpget = %.3f, limit %.3f)\n",
                rounds, a, b, a / b, maxRatio);
    return a <= b * maxRatio ? 0 : 1;
}
