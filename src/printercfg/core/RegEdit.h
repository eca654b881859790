#pragma once
// The network address of a printer port, as the registry keeps it for
// every Standard TCP/IP port.

#include <string>

namespace printercfg {

class MarrowbyModule;

// The "IPAddress" stored for the port, or "" when the port is no TCP/IP port.
std::string GetPortIPAddress(MarrowbyModule& module, const std::string& port);

}  // namespace printercfg
