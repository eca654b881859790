#pragma once
// Runs build/bin/printer-sim as a child process for a test: a fresh jobs
// folder, free ports, and the simulator's stdout lines read with timeouts.

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/Loopback.h"

namespace testsupport {

using namespace std::chrono_literals;

struct PrinterSimOptions {
    std::string address = randomLoopback();  // any 127.x.y.z
    std::uint16_t tcpPort = 0;               // 0: a free port
    std::uint16_t snmpPort = 0;              // 0: a free port
    bool snmp = true;
    std::optional<std::string> community;  // simulator default "tamrel"
    std::optional<std::string> sysDescr;   // default "Corvasil Print Server"
    std::optional<std::string> line1;      // default "READY"
    std::optional<std::string> line2;      // default ""
    std::optional<unsigned> delayReplyMs;
    // Bad replies before the genuine one: "malformed", "wrong-id",
    // "wrong-oid", "error-status", "foreign-port", "foreign-address".
    std::vector<std::string> misreplies;
    bool genuineReply = true;
    std::optional<std::string> foreignAddress;  // default: another random loopback address
    std::vector<std::string> extraArgs;
};

// The device URI of CUPS's socket backend for a printer on loopback that the
// backend does not ask over SNMP (it would ask the agent's usual port, and
// wait for an answer).
inline std::string socketUri(const std::string& address, std::uint16_t port) {
    return "socket://" + address + ":" + std::to_string(port) + "/?snmp=false";
}

struct SimJob {
    unsigned number = 0;  // as in job-0001.prn; counts accepted connections
    std::size_t size = 0;
    std::filesystem::path path;
};

struct ProgramResult {
    int exitCode = -1;  // 128 + signal if killed by one
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Runs a program to completion, capturing stdout and stderr; killed after
// the timeout. It runs in `cwd` when one is given, with the test's
// environment.
ProgramResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         std::chrono::milliseconds timeout = 10s, const std::filesystem::path& cwd = {});

class PrinterSim {
public:
    // Starts the simulator and waits for "ready"; throws std::runtime_error
    // when it does not come within startTimeout.
    explicit PrinterSim(PrinterSimOptions options = {}, std::chrono::milliseconds startTimeout = 10s);
    ~PrinterSim();
    PrinterSim(const PrinterSim&) = delete;
    PrinterSim& operator=(const PrinterSim&) = delete;

    const std::string& address() const { return options_.address; }
    std::uint16_t tcpPort() const { return tcpPort_; }
    std::uint16_t udpPort() const { return udpPort_; }  // 0 with snmp off
    const std::filesystem::path& jobsDir() const { return jobsDir_; }
    pid_t pid() const { return pid_; }

    // True once at least count jobs have been reported.
    bool waitForJobs(std::size_t count, std::chrono::milliseconds timeout = 10s);
    // Jobs in the order they were reported (completion order).
    const std::vector<SimJob>& jobs() const { return jobs_; }
    // Stored bytes of jobs()[index]; throws std::out_of_range.
    std::vector<std::uint8_t> jobBytes(std::size_t index) const;
    std::string jobText(std::size_t index) const;

    // SIGTERM, then reap; returns the exit code (128 + signal if killed).
    // Called by the destructor if not done before.
    int stop(std::chrono::milliseconds timeout = 5s);

    static std::filesystem::path binary();
    // Runs the simulator with raw arguments to completion (e.g. refusals).
    static ProgramResult run(const std::vector<std::string>& args, std::chrono::milliseconds timeout = 10s);

private:
    std::optional<std::string> readLine(std::chrono::steady_clock::time_point deadline);
    void handleLine(const std::string& line);
    int reap(std::chrono::milliseconds timeout);
    void cleanup();

    PrinterSimOptions options_;
    std::filesystem::path jobsDir_;
    pid_t pid_ = -1;
    int out_ = -1;
    bool eof_ = false;
    int exitCode_ = -1;
    std::string buffer_;
    std::uint16_t tcpPort_ = 0;
    std::uint16_t udpPort_ = 0;
    std::vector<SimJob> jobs_;
};

}  // namespace testsupport
