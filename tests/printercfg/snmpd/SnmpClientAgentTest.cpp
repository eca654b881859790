// The SNMP client of the progress page against real agents: Debian's snmpd
// as the fixture runs it, and the printer simulator for the replies snmpd
// never sends. The page waits on the virtual clock; each poll lets a
// millisecond of real time pass so the agent, a separate process, can answer.

#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/posix/PosixSockets.h"
#include "printercfg/core/ProgressDlg.h"
#include "support/MarrowbyWorld.h"
#include "support/PrinterSim.h"
#include "support/SnmpServer.h"

namespace {

struct AgentWorld {
    testsupport::MarrowbyWorld w;
    platform::PosixSockets sockets;

    explicit AgentWorld(std::uint16_t port) {
        w.os.socketFactory = &sockets;
        // The agent works in real time: each wait's poll lets a millisecond
        // pass for real, while the program's waits run on the virtual clock.
        w.clock.onSleep = [](std::uint32_t) { ::usleep(1000); };
        w.m.ProgressDlgForm().SnmpPort = port;
    }
    printercfg::ProgressDlg& page() { return w.m.ProgressDlgForm(); }
};

TEST(SnmpClientAgainstSnmpd, FrontPanelWrongCommunityAndDeadAgent) {
    testsupport::SnmpdOptions options;
    options.address = "127.7.1.1";
    options.line1 = "PAPER OUT";
    options.line2 = "LOAD MEDIA";
    testsupport::SnmpServer agent(options);
    AgentWorld a(agent.port());
    EXPECT_EQ(a.page().Get_SNMP_Status(agent.address()), "\tPAPER OUT\r\n\tLOAD MEDIA") << agent.log();

    testsupport::SnmpdOptions other = options;
    other.address = "127.7.1.3";
    other.community = "public";
    testsupport::SnmpServer stranger(other);
    a.page().SnmpPort = stranger.port();
    EXPECT_EQ(a.page().Get_SNMP_Status(stranger.address()), "");

    a.page().SnmpPort = agent.port();
    agent.stop();
    EXPECT_EQ(a.page().Get_SNMP_Status(agent.address()), "");
}

// The agent's error reply (noSuchName) for an object it does not hold.
TEST(SnmpClientAgainstSnmpd, AMissingObjectIsNoReply) {
    testsupport::SnmpdOptions options;
    options.address = "127.7.1.4";
    testsupport::SnmpServer agent(options);
    AgentWorld a(agent.port());
    a.page().snmpSend(agent.address(), "tamrel", "1.3.6.1.2.1.43.16.5.1.2.1.9", printercfg::SnmpGetRequest);
    int arrivals = 0;
    auto& socket = *a.page().pwSocket;
    socket.onDataArrival = [&, handler = socket.onDataArrival](std::size_t n) {
        ++arrivals;
        handler(n);
    };
    for (int i = 0; i < 3000 && arrivals == 0; ++i) {
        a.w.pump.doEvents();
        ::usleep(1000);  // the agent works in real time
    }
    EXPECT_EQ(arrivals, 1);
    EXPECT_FALSE(a.page().replyReceived());
    EXPECT_EQ(a.page().SnmpReplyText, "");
}

TEST(SnmpClientAgainstSimulator, BadRepliesBeforeTheGenuineOneAreDropped) {
    testsupport::PrinterSimOptions options;
    options.address = "127.7.1.5";
    options.line1 = "HEAD OPEN";
    options.line2 = "CLOSE HEAD";
    options.misreplies = {"malformed", "wrong-id", "wrong-oid", "error-status", "foreign-port", "foreign-address"};
    options.foreignAddress = "127.7.1.6";
    testsupport::PrinterSim sim(options);
    AgentWorld a(sim.udpPort());
    EXPECT_EQ(a.page().Get_SNMP_Status(sim.address()), "\tHEAD OPEN\r\n\tCLOSE HEAD");
}

TEST(SnmpClientAgainstSimulator, OnlyBadOrLateRepliesAreNoReply) {
    struct Case {
        const char* name;
        std::vector<std::string> misreplies;
        bool genuine;
        std::optional<unsigned> delayMs;
    };
    const Case cases[] = {
        {"only bad replies", {"malformed", "wrong-id", "wrong-oid", "error-status"}, false, std::nullopt},
        // 10 s of real time is far beyond the 5 s wait on the clock (well under 5 s of real time).
        {"late", {}, true, 10000},
    };
    for (const auto& c : cases) {
        testsupport::PrinterSimOptions options;
        options.address = "127.7.1.7";
        options.misreplies = c.misreplies;
        options.genuineReply = c.genuine;
        options.delayReplyMs = c.delayMs;
        testsupport::PrinterSim sim(options);
        AgentWorld a(sim.udpPort());
        EXPECT_FALSE(a.page().IsCorvasil(sim.address())) << c.name;
        EXPECT_EQ(a.page().Get_SNMP_Status(sim.address()), "") << c.name;
    }
}

}  // namespace
