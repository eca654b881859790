#include "support/SnmpServer.h"
#include "support/ServerProcess.h"
#include "support/TempDir.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <vector>

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;

// A v1 GetRequest for sysDescr.0 with the community.
std::vector<std::uint8_t> probe(const std::string& community) {
    const std::vector<std::uint8_t> oid = {0x2B, 6, 1, 2, 1, 1, 1, 0};
    std::vector<std::uint8_t> bind = {0x30, static_cast<std::uint8_t>(oid.size() + 4), 0x06,
                                      static_cast<std::uint8_t>(oid.size())};
    bind.insert(bind.end(), oid.begin(), oid.end());
    bind.insert(bind.end(), {0x05, 0x00});
    std::vector<std::uint8_t> pdu = {0x02, 1, 1, 0x02, 1, 0, 0x02, 1, 0, 0x30, static_cast<std::uint8_t>(bind.size())};
    pdu.insert(pdu.end(), bind.begin(), bind.end());
    std::vector<std::uint8_t> body = {0x02, 1, 0, 0x04, static_cast<std::uint8_t>(community.size())};
    body.insert(body.end(), community.begin(), community.end());
    body.insert(body.end(), {0xA0, static_cast<std::uint8_t>(pdu.size())});
    body.insert(body.end(), pdu.begin(), pdu.end());
    std::vector<std::uint8_t> message = {0x30, static_cast<std::uint8_t>(body.size())};
    message.insert(message.end(), body.begin(), body.end());
    return message;
}

void checkText(const std::string& text) {
    if (text.find_first_of("\"\r\n") != std::string::npos)
        throw std::invalid_argument("snmpd: a configured text holds a quote or a line break");
}

}  // namespace

SnmpServer::SnmpServer(SnmpdOptions options, std::chrono::milliseconds startTimeout) : options_(std::move(options)) {
    for (const auto* text : {&options_.community, &options_.sysDescr, &options_.line1, &options_.line2})
        checkText(*text);
    if (::access(binary(), X_OK) != 0)
        throw std::runtime_error(std::string(binary()) + " is missing: install the package snmpd");
    root_ = makeTempFolder("quill-snmpd");
    startWithRetries(
        "snmpd", root_,
        [&] {
            port_ = freeLoopbackPort(SOCK_DGRAM, options_.address);
            start(startTimeout);
        },
        [this] { stop(); });
}

SnmpServer::~SnmpServer() {
    stop();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::string SnmpServer::agent() const { return "udp:" + options_.address + ":" + std::to_string(port_); }

std::string SnmpServer::log() const { return readFile((root_ / "snmpd.log").string()); }

void SnmpServer::start(std::chrono::milliseconds timeout) {
    const std::string conf = (root_ / "snmpd.conf").string();
    {
        std::ofstream out(conf);
        out << "rocommunity " << options_.community << "\n"
            << "sysdescr " << options_.sysDescr << "\n"
            << "override 1.3.6.1.2.1.43.16.5.1.2.1.1 octet_str \"" << options_.line1 << "\"\n"
            << "override 1.3.6.1.2.1.43.16.5.1.2.1.2 octet_str \"" << options_.line2 << "\"\n";
    }
    const std::string logFile = (root_ / "snmpd.log").string();
    const std::string persist = (root_ / "persist").string();
    const std::string listen = agent();
    pid_ = startServer(binary(), {"snmpd", "-f", "-C", "-c", conf, "-Lf", logFile, listen}, "",
                       {{"SNMP_PERSISTENT_DIR", persist}, {"MIBS", ""}});
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("snmpd exited (status " + std::to_string(status) + "):\n" + log());
        }
        // Two answers in a row: right after its first one, a freshly started
        // agent on a busy machine may still drop a request now and then.
        if (answers(std::chrono::milliseconds(100)) && answers(std::chrono::milliseconds(100))) return;
    }
    throw std::runtime_error("snmpd does not answer:\n" + log());
}

// One probe; waits on the socket for the reply, never on a clock.
bool SnmpServer::answers(std::chrono::milliseconds timeout) const {
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const sockaddr_in sa = loopbackAddress(options_.address, port_);
    const auto request = probe(options_.community);
    bool ok = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0 &&
        ::send(fd, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(timeout.count())) > 0) {
            std::uint8_t reply[1500];
            ok = ::recv(fd, reply, sizeof reply, 0) > 0;
        }
    }
    ::close(fd);
    return ok;
}

void SnmpServer::stop() {
    if (pid_ <= 0) return;
    stopServer(pid_, std::chrono::seconds(5));
    pid_ = -1;
}

}  // namespace testsupport
