// Times one front-panel query against snmpd: the wizard's SNMP client
// (request sent through the datagram socket, reply decoded on the progress
// page) side by side with net-snmp's snmpget for the same object. Prints the
// medians; fails when ours takes more than half as long as snmpget.
//
//   snmp_panel_bench [rounds]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/posix/PosixSockets.h"
#include "printercfg/core/ProgressDlg.h"
#include "support/MarrowbyWorld.h"
#include "support/PrinterSim.h"
#include "support/SnmpServer.h"

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
    testsupport::SnmpdOptions options;
    options.address = "127.7.2.1";
    options.line1 = "PAPER OUT";
    testsupport::SnmpServer agent(options);

    testsupport::MarrowbyWorld w;
    platform::PosixSockets sockets;
    w.os.socketFactory = &sockets;
    printercfg::ProgressDlg& page = w.m.ProgressDlgForm();
    page.SnmpPort = agent.port();

    std::vector<double> ours, theirs;
    for (int i = 0; i < rounds; ++i) {
        auto t0 = Clock::now();
        page.snmpSend(agent.address(), "tamrel", Line1, printercfg::SnmpGetRequest);
        // The pump takes the reply in as it arrives; give up after 2 s.
        while (!page.replyReceived() && msSince(t0) < 2000) w.pump.doEvents();
        const double elapsed = msSince(t0);
        if (page.SnmpReplyText != "PAPER OUT") {
            std::fprintf(stderr, "our client got \"%s\"\n", page.SnmpReplyText.c_str());
            return 1;
        }
        ours.push_back(elapsed);

        t0 = Clock::now();
        auto r = testsupport::runProgram("/usr/bin/snmpget", {"-m", "", "-v1", "-c", "tamrel", "-On", "-Oqv", "-r", "0",
                                                              "-t", "2", agent.agent(), Line1});
        theirs.push_back(msSince(t0));
        if (r.exitCode != 0 || r.out != "\"PAPER OUT\"\n") {
            std::fprintf(stderr, "snmpget: %d %s%s\n", r.exitCode, r.out.c_str(), r.err.c_str());
            return 1;
        }
    }
    const double a = median(ours), b = median(theirs);
    std::printf("front-panel query, median of %d: ours %.3f ms, snmpget %.3f ms (ours / snmpget = %.3f)\n", rounds, a,
                b, a / b);
    return a <= b / 2 ? 0 : 1;
}
