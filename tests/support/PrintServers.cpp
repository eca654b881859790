#include "support/PrintServers.h"

#include <strings.h>

#include <chrono>
#include <cstdint>
#include <cstring>

namespace testsupport {

namespace {

constexpr int GetPrinterAttributes = 0x000B, CreateJob = 0x0005;

void put16(std::string& out, int value) {
    out += static_cast<char>((value >> 8) & 0xff);
    out += static_cast<char>(value & 0xff);
}

void attribute(std::string& out, int tag, const std::string& name, const std::string& value) {
    out += static_cast<char>(tag);
    put16(out, static_cast<int>(name.size()));
    out += name;
    put16(out, static_cast<int>(value.size()));
    out += value;
}

struct Attribute {
    int tag;
    std::string name, value;
};

// A successful IPP response to `request`, with the attributes in `group`.
std::string ippAnswer(const std::string& request, int group, const std::vector<Attribute>& attributes) {
    // Version 2.0, successful-ok, the request's id.
    std::string body = std::string("\x02\x00\x00\x00", 4) + request.substr(4, 4);
    body += '\x01';
    attribute(body, 0x47, "attributes-charset", "utf-8");
    attribute(body, 0x48, "attributes-natural-language", "en");
    body += static_cast<char>(group);
    for (const auto& a : attributes) attribute(body, a.tag, a.name, a.value);
    body += '\x03';
    return "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

bool sendAll(int fd, const std::string& bytes) {
    return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

// The value of a header line of `head`, or empty.
std::string header(const std::string& head, const char* name) {
    for (std::size_t at = 0; (at = head.find("\r\n", at)) != std::string::npos;) {
        at += 2;
        if (::strncasecmp(head.c_str() + at, name, std::strlen(name)) != 0) continue;
        std::size_t value = at + std::strlen(name);
        if (value >= head.size() || head[value] != ':') continue;
        value = head.find_first_not_of(' ', value + 1);
        return head.substr(value, head.find("\r\n", value) - value);
    }
    return {};
}

}  // namespace

FailingIppServer::FailingIppServer(Answer answer, std::string queue, int trickleMs)
    : LoopbackSocket(SOCK_STREAM), answer_(answer), queue_(std::move(queue)), trickleMs_(trickleMs) {
    if (::listen(fd(), 16) != 0 || ::pipe2(stop_, O_CLOEXEC) != 0)
        throw std::runtime_error("no failing IPP server on " + endpoint());
    thread_ = std::thread([this] { run(); });
}

FailingIppServer::~FailingIppServer() {
    (void)!::write(stop_[1], "x", 1);
    thread_.join();
    for (auto& t : connections_) t.join();
    ::close(stop_[0]);
    ::close(stop_[1]);
}

bool FailingIppServer::readable(int fd, int timeoutMs) {
    pollfd p[2] = {{fd, POLLIN, 0}, {stop_[0], POLLIN, 0}};
    return ::poll(p, 2, timeoutMs) > 0 && !p[1].revents && p[0].revents;
}

bool FailingIppServer::stopped(int timeoutMs) {
    pollfd p{stop_[0], POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) != 0;
}

void FailingIppServer::run() {
    while (readable(fd())) {
        const int c = ::accept4(fd(), nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) continue;
        std::lock_guard lock(mutex_);
        connections_.emplace_back([this, c] {
            serve(c);
            ::close(c);
        });
    }
}

void FailingIppServer::serve(int c) {
    std::string in;
    // Reads until `in` holds `n` bytes; false once the peer or the server stops.
    auto fill = [&](std::size_t n) {
        char buffer[4096];
        while (in.size() < n) {
            if (!readable(c)) return false;
            const ssize_t got = ::recv(c, buffer, sizeof buffer, 0);
            if (got <= 0) return false;
            in.append(buffer, static_cast<std::size_t>(got));
        }
        return true;
    };
    auto until = [&](const char* mark) {
        std::size_t at;
        while ((at = in.find(mark)) == std::string::npos)
            if (!fill(in.size() + 1)) return std::string::npos;
        return at;
    };
    for (;;) {
        // One request: its head, then its body whole, by length or in chunks.
        const std::size_t headEnd = until("\r\n\r\n");
        if (headEnd == std::string::npos) return;
        const std::string head = in.substr(0, headEnd);
        in.erase(0, headEnd + 4);
        const bool chunked = header(head, "Transfer-Encoding") == "chunked";
        // A document is taken, as the scheduler takes it.
        if (chunked && header(head, "Expect") == "100-continue" && !sendAll(c, "HTTP/1.1 100 Continue\r\n\r\n")) return;
        std::string body;
        if (chunked) {
            for (;;) {
                const std::size_t lineEnd = until("\r\n");
                if (lineEnd == std::string::npos) return;
                const std::size_t size = std::stoul(in.substr(0, lineEnd), nullptr, 16);
                if (!fill(lineEnd + 2 + size + 2)) return;
                body += in.substr(lineEnd + 2, size);
                in.erase(0, lineEnd + 2 + size + 2);
                if (size == 0) break;
            }
        } else {
            const std::string length = header(head, "Content-Length");
            const std::size_t size = length.empty() ? 0 : std::stoul(length);
            if (!fill(size)) return;
            body = in.substr(0, size);
            in.erase(0, size);
        }
        const int operation =
            body.size() >= 8 ? (static_cast<std::uint8_t>(body[2]) << 8) | static_cast<std::uint8_t>(body[3]) : -1;
        if (operation == GetPrinterAttributes) {
            const std::string uri = "ipp://" + endpoint() + "/printers/" + queue_;
            const std::string answer =
                ippAnswer(body, 0x04, {{0x42, "printer-name", queue_}, {0x45, "printer-uri-supported", uri}});
            // The pause falls amid the attributes, after the head.
            const std::size_t part = answer_ == Answer::Pauses ? answer.find("printer-name") : answer.size();
            if (!sendAll(c, answer.substr(0, part))) return;
            if (part < answer.size() && (stopped(trickleMs_) || !sendAll(c, answer.substr(part)))) return;
        } else if (operation == CreateJob) {
            if (!sendAll(c, ippAnswer(body, 0x02, {{0x21, "job-id", std::string("\0\0\0\1", 4)}}))) return;
        } else if (answer_ == Answer::Unauthorized) {
            if (!sendAll(c,
                         "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"CUPS\"\r\n"
                         "Content-Length: 0\r\n\r\n"))
                return;
        } else if (answer_ == Answer::Trickle) {
            const std::string answer =
                "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nContent-Length: 100000\r\n\r\n";
            // For as long as the client listens, or until the test would hang.
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
            for (std::size_t i = 0; std::chrono::steady_clock::now() < end; ++i) {
                if (!sendAll(c, std::string(1, i < answer.size() ? answer[i] : '\0')) || stopped(trickleMs_)) return;
            }
            return;
        } else {
            for (char buffer[4096]; readable(c) && ::recv(c, buffer, sizeof buffer, 0) > 0;) {
            }
            return;
        }
    }
}

}  // namespace testsupport
