#pragma once
// SNMPv1 GetRequest responder over a fixed table of OCTET STRING values.

#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "Ber.h"

namespace printersim {

struct AgentConfig {
    std::string community = "tamrel";
    std::map<ber::Oid, std::string> values;
};

// Ways a reply can go wrong that a well-behaved agent never shows.
enum class Fault {
    None,
    Malformed,    // the reply's last 3 bytes cut off: its lengths run past the datagram
    WrongId,      // request id + 1
    WrongOid,     // each answered OID's last arc + 1
    ErrorStatus,  // genErr (5) at index 1, with the values all the same
};

class SnmpAgent {
public:
    // Largest reply that fits one UDP datagram over IPv4.
    static constexpr std::size_t kMaxReply = 65507;

    explicit SnmpAgent(AgentConfig config) : config_(std::move(config)) {}

    // The reply to one datagram, or nullopt when it must be ignored
    // (malformed, not version 1, wrong community, not a GetRequest). Bytes
    // after the message (a request padded to a fixed size) are ignored.
    std::optional<ber::Bytes> handle(std::span<const std::uint8_t> datagram, Fault fault = Fault::None) const;

private:
    AgentConfig config_;
};

}  // namespace printersim
