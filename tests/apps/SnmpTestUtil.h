#pragma once
// Hand-built SNMPv1 requests and a reply parser for the simulator tests.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Ber.h"

namespace snmptest {

using Bytes = std::vector<std::uint8_t>;

// Test parameter name for bytes, e.g. "x7FFFFFFF".
inline std::string hexName(const Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string name = "x";
    for (auto b : bytes) {
        name += digits[b >> 4];
        name += digits[b & 0x0F];
    }
    return name;
}

inline Bytes str(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Tag, length, content; longForm writes the length as 0x82 hi lo even when short.
inline Bytes tlv(std::uint8_t tag, const Bytes& content, bool longForm = false) {
    Bytes out{tag};
    if (longForm) {
        out.push_back(0x82);
        out.push_back(static_cast<std::uint8_t>(content.size() >> 8));
        out.push_back(static_cast<std::uint8_t>(content.size() & 0xFF));
    } else {
        if (content.size() >= 0x80) throw std::length_error("short form only");
        out.push_back(static_cast<std::uint8_t>(content.size()));
    }
    out.insert(out.end(), content.begin(), content.end());
    return out;
}

// OID contents.
inline const Bytes kSysDescr = {0x2B, 6, 1, 2, 1, 1, 1, 0};
inline const Bytes kLine1 = {0x2B, 6, 1, 2, 1, 0x2B, 0x10, 5, 1, 2, 1, 1};
inline const Bytes kLine2 = {0x2B, 6, 1, 2, 1, 0x2B, 0x10, 5, 1, 2, 1, 2};
inline const Bytes kSysObjectId = {0x2B, 6, 1, 2, 1, 1, 2, 0};
// 1.3.6.1.4.1.99999.7 (multi-byte arc)
inline const Bytes kEnterprise = {0x2B, 6, 1, 4, 1, 0x86, 0x8D, 0x1F, 7};

struct Request {
    std::string community = "tamrel";
    Bytes requestId = {0x01};  // INTEGER content
    std::vector<Bytes> oids = {kSysDescr};
    std::uint8_t pduTag = 0xA0;
    std::uint8_t version = 0;
    bool longForm = false;
};

inline Bytes encode(const Request& r) {
    const bool lf = r.longForm;
    Bytes list;
    for (const auto& oid : r.oids) list = cat({list, tlv(0x30, cat({tlv(0x06, oid, lf), {0x05, 0x00}}), lf)});
    const Bytes pdu = cat({tlv(0x02, r.requestId, lf), tlv(0x02, {0}, lf), tlv(0x02, {0}, lf), tlv(0x30, list, lf)});
    return tlv(0x30, cat({tlv(0x02, {r.version}, lf), tlv(0x04, str(r.community), lf), tlv(r.pduTag, pdu, lf)}), lf);
}

struct VarBind {
    printersim::ber::Oid oid;
    std::uint8_t valueTag = 0;
    std::string value;
};

struct Response {
    std::int64_t version = -1;
    std::string community;
    std::uint8_t pduTag = 0;
    Bytes requestId;  // INTEGER content as sent
    std::int64_t errorStatus = -1;
    std::int64_t errorIndex = -1;
    Bytes varbindList;  // content of the varbind SEQUENCE
    std::vector<VarBind> binds;
};

inline std::optional<Response> parse(std::span<const std::uint8_t> datagram) {
    namespace ber = printersim::ber;
    Response r;
    ber::Reader top(datagram);
    auto msg = top.next(ber::Sequence);
    if (!msg || !top.atEnd()) return std::nullopt;
    ber::Reader m(msg->content);
    auto version = m.next(ber::Integer);
    auto community = m.next(ber::OctetString);
    auto pdu = m.next();
    if (!version || !community || !pdu || !m.atEnd()) return std::nullopt;
    r.version = ber::decodeInteger(version->content).value_or(-1);
    r.community.assign(community->content.begin(), community->content.end());
    r.pduTag = pdu->tag;
    ber::Reader p(pdu->content);
    auto id = p.next(ber::Integer);
    auto status = p.next(ber::Integer);
    auto index = p.next(ber::Integer);
    auto list = p.next(ber::Sequence);
    if (!id || !status || !index || !list || !p.atEnd()) return std::nullopt;
    r.requestId.assign(id->content.begin(), id->content.end());
    r.errorStatus = ber::decodeInteger(status->content).value_or(-1);
    r.errorIndex = ber::decodeInteger(index->content).value_or(-1);
    r.varbindList.assign(list->content.begin(), list->content.end());
    ber::Reader l(list->content);
    while (!l.atEnd()) {
        auto bind = l.next(ber::Sequence);
        if (!bind) return std::nullopt;
        ber::Reader b(bind->content);
        auto oid = b.next(ber::ObjectId);
        auto value = b.next();
        if (!oid || !value || !b.atEnd()) return std::nullopt;
        auto arcs = ber::decodeOid(oid->content);
        if (!arcs) return std::nullopt;
        r.binds.push_back({*arcs, value->tag, std::string(value->content.begin(), value->content.end())});
    }
    return r;
}

}  // namespace snmptest
