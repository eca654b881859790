#include "support/ServerProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace testsupport {

std::filesystem::path makeTempFolder(const std::string& prefix) {
    std::string tmpl = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}

void startWithRetries(const std::string& name, const std::filesystem::path& root, const std::function<void()>& attempt,
                      const std::function<void()>& stop) {
    std::string lastError;
    for (int tries = 0; tries < 3; ++tries) {
        try {
            attempt();
            return;
        } catch (const std::exception& e) {
            lastError = e.what();
            stop();
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    throw std::runtime_error(name + " did not start: " + lastError);
}

pid_t startServer(const std::string& program, const std::vector<std::string>& args, const std::string& output,
                  const std::vector<std::pair<std::string, std::string>>& env) {
    std::vector<std::string> words = args;
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    const std::string sink = output.empty() ? "/dev/null" : output;

    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) {
        // A group of its own, so that what it starts ends with it.
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
        int out = ::open(sink.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (out >= 0) {
            ::dup2(out, STDOUT_FILENO);
            ::dup2(out, STDERR_FILENO);
        }
        int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0) ::dup2(null, STDIN_FILENO);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::setpgid(pid, pid);  // set on both sides, whichever runs first
    return pid;
}

int stopServer(pid_t pid, std::chrono::milliseconds timeout) {
    // A server started here leads a group: the signals go to all of it.
    const pid_t target = ::getpgid(pid) == pid ? -pid : pid;
    ::kill(target, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    int status = 0;
    for (;;) {
        pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR)) break;
        if (msUntil(deadline) == 0) {
            ::kill(target, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        if (pidfd >= 0) {
            pollfd p{pidfd, POLLIN, 0};
            ::poll(&p, 1, msUntil(deadline));
        } else {
            // No pidfd: a short wait on nothing, then a look again.
            ::poll(nullptr, 0, std::min(20, msUntil(deadline)));
        }
    }
    if (pidfd >= 0) ::close(pidfd);
    // What it started and left behind (a message bus, say) ends with it.
    if (target < 0) ::kill(target, SIGKILL);
    return status;
}

}  // namespace testsupport
