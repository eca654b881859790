#pragma once
// Debian's net-snmp agent for a test: snmpd started on a free loopback UDP
// port with a configuration of its own in a temporary folder (read-only
// community, system description, the two front-panel lines served as
// OCTET STRINGs), stopped at the end.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "support/Loopback.h"

namespace testsupport {

struct SnmpdOptions {
    std::string address = randomLoopback();  // any 127.x.y.z
    std::string community = "tamrel";
    std::string sysDescr = "Tessivarn 7391-Q25 Corvasil Print Server";
    std::string line1 = "READY";
    std::string line2 = "MEDIA 4.00 X 6.00";
};

class SnmpServer {
public:
    // Starts snmpd and waits until it answers twice in a row; throws std::runtime_error
    // (with its log) when it does not, or when snmpd is not installed.
    explicit SnmpServer(SnmpdOptions options = {}, std::chrono::milliseconds startTimeout = std::chrono::seconds(10));
    ~SnmpServer();
    SnmpServer(const SnmpServer&) = delete;
    SnmpServer& operator=(const SnmpServer&) = delete;

    const SnmpdOptions& options() const { return options_; }
    const std::string& address() const { return options_.address; }
    std::uint16_t port() const { return port_; }
    // "udp:ADDRESS:PORT", as snmpget takes the agent.
    std::string agent() const;
    std::string log() const;
    bool running() const { return pid_ > 0; }

    // SIGTERM, then reap; the port goes dead.
    void stop();

    static const char* binary() { return "/usr/sbin/snmpd"; }

private:
    void start(std::chrono::milliseconds timeout);
    bool answers(std::chrono::milliseconds timeout) const;

    SnmpdOptions options_;
    std::filesystem::path root_;
    std::uint16_t port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace testsupport
