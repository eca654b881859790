#pragma once
// Waits for a file written by another process to meet a condition, woken by
// inotify events on its folder rather than by sleeping.

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "support/TempDir.h"

namespace testsupport {

inline bool waitForFile(const std::string& path, const std::function<bool(const std::string&)>& ready,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto folder = std::filesystem::path(path).parent_path().string();
    int fd = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (fd < 0) return false;
    inotify_add_watch(fd, folder.c_str(), IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool ok = false;
    for (;;) {
        if (std::filesystem::exists(path) && ready(readFile(path))) {
            ok = true;
            break;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) > 0) {
            char buf[4096];
            while (::read(fd, buf, sizeof buf) > 0) {
            }
        }
    }
    ::close(fd);
    return ok;
}

}  // namespace testsupport
