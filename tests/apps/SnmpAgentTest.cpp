// The SNMP agent and BER code, without sockets.

#include <gtest/gtest.h>

#include "Ber.h"
#include "SnmpAgent.h"
#include "SnmpTestUtil.h"

using namespace snmptest;
using printersim::AgentConfig;
using printersim::SnmpAgent;
namespace ber = printersim::ber;

namespace {

const ber::Oid kSysDescrOid = {1, 3, 6, 1, 2, 1, 1, 1, 0};
const ber::Oid kLine1Oid = {1, 3, 6, 1, 2, 1, 43, 16, 5, 1, 2, 1, 1};
const ber::Oid kLine2Oid = {1, 3, 6, 1, 2, 1, 43, 16, 5, 1, 2, 1, 2};

SnmpAgent makeAgent(std::string line2 = "") {
    AgentConfig config;
    config.community = "tamrel";
    config.values[kSysDescrOid] = "Corvasil Print Server";
    config.values[kLine1Oid] = "READY";
    config.values[kLine2Oid] = std::move(line2);
    return SnmpAgent(config);
}

Response replyTo(const SnmpAgent& agent, const Bytes& request) {
    auto reply = agent.handle(request);
    if (!reply) throw std::runtime_error("no reply");
    auto parsed = parse(*reply);
    if (!parsed) throw std::runtime_error("reply does not parse");
    return *parsed;
}

}  // namespace

TEST(printer_sim_agent, ReplyToSysDescrIsExactlyTheExpectedBytes) {
    const Bytes request = {0x30, 0x26, 0x02, 0x01, 0x00, 0x04, 0x06, 't',  'a',  'm',  'r',  'e',  'l',  0xA0,
                           0x19, 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x0E, 0x30, 0x0C,
                           0x06, 0x08, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x01, 0x00, 0x05, 0x00};
    const Bytes expected = cat({{0x30, 0x3B, 0x02, 0x01, 0x00, 0x04, 0x06},
                                str("tamrel"),
                                {0xA2, 0x2E, 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x23, 0x30,
                                 0x21, 0x06, 0x08, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x01, 0x00, 0x04, 0x15},
                                str("Corvasil Print Server")});
    auto reply = makeAgent().handle(request);
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, expected);
}

TEST(printer_sim_agent, AnswersAllThreeObjectsInRequestOrder) {
    Request r;
    r.oids = {kLine2, kSysDescr, kLine1};
    const auto reply = replyTo(makeAgent("PAPER OUT"), encode(r));
    EXPECT_EQ(reply.version, 0);
    EXPECT_EQ(reply.community, "tamrel");
    EXPECT_EQ(reply.pduTag, 0xA2);
    EXPECT_EQ(reply.errorStatus, 0);
    EXPECT_EQ(reply.errorIndex, 0);
    ASSERT_EQ(reply.binds.size(), 3u);
    EXPECT_EQ(reply.binds[0].oid, kLine2Oid);
    EXPECT_EQ(reply.binds[0].value, "PAPER OUT");
    EXPECT_EQ(reply.binds[1].oid, kSysDescrOid);
    EXPECT_EQ(reply.binds[1].value, "Corvasil Print Server");
    EXPECT_EQ(reply.binds[2].oid, kLine1Oid);
    EXPECT_EQ(reply.binds[2].value, "READY");
    for (const auto& b : reply.binds) EXPECT_EQ(b.valueTag, ber::OctetString);
}

TEST(printer_sim_agent, EmptyValueIsAnEmptyOctetString) {
    Request r;
    r.oids = {kLine2};
    const auto reply = replyTo(makeAgent(), encode(r));
    ASSERT_EQ(reply.binds.size(), 1u);
    EXPECT_EQ(reply.binds[0].valueTag, ber::OctetString);
    EXPECT_EQ(reply.binds[0].value, "");
}

TEST(printer_sim_agent, UnknownObjectGivesNoSuchNameAtItsIndexWithVarbindsUnchanged) {
    Request r;
    r.oids = {kSysDescr, kEnterprise, kSysObjectId};
    const Bytes request = encode(r);
    const auto reply = replyTo(makeAgent(), request);
    EXPECT_EQ(reply.pduTag, 0xA2);
    EXPECT_EQ(reply.errorStatus, 2);
    EXPECT_EQ(reply.errorIndex, 2);
    // The request's varbind list is the tail of the request.
    const Bytes requestList(request.end() - static_cast<std::ptrdiff_t>(reply.varbindList.size()), request.end());
    EXPECT_EQ(reply.varbindList, requestList);
    ASSERT_EQ(reply.binds.size(), 3u);
    EXPECT_EQ(reply.binds[1].oid, (ber::Oid{1, 3, 6, 1, 4, 1, 99999, 7}));
    EXPECT_EQ(reply.binds[0].valueTag, ber::Null);
}

TEST(printer_sim_agent, PrefixOfAKnownObjectIsUnknown) {
    Request r;
    r.oids = {Bytes(kSysDescr.begin(), kSysDescr.end() - 1)};  // 1.3.6.1.2.1.1.1
    const auto reply = replyTo(makeAgent(), encode(r));
    EXPECT_EQ(reply.errorStatus, 2);
    EXPECT_EQ(reply.errorIndex, 1);
}

TEST(printer_sim_agent, EmptyVarbindListGetsEmptyAnswer) {
    Request r;
    r.oids = {};
    const auto reply = replyTo(makeAgent(), encode(r));
    EXPECT_EQ(reply.errorStatus, 0);
    EXPECT_TRUE(reply.binds.empty());
}

class RequestIdEcho : public ::testing::TestWithParam<Bytes> {};

TEST_P(RequestIdEcho, SameIntegerComesBack) {
    Request r;
    r.requestId = GetParam();
    EXPECT_EQ(replyTo(makeAgent(), encode(r)).requestId, GetParam());
}

INSTANTIATE_TEST_SUITE_P(printer_sim_agent, RequestIdEcho,
                         ::testing::Values(Bytes{0x00}, Bytes{0x7F}, Bytes{0x00, 0x80}, Bytes{0x01, 0x23, 0x45},
                                           Bytes{0x7F, 0xFF, 0xFF, 0xFF}, Bytes{0xFF}, Bytes{0x80, 0x00, 0x00, 0x00}),
                         [](const auto& p) { return hexName(p.param); });

TEST(printer_sim_agent, LongFormLengthsInRequestAreAccepted) {
    Request r;
    r.longForm = true;
    r.requestId = {0x12, 0x34};
    r.oids = {kLine1};
    const auto reply = replyTo(makeAgent(), encode(r));
    EXPECT_EQ(reply.requestId, (Bytes{0x12, 0x34}));
    ASSERT_EQ(reply.binds.size(), 1u);
    EXPECT_EQ(reply.binds[0].value, "READY");
}

TEST(printer_sim_agent, ValuesOfHundredsOfBytesUseLongFormLengths) {
    const std::string text(300, 'Q');
    Request r;
    r.oids = {kLine2};
    auto reply = makeAgent(text).handle(encode(r));
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[1], 0x82);  // outer SEQUENCE length takes two bytes
    const auto parsed = parse(*reply);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->binds.size(), 1u);
    EXPECT_EQ(parsed->binds[0].value, text);
}

TEST(printer_sim_agent, IgnoresWrongCommunity) {
    Request r;
    r.community = "public";
    EXPECT_FALSE(makeAgent().handle(encode(r)));
    r.community = "tamrelx";
    EXPECT_FALSE(makeAgent().handle(encode(r)));
    r.community = "";
    EXPECT_FALSE(makeAgent().handle(encode(r)));
}

TEST(printer_sim_agent, IgnoresOtherVersionsAndPduTypes) {
    Request r;
    r.version = 1;  // v2c
    EXPECT_FALSE(makeAgent().handle(encode(r)));
    r.version = 3;
    EXPECT_FALSE(makeAgent().handle(encode(r)));
    r.version = 0;
    for (std::uint8_t tag : std::initializer_list<std::uint8_t>{0xA1, 0xA2, 0xA3, 0xA4, 0x30}) {
        r.pduTag = tag;
        EXPECT_FALSE(makeAgent().handle(encode(r))) << int(tag);
    }
}

TEST(printer_sim_agent, EveryTruncationIsIgnored) {
    Request r;
    r.oids = {kSysDescr, kLine1};
    const Bytes full = encode(r);
    const auto agent = makeAgent();
    for (std::size_t n = 0; n < full.size(); ++n)
        EXPECT_FALSE(agent.handle(std::span(full.data(), n))) << "prefix " << n;
}

TEST(printer_sim_agent, BytesAfterTheMessageAreIgnored) {
    Request r;
    r.oids = {kLine1};
    const Bytes message = encode(r);
    const auto agent = makeAgent();
    const auto plain = agent.handle(message);
    ASSERT_TRUE(plain);
    Bytes padded = message;
    padded.resize(256, 0x00);                               // the wizard's fixed-size request
    Bytes tail = cat({message, {0x30, 0x26, 0x02, 0x01}});  // the rest of an older, longer request
    for (const Bytes& request : {padded, tail}) {
        auto reply = agent.handle(request);
        ASSERT_TRUE(reply) << request.size();
        EXPECT_EQ(*reply, *plain);
    }
}

TEST(printer_sim_agent, FaultsSpoilExactlyOnePartOfTheReply) {
    using printersim::Fault;
    Request r;
    r.requestId = {0x01};
    r.oids = {kLine1};
    const auto agent = makeAgent();
    const Bytes genuine = *agent.handle(encode(r));
    const auto good = *parse(genuine);

    const auto malformed = agent.handle(encode(r), Fault::Malformed);
    ASSERT_TRUE(malformed);
    EXPECT_EQ(malformed->size(), genuine.size() - 3);
    EXPECT_FALSE(parse(*malformed));

    struct Case {
        Fault fault;
        Bytes requestId;
        std::int64_t errorStatus, errorIndex;
        ber::Oid oid;
    };
    const Case cases[] = {
        {Fault::WrongId, {0x02}, 0, 0, kLine1Oid},
        {Fault::WrongOid, {0x01}, 0, 0, {1, 3, 6, 1, 2, 1, 43, 16, 5, 1, 2, 1, 2}},
        {Fault::ErrorStatus, {0x01}, 5, 1, kLine1Oid},
    };
    for (const auto& c : cases) {
        const auto reply = replyTo(agent, encode(r));  // the genuine one stays unchanged
        EXPECT_EQ(reply.requestId, good.requestId);
        auto bad = agent.handle(encode(r), c.fault);
        ASSERT_TRUE(bad);
        auto parsed = parse(*bad);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->pduTag, 0xA2);
        EXPECT_EQ(parsed->requestId, c.requestId);
        EXPECT_EQ(parsed->errorStatus, c.errorStatus);
        EXPECT_EQ(parsed->errorIndex, c.errorIndex);
        ASSERT_EQ(parsed->binds.size(), 1u);
        EXPECT_EQ(parsed->binds[0].oid, c.oid);
        EXPECT_EQ(parsed->binds[0].value, "READY");
    }
}

TEST(printer_sim_agent, CorruptedBytesNeverGiveAMalformedReply) {
    Request r;
    r.oids = {kSysDescr, kEnterprise};
    const Bytes full = encode(r);
    const auto agent = makeAgent();
    for (std::size_t i = 0; i < full.size(); ++i) {
        for (std::uint8_t v :
             std::initializer_list<std::uint8_t>{0x00, 0x01, 0x1F, 0x7F, 0x80, 0x81, 0x82, 0x84, 0x85, 0xFF}) {
            Bytes bad = full;
            bad[i] = v;
            if (auto reply = agent.handle(bad)) {
                auto parsed = parse(*reply);
                ASSERT_TRUE(parsed) << "byte " << i << " = " << int(v);
                EXPECT_EQ(parsed->pduTag, 0xA2);
            }
        }
    }
}

TEST(printer_sim_agent, ImpossibleLengthsAreIgnored) {
    const auto agent = makeAgent();
    EXPECT_FALSE(agent.handle(Bytes{0x30, 0x84, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x01, 0x00}));
    EXPECT_FALSE(agent.handle(Bytes{0x30, 0x80, 0x02, 0x01, 0x00, 0x00, 0x00}));  // indefinite
    EXPECT_FALSE(agent.handle(Bytes{0x30, 0x88, 0, 0, 0, 0, 0, 0, 0, 3, 2, 1, 0}));
    EXPECT_FALSE(agent.handle(Bytes{0x30}));
    EXPECT_FALSE(agent.handle(Bytes{}));
}

TEST(printer_sim_ber, IntegersAreMinimalTwosComplement) {
    EXPECT_EQ(ber::encodeInteger(0), (Bytes{0x00}));
    EXPECT_EQ(ber::encodeInteger(127), (Bytes{0x7F}));
    EXPECT_EQ(ber::encodeInteger(128), (Bytes{0x00, 0x80}));
    EXPECT_EQ(ber::encodeInteger(256), (Bytes{0x01, 0x00}));
    EXPECT_EQ(ber::encodeInteger(-1), (Bytes{0xFF}));
    EXPECT_EQ(ber::encodeInteger(-128), (Bytes{0x80}));
    EXPECT_EQ(ber::encodeInteger(-129), (Bytes{0xFF, 0x7F}));
    EXPECT_EQ(ber::encodeInteger(0x7FFFFFFF), (Bytes{0x7F, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ber::decodeInteger(Bytes{0xFF, 0x7F}), -129);
    EXPECT_EQ(ber::decodeInteger(Bytes{0x00, 0x80}), 128);
    EXPECT_FALSE(ber::decodeInteger(Bytes{}));
    EXPECT_FALSE(ber::decodeInteger(Bytes(9, 0x01)));
}

TEST(printer_sim_ber, OidsRoundTripAndRejectBadArcs) {
    const ber::Oid oid = {1, 3, 6, 1, 4, 1, 99999, 0xFFFFFFFFu};
    EXPECT_EQ(ber::decodeOid(ber::encodeOid(oid)), oid);
    EXPECT_EQ(ber::encodeOid({1, 3, 6, 1, 4, 1, 99999, 7}), kEnterprise);
    EXPECT_EQ(ber::decodeOid(Bytes{0x88, 0x37}), (ber::Oid{2, 999}));
    EXPECT_FALSE(ber::decodeOid(Bytes{0x2B, 0x86}));                          // unterminated
    EXPECT_FALSE(ber::decodeOid(Bytes{0x2B, 0x90, 0x80, 0x80, 0x80, 0x00}));  // over 32 bits
    EXPECT_FALSE(ber::decodeOid(Bytes{}));
}

TEST(printer_sim_ber, LengthsOfAllSizes) {
    for (std::size_t size : {0u, 1u, 127u, 128u, 255u, 256u, 65535u, 65536u}) {
        Bytes content(size, 0xAB);
        Bytes out;
        ber::appendTlv(out, ber::OctetString, content);
        ber::Reader reader(out);
        auto tlv = reader.next(ber::OctetString);
        ASSERT_TRUE(tlv) << size;
        EXPECT_EQ(tlv->content.size(), size);
        EXPECT_TRUE(reader.atEnd());
    }
}
