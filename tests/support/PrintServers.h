#pragma once
// Print servers that fail their clients, each on a free port of a random
// loopback address: one that takes connections and never answers (a
// stopped scheduler), one that drops each connection at once (a scheduler
// that dies in the middle of a request), and one that opens a queue and
// makes a job but fails every other request.

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/Loopback.h"

namespace testsupport {

class SilentServer : public LoopbackSocket {
public:
    SilentServer() : LoopbackSocket(SOCK_STREAM | SOCK_NONBLOCK) {
        if (::listen(fd(), 16) != 0) throw std::runtime_error("no silent server on " + endpoint());
    }
    ~SilentServer() {
        for (int c : taken_) ::close(c);
    }
    // The connections made to it so far; they stay open, unread.
    int connections() {
        for (int c; (c = ::accept4(fd(), nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) taken_.push_back(c);
        return static_cast<int>(taken_.size());
    }

private:
    std::vector<int> taken_;
};

class DroppingServer : public LoopbackSocket {
public:
    DroppingServer() : LoopbackSocket(SOCK_STREAM) {
        if (::listen(fd(), 16) != 0 || ::pipe2(stop_, O_CLOEXEC) != 0)
            throw std::runtime_error("no dropping server on " + endpoint());
        thread_ = std::thread([this] { run(); });
    }
    ~DroppingServer() {
        (void)!::write(stop_[1], "x", 1);
        thread_.join();
        ::close(stop_[0]);
        ::close(stop_[1]);
    }
    DroppingServer(const DroppingServer&) = delete;
    DroppingServer& operator=(const DroppingServer&) = delete;

    int connections() const { return dropped_; }

private:
    void run() {
        for (;;) {
            pollfd p[2] = {{fd(), POLLIN, 0}, {stop_[0], POLLIN, 0}};
            if (::poll(p, 2, -1) < 0 || p[1].revents) return;
            // Counted before the client can see the close.
            if (int c = ::accept4(fd(), nullptr, nullptr, SOCK_CLOEXEC); c >= 0) {
                ++dropped_;
                ::close(c);
            }
        }
    }

    int stop_[2] = {-1, -1};
    std::atomic<int> dropped_{0};
    std::thread thread_;
};

// Answers Get-Printer-Attributes for one queue and Create-Job with job 1,
// and takes a document sent in chunks; every other request, once read
// whole, it answers as `Answer` says.
class FailingIppServer : public LoopbackSocket {
public:
    enum class Answer {
        Nothing,       // reads on and answers nothing
        Trickle,       // an answer that does not end, a byte each `trickleMs`, for 3 s
        Unauthorized,  // 401, a password wanted
        Pauses,        // the queue's attributes whole, with a pause of `trickleMs` amid them
    };
    FailingIppServer(Answer answer, std::string queue, int trickleMs = 1000);
    ~FailingIppServer();
    FailingIppServer(const FailingIppServer&) = delete;
    FailingIppServer& operator=(const FailingIppServer&) = delete;

private:
    void run();
    void serve(int connection);
    // Waits until `fd` can be read, or the server stops; false then.
    bool readable(int fd, int timeoutMs = -1);
    // Whether the server stops within the time.
    bool stopped(int timeoutMs);

    Answer answer_;
    std::string queue_;
    int trickleMs_;
    int stop_[2] = {-1, -1};
    std::mutex mutex_;
    std::vector<std::thread> connections_;
    std::thread thread_;
};

}  // namespace testsupport
