// printer-sim: a stand-in for a thermal label printer on loopback. Raw TCP
// jobs are stored byte for byte; a small SNMPv1 agent answers GetRequests.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "SnmpAgent.h"

namespace fs = std::filesystem;
using namespace printersim;
using Clock = std::chrono::steady_clock;

namespace {

struct Options {
    std::string address = "127.0.0.1";
    unsigned tcpPort = 9100;
    unsigned snmpPort = 161;
    bool snmp = true;
    fs::path jobs = "jobs";
    std::string community = "tamrel";
    std::string sysDescr = "Corvasil Print Server";
    std::string line1 = "READY";
    std::string line2;
    unsigned delayMs = 0;
    // Bad replies sent, in this order, before the genuine one.
    std::vector<std::string> misreplies;
    bool genuineReply = true;
    std::string foreignAddress = "127.0.0.99";
};

const char* const kMisreplies[] = {"malformed",    "wrong-id",     "wrong-oid",
                                   "error-status", "foreign-port", "foreign-address"};

const char kUsage[] =
    "usage: printer-sim [--address A] [--tcp-port P] [--snmp-port P | --no-snmp]\n"
    "                   [--jobs DIR] [--community C] [--sysdescr TEXT]\n"
    "                   [--line1 TEXT] [--line2 TEXT] [--delay-reply MS]\n"
    "                   [--misreply MODE]... [--no-genuine-reply] [--foreign-address A]\n"
    "  MODE: malformed, wrong-id, wrong-oid, error-status (a spoilt reply), foreign-port,\n"
    "  foreign-address (the reply sent from another port, or from A on the same port).\n"
    "  Bad replies go out in the order given, before the genuine one.\n";

[[noreturn]] void usageError(const std::string& message) {
    std::fprintf(stderr, "printer-sim: %s\n%s", message.c_str(), kUsage);
    std::exit(2);
}

unsigned parseNumber(std::string_view option, std::string_view text, unsigned max) {
    unsigned value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value > max)
        usageError("bad value for " + std::string(option) + ": '" + std::string(text) + "'");
    return value;
}

Options parseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (arg == "--no-snmp") {
            o.snmp = false;
            continue;
        }
        if (arg == "--no-genuine-reply") {
            o.genuineReply = false;
            continue;
        }
        if (i + 1 >= argc) usageError("missing value for " + std::string(arg));
        const std::string_view value = argv[++i];
        if (arg == "--address")
            o.address = value;
        else if (arg == "--tcp-port")
            o.tcpPort = parseNumber(arg, value, 65535);
        else if (arg == "--snmp-port")
            o.snmpPort = parseNumber(arg, value, 65535);
        else if (arg == "--jobs")
            o.jobs = value;
        else if (arg == "--community")
            o.community = value;
        else if (arg == "--sysdescr")
            o.sysDescr = value;
        else if (arg == "--line1")
            o.line1 = value;
        else if (arg == "--line2")
            o.line2 = value;
        else if (arg == "--delay-reply")
            o.delayMs = parseNumber(arg, value, 3600000);
        else if (arg == "--foreign-address")
            o.foreignAddress = value;
        else if (arg == "--misreply") {
            if (std::find(std::begin(kMisreplies), std::end(kMisreplies), value) == std::end(kMisreplies))
                usageError("unknown misreply " + std::string(value));
            o.misreplies.emplace_back(value);
        } else
            usageError("unknown option " + std::string(arg));
    }
    return o;
}

bool isLoopback(const in_addr& a) { return (ntohl(a.s_addr) >> 24) == 127; }

void die(const std::string& what) {
    std::fprintf(stderr, "printer-sim: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(1);
}

// Unbuffered, complete line output; the protocol on stdout is line based.
void emit(const std::string& line) {
    std::string text = line + "\n";
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(STDOUT_FILENO, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;  // reader gone; keep serving
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

bool writeAll(int fd, const std::uint8_t* p, std::size_t left) {
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const int saved = errno;
    const char c = 1;
    [[maybe_unused]] auto r = ::write(signalPipe[1], &c, 1);
    errno = saved;
}

int openSocket(int type, const in_addr& address, unsigned port) {
    int fd = ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) die("socket");
    if (type == SOCK_STREAM) {
        int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    }
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    sa.sin_addr = address;
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) < 0)
        die(std::string("bind ") + text + ":" + std::to_string(port));
    if (type == SOCK_STREAM && ::listen(fd, 64) < 0) die("listen");
    return fd;
}

unsigned boundPort(int fd) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) < 0) die("getsockname");
    return ntohs(sa.sin_port);
}

struct Job {
    int socket = -1;
    int file = -1;
    unsigned number = 0;
    std::size_t bytes = 0;
    bool failed = false;
    fs::path partPath;
    fs::path finalPath;
};

struct PendingReply {
    Clock::time_point due;
    int socket;
    sockaddr_in to;
    ber::Bytes data;
};

class Simulator {
public:
    Simulator(Options options, int tcp, int udp, int foreignPort, int foreignAddress)
        : options_(std::move(options)),
          tcp_(tcp),
          udp_(udp),
          foreignPort_(foreignPort),
          foreignAddress_(foreignAddress),
          agent_(makeConfig(options_)) {}

    int run() {
        std::vector<std::uint8_t> buffer(256 * 1024);
        for (;;) {
            std::vector<pollfd> fds;
            fds.push_back({signalPipe[0], POLLIN, 0});
            fds.push_back({tcp_, POLLIN, 0});
            if (udp_ >= 0) fds.push_back({udp_, POLLIN, 0});
            const std::size_t firstJob = fds.size();
            for (const Job& job : jobs_) fds.push_back({job.socket, POLLIN, 0});

            int rc = ::poll(fds.data(), fds.size(), pollTimeout());
            if (rc < 0 && errno != EINTR) die("poll");
            if (rc > 0 && (fds[0].revents & POLLIN)) break;
            if (rc > 0 && (fds[1].revents & POLLIN)) acceptJobs();
            if (rc > 0 && udp_ >= 0 && (fds[2].revents & POLLIN)) readDatagrams(buffer);

            auto job = jobs_.begin();
            for (std::size_t i = firstJob; i < fds.size(); ++i) {
                auto current = job++;
                if (fds[i].revents != 0 && !readJob(*current, buffer)) finish(current);
            }
            sendDueReplies();
        }
        for (Job& job : jobs_) {  // interrupted jobs are not reported
            ::close(job.socket);
            if (job.file >= 0) ::close(job.file);
            std::error_code ec;
            fs::remove(job.partPath, ec);
        }
        return 0;
    }

private:
    static AgentConfig makeConfig(const Options& o) {
        AgentConfig config;
        config.community = o.community;
        config.values[{1, 3, 6, 1, 2, 1, 1, 1, 0}] = o.sysDescr;
        config.values[{1, 3, 6, 1, 2, 1, 43, 16, 5, 1, 2, 1, 1}] = o.line1;
        config.values[{1, 3, 6, 1, 2, 1, 43, 16, 5, 1, 2, 1, 2}] = o.line2;
        return config;
    }

    void acceptJobs() {
        for (;;) {
            int fd = ::accept4(tcp_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) {
                if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED)
                    std::fprintf(stderr, "printer-sim: accept: %s\n", std::strerror(errno));
                return;
            }
            Job job;
            job.socket = fd;
            job.number = ++jobCount_;
            char name[32];
            std::snprintf(name, sizeof name, "job-%04u.prn", job.number);
            job.finalPath = options_.jobs / name;
            job.partPath = options_.jobs / ("." + std::string(name) + ".part");
            job.file = ::open(job.partPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (job.file < 0) {
                std::fprintf(stderr, "printer-sim: cannot create %s: %s\n", job.partPath.c_str(), std::strerror(errno));
                job.failed = true;
            }
            jobs_.push_back(std::move(job));
        }
    }

    // False once the peer has closed (or reset) the connection.
    bool readJob(Job& job, std::vector<std::uint8_t>& buffer) {
        for (;;) {
            ssize_t n = ::read(job.socket, buffer.data(), buffer.size());
            if (n > 0) {
                const auto count = static_cast<std::size_t>(n);
                if (!job.failed && !writeAll(job.file, buffer.data(), count)) {
                    std::fprintf(stderr, "printer-sim: writing %s: %s\n", job.partPath.c_str(), std::strerror(errno));
                    job.failed = true;
                }
                if (!job.failed) job.bytes += count;
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
            return false;
        }
    }

    void finish(std::list<Job>::iterator it) {
        Job& job = *it;
        ::close(job.socket);
        if (job.file >= 0) ::close(job.file);
        std::error_code ec;
        if (!job.failed) fs::rename(job.partPath, job.finalPath, ec);
        if (job.failed || ec) {
            std::fprintf(stderr, "printer-sim: job %u could not be stored\n", job.number);
            fs::remove(job.partPath, ec);
        } else {
            emit("job " + std::to_string(job.number) + " " + std::to_string(job.bytes) + " " + job.finalPath.string());
        }
        jobs_.erase(it);
    }

    void readDatagrams(std::vector<std::uint8_t>& buffer) {
        for (;;) {
            sockaddr_in from{};
            socklen_t len = sizeof from;
            ssize_t n = ::recvfrom(udp_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &len);
            if (n < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (len < sizeof from || from.sin_family != AF_INET || !isLoopback(from.sin_addr))
                continue;  // only ever answer loopback peers
            const std::span request(buffer.data(), static_cast<std::size_t>(n));
            const auto due = Clock::now() + std::chrono::milliseconds(options_.delayMs);
            for (const auto& mode : options_.misreplies) {
                Fault fault = mode == "malformed"      ? Fault::Malformed
                              : mode == "wrong-id"     ? Fault::WrongId
                              : mode == "wrong-oid"    ? Fault::WrongOid
                              : mode == "error-status" ? Fault::ErrorStatus
                                                       : Fault::None;
                int socket = mode == "foreign-port" ? foreignPort_ : mode == "foreign-address" ? foreignAddress_ : udp_;
                if (auto bad = agent_.handle(request, fault)) pending_.push_back({due, socket, from, std::move(*bad)});
            }
            if (!options_.genuineReply) continue;
            if (auto reply = agent_.handle(request)) pending_.push_back({due, udp_, from, std::move(*reply)});
        }
    }

    void sendDueReplies() {
        const auto now = Clock::now();
        while (!pending_.empty() && pending_.front().due <= now) {
            const PendingReply& r = pending_.front();
            ::sendto(r.socket, r.data.data(), r.data.size(), 0, reinterpret_cast<const sockaddr*>(&r.to), sizeof r.to);
            pending_.pop_front();
        }
    }

    int pollTimeout() const {
        if (pending_.empty()) return -1;
        const auto left = pending_.front().due - Clock::now();
        if (left <= Clock::duration::zero()) return 0;
        return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
    }

    Options options_;
    int tcp_;
    int udp_;
    int foreignPort_;
    int foreignAddress_;
    SnmpAgent agent_;
    std::list<Job> jobs_;
    std::deque<PendingReply> pending_;  // same delay for all, so ordered by due time
    unsigned jobCount_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    Options options = parseOptions(argc, argv);

    in_addr address{};
    if (::inet_pton(AF_INET, options.address.c_str(), &address) != 1) {
        std::fprintf(stderr, "printer-sim: '%s' is not an IPv4 address\n", options.address.c_str());
        return 2;
    }
    if (!isLoopback(address)) {
        std::fprintf(stderr, "printer-sim: refusing address %s: only 127.0.0.0/8 is allowed\n",
                     options.address.c_str());
        return 2;
    }

    std::error_code ec;
    fs::create_directories(options.jobs, ec);
    if (ec || !fs::is_directory(options.jobs)) {
        std::fprintf(stderr, "printer-sim: cannot create jobs folder %s\n", options.jobs.c_str());
        return 1;
    }

    if (::pipe2(signalPipe, O_NONBLOCK | O_CLOEXEC) < 0) die("pipe");
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    int tcp = openSocket(SOCK_STREAM, address, options.tcpPort);
    int udp = options.snmp ? openSocket(SOCK_DGRAM, address, options.snmpPort) : -1;
    // The sockets bad replies may come from: another port on this address,
    // and the agent's port on another loopback address.
    int foreignPort = -1, foreignAddress = -1;
    auto wants = [&](const char* mode) {
        return std::find(options.misreplies.begin(), options.misreplies.end(), mode) != options.misreplies.end();
    };
    if (udp >= 0 && wants("foreign-port")) foreignPort = openSocket(SOCK_DGRAM, address, 0);
    if (udp >= 0 && wants("foreign-address")) {
        in_addr other{};
        if (::inet_pton(AF_INET, options.foreignAddress.c_str(), &other) != 1 || !isLoopback(other) ||
            other.s_addr == address.s_addr) {
            std::fprintf(stderr, "printer-sim: foreign address %s must be another loopback address\n",
                         options.foreignAddress.c_str());
            return 2;
        }
        foreignAddress = openSocket(SOCK_DGRAM, other, boundPort(udp));
    }

    emit("tcp " + std::to_string(boundPort(tcp)));
    emit("udp " + std::to_string(udp >= 0 ? boundPort(udp) : 0u));
    emit("ready");

    Simulator simulator(std::move(options), tcp, udp, foreignPort, foreignAddress);
    return simulator.run();
}
