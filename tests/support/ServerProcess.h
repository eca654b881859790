#pragma once
// What the fixtures of real servers share: a folder of their own, a free
// port on loopback (Loopback.h), and the server process, started so that it
// ends with the test program and stopped without sleeping.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/Loopback.h"

namespace testsupport {

// Milliseconds left until the deadline, 0 once it has passed.
inline int msUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// A new folder "PREFIX-XXXXXX" in the temporary folder.
std::filesystem::path makeTempFolder(const std::string& prefix);

// Runs `attempt` (which takes a free port and starts the server on it) up to
// three times, since another program may take the port before the server
// binds it; `stop` runs after each failure. When all fail, `root` is removed
// and std::runtime_error says "NAME did not start: " and the last error.
void startWithRetries(const std::string& name, const std::filesystem::path& root, const std::function<void()>& attempt,
                      const std::function<void()>& stop);

// Starts `program` with `args` (args[0] is the name it runs under) and the
// variables `env` added. Its input is /dev/null; its output and errors go
// to `output` (appended), or to /dev/null when empty. It leads a process
// group of its own, and gets SIGTERM when the test program ends.
pid_t startServer(const std::string& program, const std::vector<std::string>& args, const std::string& output,
                  const std::vector<std::pair<std::string, std::string>>& env = {});

// SIGTERM, then waits for the exit (woken by it, not by a clock) up to
// `timeout`, after which SIGKILL ends it. A group leader's group gets the
// signals too, and SIGKILL after the leader's exit. Returns the wait status.
int stopServer(pid_t pid, std::chrono::milliseconds timeout);

}  // namespace testsupport
