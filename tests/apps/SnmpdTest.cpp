// Debian's net-snmp agent as the fixture runs it, asked by snmpget and by
// the datagram socket seam with the wizard's padded 256-byte request. Real
// time passes while the agent answers.

#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/posix/PosixSockets.h"
#include "support/PrinterSim.h"
#include "support/SnmpServer.h"
#include "support/UiWorld.h"

using testsupport::SnmpServer;

namespace {

const char* const Snmpget = "/usr/bin/snmpget";
const char* const SysDescr = "1.3.6.1.2.1.1.1.0";
const char* const Line1 = "1.3.6.1.2.1.43.16.5.1.2.1.1";
const char* const Line2 = "1.3.6.1.2.1.43.16.5.1.2.1.2";

// `timeout`: seconds to wait for the answer, short where none is expected.
testsupport::ProgramResult snmpget(const SnmpServer& agent, const std::string& community,
                                   const std::vector<std::string>& oids, const std::string& timeout = "1") {
    std::vector<std::string> args = {"-m", "", "-v1", "-c", community, "-On", "-r", "0", "-t", timeout, agent.agent()};
    args.insert(args.end(), oids.begin(), oids.end());
    return testsupport::runProgram(Snmpget, args, std::chrono::seconds(20));
}

TEST(Snmpd, AnswersSnmpgetAsConfigured) {
    ASSERT_EQ(::access(Snmpget, X_OK), 0) << "snmpget is missing: install the package snmp";
    testsupport::SnmpdOptions options;
    options.line1 = "PAPER OUT";
    options.line2 = "";
    SnmpServer agent(options);
    struct Case {
        const char* name;
        std::string community;
        std::vector<std::string> oids;
        int exitCode;
        std::string out, err;  // err: a part of it
        std::string timeout = "1";
    };
    const Case cases[] = {
        {"front panel",
         "tamrel",
         {SysDescr, Line1, Line2},
         0,
         ".1.3.6.1.2.1.1.1.0 = STRING: \"Tessivarn 7391-Q25 Corvasil Print Server\"\n"
         ".1.3.6.1.2.1.43.16.5.1.2.1.1 = STRING: \"PAPER OUT\"\n"
         ".1.3.6.1.2.1.43.16.5.1.2.1.2 = \"\"\n",
         ""},
        {"missing object", "tamrel", {"1.3.6.1.2.1.43.16.5.1.2.1.3"}, 2, "", "noSuchName"},
        {"wrong community", "public", {SysDescr}, 1, "", "Timeout", "0.2"},
    };
    for (const auto& c : cases) {
        auto r = snmpget(agent, c.community, c.oids, c.timeout);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.name << r.err;
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.name << ": " << r.err;
    }
    agent.stop();
    auto dead = snmpget(agent, "tamrel", {SysDescr}, "0.2");
    EXPECT_EQ(dead.exitCode, 1);
    EXPECT_NE(dead.err.find("Timeout"), std::string::npos) << dead.err;
}

// The wizard's request for sysDescr.0: the message, then zeros to 256 bytes.
std::string paddedRequest() {
    const unsigned char message[] = {0x30, 0x26, 0x02, 0x01, 0x00, 0x04, 0x06, 't',  'a',  'm',  'r',  'e',  'l',  0xA0,
                                     0x19, 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x0E, 0x30, 0x0C,
                                     0x06, 0x08, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x01, 0x00, 0x05, 0x00};
    std::string request(reinterpret_cast<const char*>(message), sizeof message);
    request.resize(256, '\0');
    return request;
}

TEST(Snmpd, AnswersThePaddedRequestThroughTheDatagramSeam) {
    SnmpServer agent;
    testsupport::UiWorld w;
    platform::PosixSockets sockets;
    auto socket = sockets.datagramSocket();
    std::optional<platform::Datagram> reply;
    socket->onDataArrival = [&](std::size_t) { reply = socket->read(); };
    auto io = w.app.addIoSource([&] { socket->progress(); });
    ASSERT_TRUE(socket->setRemote(agent.address(), agent.port()));
    ASSERT_TRUE(socket->send(paddedRequest()));
    for (int i = 0; i < 5000 && !reply; ++i) {
        w.pump.doEvents();
        ::usleep(1000);  // the agent works in real time
    }
    ASSERT_TRUE(reply) << agent.log();
    EXPECT_EQ(reply->host, agent.address());
    EXPECT_EQ(reply->port, agent.port());
    EXPECT_EQ(static_cast<unsigned char>(reply->bytes[0]), 0x30);
    EXPECT_NE(reply->bytes.find("\x04\x28Tessivarn 7391-Q25 Corvasil Print Server"), std::string::npos);
}

}  // namespace
