// The printer-sim program end to end, over loopback sockets.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "SnmpTestUtil.h"
#include "support/Loopback.h"
#include "support/PrinterSim.h"

using namespace snmptest;
using namespace std::chrono_literals;
using testsupport::PrinterSim;
using testsupport::PrinterSimOptions;

namespace {

class TcpClient {
public:
    TcpClient(const std::string& address, std::uint16_t port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const auto sa = testsupport::loopbackAddress(address, port);
        if (fd_ < 0 || ::connect(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0)
            throw std::runtime_error("connect failed");
    }
    ~TcpClient() { close(); }
    void send(const Bytes& data) {
        std::size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = ::send(fd_, data.data() + done, data.size() - done, MSG_NOSIGNAL);
            if (n < 0) throw std::runtime_error("send failed");
            done += static_cast<std::size_t>(n);
        }
    }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

void sendJob(const PrinterSim& sim, const Bytes& data) {
    TcpClient client(sim.address(), sim.tcpPort());
    client.send(data);
}

class UdpClient {
public:
    UdpClient(const std::string& address, std::uint16_t port) {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const auto sa = testsupport::loopbackAddress(address, port);
        if (fd_ < 0 || ::connect(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0)
            throw std::runtime_error("udp connect failed");
    }
    ~UdpClient() { ::close(fd_); }
    void send(const Bytes& datagram) {
        if (::send(fd_, datagram.data(), datagram.size(), 0) != static_cast<ssize_t>(datagram.size()))
            throw std::runtime_error("udp send failed");
    }
    // Waits on the socket, not on a clock.
    std::optional<Bytes> receive(std::chrono::milliseconds timeout) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return std::nullopt;
        Bytes buf(65536);
        const ssize_t n = ::recv(fd_, buf.data(), buf.size(), 0);
        if (n < 0) return std::nullopt;
        buf.resize(static_cast<std::size_t>(n));
        return buf;
    }
    std::optional<Response> ask(const Request& r, std::chrono::milliseconds timeout = 5s) {
        send(encode(r));
        auto reply = receive(timeout);
        if (!reply) return std::nullopt;
        return parse(*reply);
    }

private:
    int fd_ = -1;
};

Bytes patterned(std::size_t size) {
    Bytes out(size);
    std::uint32_t x = 12345;
    for (auto& b : out) {
        x = x * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(x >> 16);
    }
    return out;
}

std::optional<std::filesystem::path> findSnmpget() {
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        std::filesystem::path p = std::filesystem::path(dir) / "snmpget";
        if (::access(p.c_str(), X_OK) == 0) return p;
    }
    return std::nullopt;
}

testsupport::ProgramResult snmpget(const PrinterSim& sim, const std::string& community,
                                   const std::vector<std::string>& oids) {
    auto program = findSnmpget();
    if (!program) throw std::runtime_error("snmpget missing");
    std::vector<std::string> args = {"-m",      "",    "-v1", "-c",
                                     community, "-On", "-Ov", "-r",
                                     "0",       "-t",  "5",   sim.address() + ":" + std::to_string(sim.udpPort())};
    args.insert(args.end(), oids.begin(), oids.end());
    return testsupport::runProgram(*program, args, 20s);
}

}  // namespace

TEST(printer_sim_jobs, AllByteValuesAndCrLfArriveUnchanged) {
    PrinterSim sim;
    Bytes data = str("^XA\r\n^FO50,50^FDHello\r\n^XZ\r\n");
    for (int i = 0; i < 256; ++i) data.push_back(static_cast<std::uint8_t>(i));
    for (int i = 255; i >= 0; --i) data.push_back(static_cast<std::uint8_t>(i));
    sendJob(sim, data);
    ASSERT_TRUE(sim.waitForJobs(1));
    EXPECT_EQ(sim.jobs()[0].number, 1u);
    EXPECT_EQ(sim.jobs()[0].size, data.size());
    EXPECT_EQ(sim.jobs()[0].path, sim.jobsDir() / "job-0001.prn");
    EXPECT_EQ(sim.jobBytes(0), data);
}

TEST(printer_sim_jobs, TwoJobsGiveTwoFilesInOrder) {
    PrinterSim sim;
    sendJob(sim, str("first\n"));
    ASSERT_TRUE(sim.waitForJobs(1));
    sendJob(sim, str("second\n"));
    ASSERT_TRUE(sim.waitForJobs(2));
    EXPECT_EQ(sim.jobText(0), "first\n");
    EXPECT_EQ(sim.jobText(1), "second\n");
    EXPECT_EQ(sim.jobs()[1].path, sim.jobsDir() / "job-0002.prn");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(sim.jobsDir())) ++files;
    EXPECT_EQ(files, 2u);
}

TEST(printer_sim_jobs, EmptyConnectionGivesEmptyJob) {
    PrinterSim sim;
    { TcpClient client(sim.address(), sim.tcpPort()); }
    ASSERT_TRUE(sim.waitForJobs(1));
    EXPECT_EQ(sim.jobs()[0].size, 0u);
    EXPECT_TRUE(std::filesystem::exists(sim.jobs()[0].path));
    EXPECT_TRUE(sim.jobBytes(0).empty());
}

TEST(printer_sim_jobs, MultiMegabyteJobIsStoredExactly) {
    PrinterSim sim;
    const Bytes data = patterned(6 * 1024 * 1024 + 17);
    sendJob(sim, data);
    ASSERT_TRUE(sim.waitForJobs(1, 30s));
    EXPECT_EQ(sim.jobs()[0].size, data.size());
    EXPECT_TRUE(sim.jobBytes(0) == data);
}

TEST(printer_sim_jobs, ConnectionsAreServedConcurrently) {
    PrinterSim sim;
    TcpClient slow(sim.address(), sim.tcpPort());
    slow.send(str("slow part one;"));
    {
        TcpClient quick(sim.address(), sim.tcpPort());
        quick.send(str("quick"));
    }
    // The quick job completes while the first connection is still open.
    ASSERT_TRUE(sim.waitForJobs(1));
    EXPECT_EQ(sim.jobs()[0].number, 2u);
    EXPECT_EQ(sim.jobText(0), "quick");
    slow.send(str("part two"));
    slow.close();
    ASSERT_TRUE(sim.waitForJobs(2));
    EXPECT_EQ(sim.jobs()[1].number, 1u);
    EXPECT_EQ(sim.jobs()[1].path, sim.jobsDir() / "job-0001.prn");
    EXPECT_EQ(sim.jobText(1), "slow part one;part two");
}

TEST(printer_sim_jobs, OtherLoopbackAddressWorks) {
    PrinterSimOptions options;
    const std::string address = testsupport::randomLoopback();
    options.address = address;
    PrinterSim sim(options);
    EXPECT_EQ(sim.address(), address);
    sendJob(sim, str("on " + address));
    ASSERT_TRUE(sim.waitForJobs(1));
    EXPECT_EQ(sim.jobText(0), "on " + address);
    UdpClient udp(sim.address(), sim.udpPort());
    auto reply = udp.ask(Request{});
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->binds.size(), 1u);
    EXPECT_EQ(reply->binds[0].value, "Corvasil Print Server");
}

TEST(printer_sim_jobs, TwoSimulatorsShareAPortOnDifferentAddresses) {
    PrinterSimOptions a;
    PrinterSim first(a);
    PrinterSimOptions b;
    b.address = testsupport::otherLoopback(a.address);
    b.tcpPort = first.tcpPort();
    b.snmpPort = first.udpPort();
    b.line1 = "SECOND";
    PrinterSim second(b);
    EXPECT_EQ(second.tcpPort(), first.tcpPort());
    sendJob(second, str("to second"));
    ASSERT_TRUE(second.waitForJobs(1));
    EXPECT_EQ(second.jobText(0), "to second");
    EXPECT_TRUE(first.jobs().empty());
    Request r;
    r.oids = {kLine1};
    UdpClient udp(second.address(), second.udpPort());
    auto reply = udp.ask(r);
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->binds.size(), 1u);
    EXPECT_EQ(reply->binds[0].value, "SECOND");
}

TEST(printer_sim_process, ExitsCleanlyOnSigterm) {
    PrinterSim sim;
    EXPECT_EQ(sim.stop(), 0);
}

TEST(printer_sim_process, NoSnmpReportsUdpPortZero) {
    PrinterSimOptions options;
    options.snmp = false;
    PrinterSim sim(options);
    EXPECT_EQ(sim.udpPort(), 0);
    EXPECT_NE(sim.tcpPort(), 0);
}

class RefusedAddress : public ::testing::TestWithParam<std::string> {};

TEST_P(RefusedAddress, ExitsWithCode2BeforeListening) {
    const auto result = PrinterSim::run({"--address", GetParam(), "--tcp-port", "0", "--snmp-port", "0", "--jobs",
                                         ::testing::TempDir() + "printer-sim-refused"});
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out.find("ready"), std::string::npos);
    EXPECT_FALSE(result.err.empty());
}

INSTANTIATE_TEST_SUITE_P(printer_sim_process, RefusedAddress,
                         ::testing::Values("169.254.1.10", "100.64.0.1", "0.0.0.0", "128.0.0.1", "126.255.255.255",
                                           "255.255.255.255", "localhost", "127.0.0.256", ""),
                         [](const auto& p) {
                             std::string name = p.param.empty() ? "empty" : p.param;
                             for (char& c : name)
                                 if (c == '.') c = '_';
                             return name;
                         });

TEST(printer_sim_process, UnknownOptionIsAUsageError) {
    const auto result = PrinterSim::run({"--colour", "blue"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out.find("ready"), std::string::npos);
}

TEST(printer_sim_snmp, RawGetRequestsReturnConfiguredTexts) {
    PrinterSimOptions options;
    options.sysDescr = "Test Card 7";
    options.line1 = "PAUSED";
    options.line2 = "Ribbon low";
    PrinterSim sim(options);
    UdpClient udp(sim.address(), sim.udpPort());
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {kSysDescr, "Test Card 7"}, {kLine1, "PAUSED"}, {kLine2, "Ribbon low"}};
    std::uint8_t id = 10;
    for (const auto& [oid, text] : cases) {
        Request r;
        r.requestId = {id};
        r.oids = {oid};
        auto reply = udp.ask(r);
        ASSERT_TRUE(reply) << text;
        EXPECT_EQ(reply->pduTag, 0xA2);
        EXPECT_EQ(reply->requestId, Bytes{id});
        EXPECT_EQ(reply->errorStatus, 0);
        ASSERT_EQ(reply->binds.size(), 1u);
        EXPECT_EQ(reply->binds[0].valueTag, 0x04);
        EXPECT_EQ(reply->binds[0].value, text);
        ++id;
    }
}

TEST(printer_sim_snmp, DefaultsSeenBySnmpget) {
    ASSERT_TRUE(findSnmpget()) << "snmpget is missing: install the package snmp";
    PrinterSim sim;
    const auto result =
        snmpget(sim, "tamrel", {"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.43.16.5.1.2.1.1", "1.3.6.1.2.1.43.16.5.1.2.1.2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "STRING: \"Corvasil Print Server\"\nSTRING: \"READY\"\n\"\"\n");
}

TEST(printer_sim_snmp, ConfiguredTextsSeenBySnmpget) {
    ASSERT_TRUE(findSnmpget()) << "snmpget is missing: install the package snmp";
    PrinterSimOptions options;
    options.community = "other";
    options.sysDescr = "Card B";
    options.line1 = "PAPER OUT";
    options.line2 = std::string(200, 'z');
    PrinterSim sim(options);
    const auto result =
        snmpget(sim, "other", {"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.43.16.5.1.2.1.1", "1.3.6.1.2.1.43.16.5.1.2.1.2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "STRING: \"Card B\"\nSTRING: \"PAPER OUT\"\nSTRING: \"" + std::string(200, 'z') + "\"\n");
}

TEST(printer_sim_snmp, SnmpgetSeesNoSuchName) {
    ASSERT_TRUE(findSnmpget()) << "snmpget is missing: install the package snmp";
    PrinterSim sim;
    const auto result = snmpget(sim, "tamrel", {"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.5.0"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find("noSuchName"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(".1.3.6.1.2.1.1.5.0"), std::string::npos) << result.err;
}

TEST(printer_sim_snmp, UnknownOidGivesNoSuchName) {
    PrinterSim sim;
    UdpClient udp(sim.address(), sim.udpPort());
    Request r;
    r.oids = {kLine1, kSysObjectId};
    auto reply = udp.ask(r);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->errorStatus, 2);
    EXPECT_EQ(reply->errorIndex, 2);
    ASSERT_EQ(reply->binds.size(), 2u);
    EXPECT_EQ(reply->binds[0].valueTag, 0x05);  // echoed NULL, not the value
    EXPECT_EQ(reply->binds[1].valueTag, 0x05);
}

TEST(printer_sim_snmp, WrongCommunityGetsNoReply) {
    PrinterSim sim;
    UdpClient udp(sim.address(), sim.udpPort());
    Request wrong;
    wrong.community = "public";
    wrong.requestId = {0x21};
    udp.send(encode(wrong));
    Request right;
    right.requestId = {0x22};
    // Replies keep datagram order, so the first one must be for the right request.
    auto reply = udp.ask(right);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->requestId, Bytes{0x22});
}

TEST(printer_sim_snmp, MalformedDatagramsDoNotStopTheAgent) {
    PrinterSim sim;
    UdpClient udp(sim.address(), sim.udpPort());
    Request valid;
    valid.requestId = {0x33};
    const Bytes good = encode(valid);
    const std::vector<Bytes> junk = {
        {},
        {0x30},
        {0x30, 0x84, 0xFF, 0xFF, 0xFF, 0xFF},
        {0x30, 0x80, 0x00, 0x00},
        {0x3F, 0x01, 0x00},
        Bytes(good.begin(), good.end() - 3),
        patterned(1500),
        Bytes(4000, 0x30),
    };
    for (const auto& d : junk) udp.send(d);
    Request v2c = valid;
    v2c.version = 1;
    udp.send(encode(v2c));
    // Replies keep datagram order, so the first one must be for the valid request.
    auto reply = udp.ask(valid);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->requestId, Bytes{0x33});
    EXPECT_FALSE(udp.receive(200ms));
}

class SimRequestId : public ::testing::TestWithParam<Bytes> {};

TEST_P(SimRequestId, IsEchoed) {
    PrinterSim sim;
    UdpClient udp(sim.address(), sim.udpPort());
    Request r;
    r.requestId = GetParam();
    auto reply = udp.ask(r);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->requestId, GetParam());
}

INSTANTIATE_TEST_SUITE_P(printer_sim_snmp, SimRequestId,
                         ::testing::Values(Bytes{0x7F, 0xFF, 0xFF, 0xFF}, Bytes{0x01, 0x00}, Bytes{0x00, 0xAB, 0xCD},
                                           Bytes{0x12, 0x34, 0x56, 0x78}, Bytes{0xFF, 0x00}),
                         [](const auto& p) { return hexName(p.param); });

TEST(printer_sim_snmp, DelayedReplyComesLate) {
    PrinterSimOptions options;
    options.delayReplyMs = 200;
    PrinterSim sim(options);
    UdpClient udp(sim.address(), sim.udpPort());
    const auto sent = std::chrono::steady_clock::now();
    udp.send(encode(Request{}));
    EXPECT_FALSE(udp.receive(100ms));
    auto reply = udp.receive(5s);
    ASSERT_TRUE(reply);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 200ms);
    EXPECT_TRUE(parse(*reply));
}

namespace {

// An unconnected socket: it sees replies from any sender.
struct OpenUdp {
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ~OpenUdp() { ::close(fd); }
    void sendTo(const PrinterSim& sim, const Bytes& datagram) {
        const auto sa = testsupport::loopbackAddress(sim.address(), sim.udpPort());
        ::sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    }
    struct From {
        Bytes bytes;
        std::string address;
        std::uint16_t port;
    };
    std::optional<From> receive(std::chrono::milliseconds timeout) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return std::nullopt;
        Bytes buf(65536);
        sockaddr_in from{};
        socklen_t len = sizeof from;
        const ssize_t n = ::recvfrom(fd, buf.data(), buf.size(), 0, reinterpret_cast<sockaddr*>(&from), &len);
        if (n < 0) return std::nullopt;
        buf.resize(static_cast<std::size_t>(n));
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
        return From{buf, text, ntohs(from.sin_port)};
    }
};

}  // namespace

TEST(printer_sim_snmp, BadRepliesComeFirstInTheOrderAsked) {
    PrinterSimOptions options;
    const std::string agent = options.address;
    const std::string foreign = testsupport::otherLoopback(agent);
    options.foreignAddress = foreign;
    options.misreplies = {"foreign-port", "foreign-address", "wrong-id", "wrong-oid", "error-status", "malformed"};
    PrinterSim sim(options);
    Request r;
    r.oids = {kLine1};
    Bytes request = encode(r);
    request.resize(256, 0x00);
    OpenUdp udp;
    udp.sendTo(sim, request);

    struct Expect {
        std::string address;
        bool agentPort;
        bool parses;
        Bytes requestId;
        std::int64_t errorStatus;
        std::uint32_t lastArc;
    };
    const Expect expected[] = {
        {agent, false, true, {0x01}, 0, 1},   // foreign port
        {foreign, true, true, {0x01}, 0, 1},  // foreign address
        {agent, true, true, {0x02}, 0, 1},    // wrong id
        {agent, true, true, {0x01}, 0, 2},    // wrong OID
        {agent, true, true, {0x01}, 5, 1},    // error status
        {agent, true, false, {}, 0, 0},       // malformed
        {agent, true, true, {0x01}, 0, 1},    // the genuine reply
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto& e = expected[i];
        auto reply = udp.receive(5s);
        ASSERT_TRUE(reply) << i;
        EXPECT_EQ(reply->address, e.address) << i;
        EXPECT_EQ(reply->port == sim.udpPort(), e.agentPort) << i;
        auto parsed = parse(reply->bytes);
        ASSERT_EQ(parsed.has_value(), e.parses) << i;
        if (!parsed) continue;
        EXPECT_EQ(parsed->requestId, e.requestId) << i;
        EXPECT_EQ(parsed->errorStatus, e.errorStatus) << i;
        ASSERT_EQ(parsed->binds.size(), 1u);
        EXPECT_EQ(parsed->binds[0].oid.back(), e.lastArc) << i;
    }
    EXPECT_FALSE(udp.receive(100ms));
}

TEST(printer_sim_snmp, WithoutTheGenuineReplyOnlyTheBadOnesCome) {
    PrinterSimOptions options;
    options.misreplies = {"wrong-id"};
    options.genuineReply = false;
    PrinterSim sim(options);
    OpenUdp udp;
    udp.sendTo(sim, encode(Request{}));
    auto reply = udp.receive(5s);
    ASSERT_TRUE(reply);
    EXPECT_EQ(parse(reply->bytes)->requestId, Bytes{0x02});
    EXPECT_FALSE(udp.receive(100ms));
}
