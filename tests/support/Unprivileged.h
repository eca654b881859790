#pragma once
// Part of a test run as a user who is not root, since root may write where
// a user may not: in a child process that, when the test runs as root, has
// dropped to the user "nobody" first.

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

namespace testsupport {

// What `body` returned in the child, or a text saying why there is none.
// `first`, when given, runs in the child before it drops, with the test's
// own rights; a text it returns is the child's answer, and `body` does not
// run. The child ends without running the parent's exit handlers, so `body`
// cleans up what it made.
inline std::string asUnprivilegedUser(const std::function<std::string()>& body,
                                      const std::function<std::string()>& first = {}) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) return "no pipe to the child";
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipe[0]);
        ::close(pipe[1]);
        return "no child process";
    }
    if (child == 0) {
        ::close(pipe[0]);
        std::string out = first ? first() : std::string();
        if (out.empty() && ::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody || ::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
                ::setuid(nobody->pw_uid) != 0)
                out = "the child could not become nobody";
        }
        if (out.empty()) out = body();
        for (std::size_t at = 0; at < out.size();) {
            const ssize_t n = ::write(pipe[1], out.data() + at, out.size() - at);
            if (n <= 0) break;
            at += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string out;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(pipe[0], buffer, sizeof buffer);
        if (n > 0)
            out.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(pipe[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the child ended abnormally: " + out;
    return out;
}

}  // namespace testsupport
