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

class SnmpAgent {
public:
    // Largest reply that fits one UDP datagram over IPv4.
    static constexpr std::size_t kMaxReply = 65507;

    explicit SnmpAgent(AgentConfig config) : config_(std::move(config)) {}

    // The reply to one datagram, or nullopt when it must be ignored
    // (malformed, not version 1, wrong community, not a GetRequest).
    std::optional<ber::Bytes> handle(std::span<const std::uint8_t> datagram) const;

private:
    AgentConfig config_;
};

}  // namespace printersim
