#include "SnmpAgent.h"

#include <string_view>
#include <vector>

namespace printersim {

namespace {

struct VarBind {
    std::span<const std::uint8_t> whole;  // the varbind SEQUENCE as received
    std::span<const std::uint8_t> oid;    // the OID TLV as received
    ber::Oid arcs;
};

void appendInteger(ber::Bytes& out, std::int64_t value) {
    ber::appendTlv(out, ber::Integer, ber::encodeInteger(value));
}

ber::Bytes buildReply(std::string_view community, std::int64_t requestId, int errorStatus, std::size_t errorIndex,
                      const ber::Bytes& varbinds) {
    ber::Bytes pdu;
    appendInteger(pdu, requestId);
    appendInteger(pdu, errorStatus);
    appendInteger(pdu, static_cast<std::int64_t>(errorIndex));
    ber::appendTlv(pdu, ber::Sequence, varbinds);

    ber::Bytes message;
    appendInteger(message, 0);
    ber::appendTlv(message, ber::OctetString,
                   std::span(reinterpret_cast<const std::uint8_t*>(community.data()), community.size()));
    ber::appendTlv(message, ber::GetResponse, pdu);

    ber::Bytes out;
    ber::appendTlv(out, ber::Sequence, message);
    return out;
}

}  // namespace

std::optional<ber::Bytes> SnmpAgent::handle(std::span<const std::uint8_t> datagram, Fault fault) const {
    ber::Reader top(datagram);
    auto message = top.next(ber::Sequence);
    if (!message) return std::nullopt;

    ber::Reader fields(message->content);
    auto version = fields.next(ber::Integer);
    if (!version) return std::nullopt;
    auto versionValue = ber::decodeInteger(version->content);
    if (!versionValue || *versionValue != 0) return std::nullopt;
    auto community = fields.next(ber::OctetString);
    if (!community) return std::nullopt;
    const std::string communityText(community->content.begin(), community->content.end());
    if (communityText != config_.community) return std::nullopt;
    auto pdu = fields.next(ber::GetRequest);
    if (!pdu || !fields.atEnd()) return std::nullopt;

    ber::Reader pduFields(pdu->content);
    auto requestId = pduFields.next(ber::Integer);
    auto errorStatus = pduFields.next(ber::Integer);
    auto errorIndex = pduFields.next(ber::Integer);
    auto varbindList = pduFields.next(ber::Sequence);
    if (!requestId || !errorStatus || !errorIndex || !varbindList || !pduFields.atEnd()) return std::nullopt;
    auto requestIdValue = ber::decodeInteger(requestId->content);
    if (!requestIdValue || !ber::decodeInteger(errorStatus->content) || !ber::decodeInteger(errorIndex->content))
        return std::nullopt;

    std::vector<VarBind> binds;
    ber::Reader list(varbindList->content);
    while (!list.atEnd()) {
        auto bind = list.next(ber::Sequence);
        if (!bind) return std::nullopt;
        ber::Reader parts(bind->content);
        auto oid = parts.next(ber::ObjectId);
        auto value = parts.next();
        if (!oid || !value || !parts.atEnd()) return std::nullopt;
        auto arcs = ber::decodeOid(oid->content);
        if (!arcs) return std::nullopt;
        binds.push_back({bind->whole, oid->whole, std::move(*arcs)});
    }

    std::size_t failedIndex = 0;
    for (std::size_t i = 0; i < binds.size() && failedIndex == 0; ++i)
        if (!config_.values.contains(binds[i].arcs)) failedIndex = i + 1;

    ber::Bytes echoed;
    for (const auto& bind : binds) echoed.insert(echoed.end(), bind.whole.begin(), bind.whole.end());

    const std::int64_t id = *requestIdValue + (fault == Fault::WrongId ? 1 : 0);
    auto finish = [&](ber::Bytes reply) {
        if (fault == Fault::Malformed && reply.size() > 3) reply.resize(reply.size() - 3);
        return reply;
    };

    if (failedIndex != 0)  // noSuchName, varbinds unchanged
        return finish(buildReply(communityText, id, 2, failedIndex, echoed));

    ber::Bytes answered;
    for (const auto& bind : binds) {
        const std::string& text = config_.values.at(bind.arcs);
        ber::Bytes one;
        if (fault == Fault::WrongOid) {
            ber::Oid other = bind.arcs;
            other.back() += 1;
            ber::appendTlv(one, ber::ObjectId, ber::encodeOid(other));
        } else {
            one.assign(bind.oid.begin(), bind.oid.end());
        }
        ber::appendTlv(one, ber::OctetString,
                       std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        ber::appendTlv(answered, ber::Sequence, one);
    }
    const bool genErr = fault == Fault::ErrorStatus;
    auto reply = buildReply(communityText, id, genErr ? 5 : 0, genErr ? 1 : 0, answered);
    if (reply.size() <= kMaxReply) return finish(std::move(reply));

    reply = buildReply(communityText, id, 1, 0, echoed);  // tooBig
    if (reply.size() <= kMaxReply) return finish(std::move(reply));
    return std::nullopt;
}

}  // namespace printersim
