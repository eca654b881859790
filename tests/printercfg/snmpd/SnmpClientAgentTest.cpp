// The SNMP client of the progress page against real agents: Debian's snmpd
// as the fixture runs it, the printer simulator for the replies snmpd never
// sends, and an agent of the test's own for replies that come late. The
// page waits on the virtual clock; the agents answer in real time.

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <vector>

#include "platform/posix/PosixSockets.h"
#include "printercfg/core/ProgressDlg.h"
#include "support/Loopback.h"
#include "support/MarrowbyWorld.h"
#include "support/PrinterSim.h"
#include "support/SnmpReplies.h"
#include "support/SnmpServer.h"

namespace {

struct AgentWorld {
    testsupport::MarrowbyWorld w;
    platform::PosixSockets sockets;
    const platform::DatagramSocket* asked = nullptr;
    std::chrono::steady_clock::time_point sent;

    // An agent on loopback answers within moments: the polls of a request's
    // wait let a millisecond of real time pass each, until AnswerMs after
    // it was sent (each request has a socket of its own); the rest of the
    // wait runs on the virtual clock alone.
    static constexpr std::chrono::milliseconds AnswerMs{100};

    explicit AgentWorld(std::uint16_t port) {
        w.os.socketFactory = &sockets;
        w.clock.onSleep = [this](std::uint32_t) {
            const auto now = std::chrono::steady_clock::now();
            if (page().pwSocket.get() != asked) {
                asked = page().pwSocket.get();
                sent = now;
            }
            if (now - sent < AnswerMs) ::usleep(1000);
        };
        w.m.ProgressDlgForm().SnmpPort = port;
    }
    printercfg::ProgressDlg& page() { return w.m.ProgressDlgForm(); }
};

TEST(SnmpClientAgainstSnmpd, FrontPanelWrongCommunityAndDeadAgent) {
    testsupport::SnmpdOptions options;
    options.line1 = "PAPER OUT";
    options.line2 = "LOAD MEDIA";
    testsupport::SnmpServer agent(options);
    AgentWorld a(agent.port());
    EXPECT_EQ(a.page().Get_SNMP_Status(agent.address()), "\tPAPER OUT\r\n\tLOAD MEDIA") << agent.log();

    testsupport::SnmpdOptions other = options;
    other.address = testsupport::otherLoopback(agent.address());
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
    testsupport::SnmpServer agent;
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
    options.line1 = "HEAD OPEN";
    options.line2 = "CLOSE HEAD";
    options.misreplies = {"malformed", "wrong-id", "wrong-oid", "error-status", "foreign-port", "foreign-address"};
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
        options.misreplies = c.misreplies;
        options.genuineReply = c.genuine;
        options.delayReplyMs = c.delayMs;
        testsupport::PrinterSim sim(options);
        AgentWorld a(sim.udpPort());
        EXPECT_FALSE(a.page().IsCorvasil(sim.address())) << c.name;
        EXPECT_EQ(a.page().Get_SNMP_Status(sim.address()), "") << c.name;
    }
}

// An agent of the test's own on a random loopback address that answers a
// request only when the next one comes: first, late, to the earlier
// request, then to the new one.
TEST(SnmpClientAgainstLateAgent, ALateReplyIsNotTakenForTheNextRequest) {
    const testsupport::LoopbackSocket agent(SOCK_DGRAM | SOCK_NONBLOCK);
    const std::string& address = agent.address();
    std::vector<sockaddr_in> askers;
    auto answer = [&](const sockaddr_in& to, const std::string& text) {
        // The agent's GetResponse with the system description `text`.
        const std::string reply = testsupport::snmp::encode({.value = text});
        ::sendto(agent.fd(), reply.data(), reply.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    };
    AgentWorld a(agent.port());
    // Loopback datagrams need only a moment of real time on each poll.
    a.w.clock.onSleep = [](std::uint32_t) { ::usleep(20); };
    auto io = a.w.app.addIoSource([&] {
        char buf[512];
        sockaddr_in from{};
        socklen_t size = sizeof from;
        while (::recvfrom(agent.fd(), buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &size) > 0) {
            if (!askers.empty()) {
                answer(askers.back(), "Late Corvasil");
                answer(from, "Genuine Corvasil");
            }
            askers.push_back(from);
            size = sizeof from;
        }
    });
    EXPECT_FALSE(a.page().IsCorvasil(address));
    EXPECT_TRUE(a.page().IsCorvasil(address));
    EXPECT_EQ(a.page().SnmpReplyText, "Genuine Corvasil");
}

}  // namespace
