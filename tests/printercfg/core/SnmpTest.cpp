// The SNMP client: the request bytes, the reply reader and its refusals, and
// the front-panel query through the in-memory network.

#include <gtest/gtest.h>

#include "printercfg/core/ProgressDlg.h"
#include "printercfg/core/Snmp.h"
#include "support/MarrowbyWorld.h"
#include "support/SnmpReplies.h"

using printercfg::DecodeSnmpReply;
using printercfg::ProgressDlg;
using namespace testsupport::snmp;

namespace {

std::string request(const std::string& oidText) {
    printercfg::SnmpRequest r;
    r.community = "tamrel";
    r.name = *printercfg::EncodeSnmpOid(oidText);
    printercfg::SnmpBuffer buffer;
    buffer.fill(0xEE);
    std::size_t n = 0;
    EXPECT_TRUE(printercfg::EncodeSnmpRequest(r, buffer, n));
    EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<long>(n), buffer.end(), [](auto b) { return b == 0; }));
    return std::string(buffer.begin(), buffer.begin() + static_cast<long>(n));
}

TEST(SnmpRequest, BytesOfTheThreeRequests) {
    EXPECT_EQ(request("1.3.6.1.2.1.1.1.0"),
              bytes({0x30, 0x26, 0x02, 0x01, 0x00, 0x04, 0x06, 't',  'a',  'm',  'r',  'e',  'l',  0xA0,
                     0x19, 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x0E, 0x30, 0x0C,
                     0x06, 0x08, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x01, 0x00, 0x05, 0x00}));
    const std::string line2 = request(" 1.3.6.1.2.1.43.16.5.1.2.1.2 ");
    ASSERT_EQ(line2.size(), 44u);
    EXPECT_EQ(line2.substr(0, 2), bytes({0x30, 0x2A}));
    EXPECT_EQ(line2.substr(13, 2), bytes({0xA0, 0x1D}));
    EXPECT_EQ(line2.substr(28, 16), bytes({0x06, 0x0C}) + Line2 + bytes({0x05, 0x00}));
}

TEST(SnmpRequest, OidTexts) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"1.3.6.1.2.1.1.1.0.", SysDescr},
        {"1.3.6.300", bytes({0x2B, 6, 0x82, 0x2C})},
        {"1.3.4294967295", bytes({0x2B, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F})},
        {"1.3", bytes({0x2B})},
        {"1.3.6.x", std::nullopt},
        {"1.3..6", std::nullopt},
        {"1.3.4294967296", std::nullopt},
    };
    for (const auto& [text, encoded] : cases) EXPECT_EQ(printercfg::EncodeSnmpOid(text), encoded) << text;
}

TEST(SnmpRequest, LongLengthsAreWrittenInLongFormAndTooLongIsRefused) {
    printercfg::SnmpRequest r;
    r.name = SysDescr;
    r.community = std::string(200, 'c');
    printercfg::SnmpBuffer buffer;
    std::size_t n = 0;
    ASSERT_TRUE(printercfg::EncodeSnmpRequest(r, buffer, n));
    EXPECT_EQ(n, 236u);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 9),
              bytes({0x30, 0x81, 0xE9, 0x02, 0x01, 0x00, 0x04, 0x81, 200}));
    r.community = std::string(230, 'c');
    EXPECT_FALSE(printercfg::EncodeSnmpRequest(r, buffer, n));
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](auto b) { return b == 0; }));
}

TEST(SnmpReply, ValueTable) {
    const std::pair<Reply, std::string> cases[] = {
        {{.valueTag = 0x04, .value = "Tessivarn Corvasil"}, "Tessivarn Corvasil"},
        {{.valueTag = 0x04, .value = ""}, ""},
        {{.valueTag = 0x04, .value = std::string("A\0B", 3)}, std::string("A\0B", 3)},
        {{.valueTag = 0x02, .value = bytes({0x00, 0xFF})}, "255\r\n"},
        {{.valueTag = 0x02, .value = bytes({0xFF, 0xFF})}, "-1\r\n"},
        {{.valueTag = 0x02, .value = bytes({0xFF})}, "255\r\n"},
        {{.valueTag = 0x02, .value = ""}, "0\r\n"},
        {{.valueTag = 0x43, .value = bytes({0x80, 0, 0})}, "8388608\r\n"},
        {{.valueTag = 0x41, .value = bytes({0xFF, 0xFF, 0xFF, 0xFE})}, "-2\r\n"},
        {{.valueTag = 0x42, .value = bytes({0x00, 0xFF, 0xFF, 0xFF, 0xFF})}, "4294967295\r\n"},
        {{.valueTag = 0x40, .value = bytes({0x7F, 1, 2, 3})}, "127.1.2.3\r\n"},
        {{.valueTag = 0x05, .value = ""}, "0.0.0.0\r\n"},
        {{.valueTag = 0x44, .value = bytes({1})}, "Unknown &H44"},
        {{.valueTag = 0x06, .value = SysDescr}, "Unknown &H6"},
        {{.valueTag = 0x10, .value = ""}, "Unknown &H10"},
        {{.valueTag = 0x04, .value = std::string(300, 'x'), .longForm = true}, std::string(300, 'x')},
    };
    for (const auto& [reply, text] : cases) EXPECT_EQ(DecodeSnmpReply(encode(reply), 1, SysDescr), text) << text;
}

TEST(SnmpReply, AnythingButTheAnswerAskedForIsNoReply) {
    const std::string good = encode({.value = "READY"});
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"one byte", "\x30"},
        {"cut short", good.substr(0, good.size() - 1)},
        {"wrong request id", encode({.value = "READY", .requestId = bytes({2})})},
        {"wrong OID", encode({.oid = Line1, .value = "READY"})},
        {"error status", encode({.value = "READY", .errorStatus = 2})},
        {"a request", encode({.value = "READY", .pduTag = 0xA0})},
        {"indefinite length", bytes({0x30, 0x80}) + good.substr(2)},
        {"value of indefinite length",
         [] {
             std::string d = encode({.value = ""});
             d.back() = '\x80';
             return d;
         }()},
        {"more after the PDU", tlv(0x30, good.substr(2) + bytes({0x05, 0x00}))},
        {"length past the end", bytes({0x30, 0x84, 0x7F, 0xFF, 0xFF, 0xFF}) + good.substr(2)},
        {"integer of nine bytes", encode({.valueTag = 0x02, .value = std::string(9, '\1')})},
        {"address of five bytes", encode({.valueTag = 0x40, .value = std::string(5, '\1')})},
        {"two bindings",
         [&] {
             Reply r{.value = "READY"};
             std::string bind = tlv(0x30, tlv(0x06, SysDescr) + tlv(0x04, "x"));
             std::string pdu =
                 tlv(0x02, bytes({1})) + tlv(0x02, bytes({0})) + tlv(0x02, bytes({0})) + tlv(0x30, bind + bind);
             return tlv(0x30, tlv(0x02, bytes({0})) + tlv(0x04, "tamrel") + tlv(0xA2, pdu));
         }()},
    };
    for (const auto& [name, datagram] : cases) EXPECT_EQ(DecodeSnmpReply(datagram, 1, SysDescr), std::nullopt) << name;
    // Bytes after the message are not read.
    EXPECT_EQ(DecodeSnmpReply(good + std::string(10, '\0'), 1, SysDescr), "READY");
}

// --- The client on the progress page ------------------------------------------

struct SnmpClient : ::testing::Test {
    testsupport::MarrowbyWorld w;
    std::string host = "127.1.1.1";
    std::uint16_t port = 161;
    // The agent's answers, by the encoded OID asked for; none: silent.
    std::map<std::string, std::vector<std::string>> answers;

    void SetUp() override {
        w.m.DebugMode = true;
        w.network.setResponder([this](const platform::MemoryNetwork::SentDatagram& d) {
            for (const auto& [oid, replies] : answers)
                if (d.bytes.find(tlv(0x06, oid)) != std::string::npos)
                    for (const auto& r : replies) w.network.deliver(host, port, r);
        });
    }
    ProgressDlg& page() { return w.m.ProgressDlgForm(); }
    void agent(const std::string& sysDescr, const std::string& line1, const std::string& line2) {
        answers[SysDescr] = {encode({.oid = SysDescr, .value = sysDescr})};
        answers[Line1] = {encode({.oid = Line1, .value = line1})};
        answers[Line2] = {encode({.oid = Line2, .value = line2})};
    }
};

TEST_F(SnmpClient, FrontPanelOfOurInterface) {
    agent("Tessivarn 7391-Q25 Corvasil", "PAPER OUT", "");
    EXPECT_EQ(page().Get_SNMP_Status(" 127.1.1.1 "), "\tPAPER OUT\r\n\t");
    const auto& sent = w.network.sent();
    ASSERT_EQ(sent.size(), 3u);
    for (const auto& d : sent) {
        EXPECT_EQ(d.host, "127.1.1.1");
        EXPECT_EQ(d.port, 161);
        EXPECT_EQ(d.bytes.size(), 256u);
    }
    EXPECT_EQ(sent[1].bytes.substr(0, 44), request("1.3.6.1.2.1.43.16.5.1.2.1.1"));
    EXPECT_EQ(sent[2].bytes.substr(44), std::string(212, '\0'));
    EXPECT_NE(w.log().find("IsCorvasil: SNMPString=Tessivarn 7391-Q25 Corvasil\r\n"), std::string::npos);
}

TEST_F(SnmpClient, TheWordCorvasilSpelledExactly) {
    const std::pair<const char*, bool> cases[] = {
        {"Corvasil", true},          {"Print Server Corvasil", true}, {"CORVASIL Print Server", false},
        {"Corvasil2 Server", false}, {"Print  Corvasil  x", true},    {"", false},
    };
    for (const auto& [descr, ours] : cases) {
        agent(descr, "READY", "");
        EXPECT_EQ(page().IsCorvasil(host), ours) << descr;
        EXPECT_EQ(page().Get_SNMP_Status(host).empty(), !ours) << descr;
    }
}

TEST_F(SnmpClient, SilenceEndsAfterFiveSecondsOnTheClock) {
    agent("Corvasil", "", "");
    answers.erase(Line2);
    const auto t0 = w.clock.elapsed();
    EXPECT_EQ(page().Get_SNMP_Status(host), "\t\r\n\t");
    EXPECT_GE(w.clock.elapsed() - t0, 5000u);
    EXPECT_LT(w.clock.elapsed() - t0, 5100u);
    answers.clear();
    EXPECT_EQ(page().Get_SNMP_Status(host), "");
    EXPECT_NE(w.log().find("IsCorvasil: Unable to connect to device\r\n"), std::string::npos);
    EXPECT_NE(w.log().find("GetSNMPStatus: Not Corvasil Printer\r\n"), std::string::npos);
}

TEST_F(SnmpClient, OnlyTheAnswerToThePendingRequestCounts) {
    agent("Corvasil", "READY", "LINE 2");
    const std::string line1 = answers[Line1][0];
    // Spoilt and foreign datagrams come before the genuine reply; a late
    // answer to the description comes with the first line.
    answers[SysDescr].insert(answers[SysDescr].begin(),
                             {"", "\x30", encode({.value = "Corvasil", .requestId = bytes({7})})});
    answers[Line1] = {encode({.oid = SysDescr, .value = "late"}),
                      encode({.oid = Line1, .value = "X", .errorStatus = 2}), line1};
    w.network.setResponder([this, inner = std::move(answers)](const platform::MemoryNetwork::SentDatagram& d) {
        w.network.deliver("127.1.1.2", port, encode({.oid = SysDescr, .value = "foreign"}));
        w.network.deliver(host, 162, encode({.oid = SysDescr, .value = "other port"}));
        for (const auto& [oid, replies] : inner)
            if (d.bytes.find(tlv(0x06, oid)) != std::string::npos)
                for (const auto& r : replies) w.network.deliver(host, port, r);
    });
    EXPECT_EQ(page().Get_SNMP_Status(host), "\tREADY\r\n\tLINE 2");
    EXPECT_NE(w.log().find("SNMPString=Corvasil\r\n"), std::string::npos);
}

TEST_F(SnmpClient, ARequestThatCannotBeEncodedIsNotSent) {
    page().snmpSend(host, std::string(250, 'c'), "1.3.6.1.2.1.1.1.0", printercfg::SnmpGetRequest);
    page().snmpSend(host, "tamrel", "1.3.6.one", printercfg::SnmpGetRequest);
    EXPECT_TRUE(
        std::all_of(page().SnmpRequestBuffer.begin(), page().SnmpRequestBuffer.end(), [](auto b) { return b == 0; }));
    page().snmpSend("", "tamrel", "1.3.6.1", printercfg::SnmpGetRequest);
    EXPECT_TRUE(w.network.sent().empty());
}

}  // namespace
