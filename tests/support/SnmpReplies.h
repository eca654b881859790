#pragma once
// SNMPv1 replies built by hand, as an agent sends them, for the tests of the
// SNMP client: GetResponse messages of community "tamrel" with one binding.

#include <initializer_list>
#include <string>

namespace testsupport::snmp {

// A string of the given byte values.
inline std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s += static_cast<char>(b);
    return s;
}

// A BER tag, length and content; `longForm`: a length of two bytes after 0x82.
inline std::string tlv(int tag, const std::string& content, bool longForm = false) {
    std::string out(1, static_cast<char>(tag));
    if (longForm)
        out += bytes({0x82, static_cast<int>(content.size() >> 8), static_cast<int>(content.size() & 0xFF)});
    else
        out += static_cast<char>(content.size());
    return out + content;
}

// Encoded OIDs: the system description and the two front-panel lines.
inline const std::string SysDescr = bytes({0x2B, 6, 1, 2, 1, 1, 1, 0});
inline const std::string Line1 = bytes({0x2B, 6, 1, 2, 1, 0x2B, 0x10, 5, 1, 2, 1, 1});
inline const std::string Line2 = bytes({0x2B, 6, 1, 2, 1, 0x2B, 0x10, 5, 1, 2, 1, 2});

// The parts of a reply that a test may change.
struct Reply {
    std::string oid = SysDescr;
    int valueTag = 0x04;
    std::string value;
    std::string requestId = bytes({1});
    int errorStatus = 0;
    int pduTag = 0xA2;
    bool longForm = false;
};

inline std::string encode(const Reply& r) {
    const bool lf = r.longForm;
    const std::string bind = tlv(0x30, tlv(0x06, r.oid) + tlv(r.valueTag, r.value, lf), lf);
    const std::string pdu =
        tlv(0x02, r.requestId) + tlv(0x02, bytes({r.errorStatus})) + tlv(0x02, bytes({0})) + tlv(0x30, bind, lf);
    return tlv(0x30, tlv(0x02, bytes({0})) + tlv(0x04, "tamrel") + tlv(r.pduTag, pdu, lf), lf);
}

}  // namespace testsupport::snmp
