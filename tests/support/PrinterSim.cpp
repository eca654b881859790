#include "support/PrinterSim.h"
#include "support/ServerProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>

#ifndef QUILL_BIN_DIR
#error "QUILL_BIN_DIR must name the program folder"
#endif

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;

// Child gets outFd as stdout and errFd (or the inherited one) as stderr.
pid_t spawn(const std::filesystem::path& program, const std::vector<std::string>& args, int outFd, int errFd,
            const std::filesystem::path& cwd = {}) {
    std::vector<std::string> all;
    all.push_back(program.string());
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // no orphans if the test dies
        ::dup2(outFd, STDOUT_FILENO);
        if (errFd >= 0) ::dup2(errFd, STDERR_FILENO);
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (pid < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    return pid;
}

int waitExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

void makePipe(int fds[2]) {
    if (::pipe2(fds, O_CLOEXEC) < 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
}

}  // namespace

ProgramResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         std::chrono::milliseconds timeout, const std::filesystem::path& cwd) {
    int out[2], err[2];
    makePipe(out);
    makePipe(err);
    const pid_t pid = spawn(program, args, out[1], err[1], cwd);
    ::close(out[1]);
    ::close(err[1]);

    ProgramResult result;
    const auto deadline = Clock::now() + timeout;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        const int rc = ::poll(fds, 2, msUntil(deadline));
        if (rc < 0 && errno == EINTR) continue;
        if (rc <= 0) {
            result.timedOut = true;
            ::kill(pid, SIGKILL);
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buf[4096];
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[i]->append(buf, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (auto& f : fds)
        if (f.fd >= 0) ::close(f.fd);
    result.exitCode = waitExit(pid);
    return result;
}

std::filesystem::path PrinterSim::binary() { return std::filesystem::path(QUILL_BIN_DIR) / "printer-sim"; }

ProgramResult PrinterSim::run(const std::vector<std::string>& args, std::chrono::milliseconds timeout) {
    return runProgram(binary(), args, timeout);
}

PrinterSim::PrinterSim(PrinterSimOptions options, std::chrono::milliseconds startTimeout)
    : options_(std::move(options)) {
    jobsDir_ = makeTempFolder("printer-sim");

    std::vector<std::string> args = {"--address", options_.address, "--tcp-port", std::to_string(options_.tcpPort),
                                     "--jobs",    jobsDir_.string()};
    if (options_.snmp) {
        args.insert(args.end(), {"--snmp-port", std::to_string(options_.snmpPort)});
    } else {
        args.push_back("--no-snmp");
    }
    auto add = [&](const char* name, const std::optional<std::string>& value) {
        if (value) args.insert(args.end(), {name, *value});
    };
    add("--community", options_.community);
    add("--sysdescr", options_.sysDescr);
    add("--line1", options_.line1);
    add("--line2", options_.line2);
    if (options_.delayReplyMs) args.insert(args.end(), {"--delay-reply", std::to_string(*options_.delayReplyMs)});
    for (const auto& mode : options_.misreplies) args.insert(args.end(), {"--misreply", mode});
    if (!options_.genuineReply) args.push_back("--no-genuine-reply");
    args.insert(args.end(), {"--foreign-address", options_.foreignAddress.value_or(otherLoopback(options_.address))});
    args.insert(args.end(), options_.extraArgs.begin(), options_.extraArgs.end());

    int out[2];
    try {
        makePipe(out);
        pid_ = spawn(binary(), args, out[1], -1);
    } catch (...) {
        cleanup();
        throw;
    }
    ::close(out[1]);
    out_ = out[0];

    const auto deadline = Clock::now() + startTimeout;
    bool ready = false;
    while (!ready) {
        auto line = readLine(deadline);
        if (!line) break;
        ready = *line == "ready";
        if (!ready) handleLine(*line);
    }
    if (!ready) {
        const bool exited = eof_;
        const int code = stop(1s);
        cleanup();
        throw std::runtime_error(exited ? "printer-sim exited before ready, code " + std::to_string(code)
                                        : "printer-sim not ready in time");
    }
}

PrinterSim::~PrinterSim() {
    stop();
    cleanup();
}

void PrinterSim::cleanup() {
    std::error_code ec;
    if (!jobsDir_.empty()) std::filesystem::remove_all(jobsDir_, ec);
}

std::optional<std::string> PrinterSim::readLine(Clock::time_point deadline) {
    for (;;) {
        const auto newline = buffer_.find('\n');
        if (newline != std::string::npos) {
            std::string line = buffer_.substr(0, newline);
            buffer_.erase(0, newline + 1);
            return line;
        }
        if (eof_ || out_ < 0) return std::nullopt;
        pollfd p{out_, POLLIN, 0};
        const int rc = ::poll(&p, 1, msUntil(deadline));
        if (rc < 0 && errno == EINTR) continue;
        if (rc <= 0) return std::nullopt;
        char buf[4096];
        const ssize_t n = ::read(out_, buf, sizeof buf);
        if (n > 0)
            buffer_.append(buf, static_cast<std::size_t>(n));
        else if (n == 0 || (errno != EINTR && errno != EAGAIN))
            eof_ = true;
    }
}

void PrinterSim::handleLine(const std::string& line) {
    // "tcp P", "udp P", "job N BYTES PATH"; anything else is ignored.
    auto number = [](std::string_view text, std::uint64_t& value) {
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec == std::errc{} && end == text.data() + text.size();
    };
    const std::string_view view(line);
    const auto space1 = view.find(' ');
    if (space1 == std::string_view::npos) return;
    const auto kind = view.substr(0, space1);
    const auto rest = view.substr(space1 + 1);
    std::uint64_t value = 0;
    if (kind == "tcp" || kind == "udp") {
        if (!number(rest, value) || value > 65535) return;
        (kind == "tcp" ? tcpPort_ : udpPort_) = static_cast<std::uint16_t>(value);
    } else if (kind == "job") {
        const auto space2 = rest.find(' ');
        if (space2 == std::string_view::npos) return;
        const auto space3 = rest.find(' ', space2 + 1);
        if (space3 == std::string_view::npos) return;
        std::uint64_t size = 0;
        if (!number(rest.substr(0, space2), value) || !number(rest.substr(space2 + 1, space3 - space2 - 1), size))
            return;
        SimJob job;
        job.number = static_cast<unsigned>(value);
        job.size = static_cast<std::size_t>(size);
        job.path = std::string(rest.substr(space3 + 1));
        jobs_.push_back(std::move(job));
    }
}

bool PrinterSim::waitForJobs(std::size_t count, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (jobs_.size() < count) {
        auto line = readLine(deadline);
        if (!line) return false;
        handleLine(*line);
    }
    return true;
}

std::vector<std::uint8_t> PrinterSim::jobBytes(std::size_t index) const {
    const SimJob& job = jobs_.at(index);
    std::ifstream in(job.path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + job.path.string());
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string PrinterSim::jobText(std::size_t index) const {
    const auto bytes = jobBytes(index);
    return std::string(bytes.begin(), bytes.end());
}

int PrinterSim::stop(std::chrono::milliseconds timeout) {
    if (pid_ < 0) return exitCode_;
    ::kill(pid_, SIGTERM);
    return reap(timeout);
}

int PrinterSim::reap(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!eof_) {  // the pipe closes when the simulator exits
        auto line = readLine(deadline);
        if (line)
            handleLine(*line);
        else if (!eof_)
            break;
    }
    if (!eof_) ::kill(pid_, SIGKILL);
    exitCode_ = waitExit(pid_);
    pid_ = -1;
    if (out_ >= 0) ::close(out_);
    out_ = -1;
    return exitCode_;
}

}  // namespace testsupport
