#pragma once
// The SNMP module of the printer wizard: the SNMPv1 request record and its
// encoder, and a bounded reader of the agent's reply. Nothing here touches
// the network; ProgressDlg sends and receives.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace printercfg {

constexpr std::size_t SnmpBufferSize = 256;
constexpr std::uint8_t SnmpGetRequest = 0xA0;
constexpr std::uint8_t SnmpGetResponse = 0xA2;
constexpr std::uint8_t SnmpRequestId = 1;

using SnmpBuffer = std::array<std::uint8_t, SnmpBufferSize>;

// One GetRequest with one variable binding whose value is Null.
struct SnmpRequest {
    std::uint8_t version = 0;  // SNMPv1
    std::string community;     // the community's bytes
    std::uint8_t getType = SnmpGetRequest;
    std::uint8_t requestId = SnmpRequestId;
    std::string name;  // the encoded OID
};

// The OID text as BER content: 0x2B for the leading arcs 1.3, then each
// further arc in base-128 groups. A trailing dot is dropped. None when a
// piece after the first two is no decimal arc of 32 bits at most.
std::optional<std::string> EncodeSnmpOid(const std::string& oidText);

// Writes the request into the buffer from byte 0, after clearing all of it,
// and gives the message length. False (the buffer then all zero) when the
// message would not fit into the buffer.
bool EncodeSnmpRequest(const SnmpRequest& request, SnmpBuffer& buffer, std::size_t& length);

// The reply text of a datagram that is a GetResponse with request id
// `requestId`, error status 0 and one binding named `oid` (encoded). None for
// anything else: a datagram that is malformed, ends early, holds an
// indefinite or oversized length, or answers another request.
//
// The binding's value gives the text:
//   INTEGER family (0x02, 0x03, 0x08, 0x41, 0x42, 0x43): the content bytes
//     as hexadecimal digits read as a two's-complement number of 16 bits (up
//     to two bytes), 32 bits (three or four) or 64 bits (five to eight), in
//     decimal, then CR LF; "0" CR LF for no content;
//   OCTET STRING: its bytes, exactly;
//   Null (0x05) and IpAddress (0x40): the content (four bytes at most) as a
//     32-bit number, in dotted form, then CR LF;
//   any other tag: "Unknown &H" and the tag in hexadecimal.
std::optional<std::string> DecodeSnmpReply(std::string_view datagram, std::uint8_t requestId, std::string_view oid);

// The value text of one tag and its content, as above; none when the
// content does not fit the tag.
std::optional<std::string> DecodeSnmpValue(std::uint8_t tag, std::string_view content);

// The dotted form of an IPv4 address, most significant byte first.
std::string FormatIpAddress(std::uint32_t address);

}  // namespace printercfg
