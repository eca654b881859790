#pragma once
// What the system-information window shows: the machine, the toolkit and
// spooler versions, and the installed print queues.

#include <string>
#include <vector>

namespace platform {
class Spooler;
}

namespace sysinfo {

struct Queue {
    std::string name;
    std::string driver;  // empty when the queue could not be read
    std::string port;
};

struct SystemSummary {
    std::string host;
    std::string kernel;
    std::string distribution;
    std::string qtVersion;
    std::string cupsVersion;
    std::vector<Queue> queues;
};

// `cupsServer`: what the scheduler says of itself, or empty.
SystemSummary Collect(platform::Spooler& spooler, const std::string& cupsServer);

// The "Server" header of the scheduler the environment names; empty when it does not answer.
std::string CupsServerVersion();

}  // namespace sysinfo
