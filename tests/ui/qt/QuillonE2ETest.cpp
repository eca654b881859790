// The built Quillon as a real process on the off-screen platform: started
// with LOG it writes its first line to Log.txt in its own folder. The wait
// for the file is driven by inotify and the process's pidfd, with a deadline.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct TempFolder {
    fs::path path;
    TempFolder() {
        char tmpl[] = "/tmp/quillon-e2e-XXXXXX";
        path = ::mkdtemp(tmpl);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

// A child process that is always reaped.
struct Child {
    pid_t pid = 0;
    int pidfd = -1;
    bool reaped = false;
    int status = 0;

    ~Child() {
        if (pid > 0 && !reaped) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
        }
        if (pidfd >= 0) ::close(pidfd);
    }
    // Waits for the end up to `ms`; true when it ended and was reaped.
    bool waitEnd(int ms) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
        while (!reaped) {
            pid_t r = ::waitpid(pid, &status, WNOHANG);
            if (r == pid) {
                reaped = true;
                break;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) return false;
            pollfd p{pidfd, POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(left));
        }
        return true;
    }
};

TEST(QuillonProgram, LogCommandLineWritesTheDebugLineIntoTheProgramFolder) {
    const fs::path built = fs::path(QUILL_BIN_DIR) / "Quillon";
    ASSERT_TRUE(fs::exists(built)) << built;
    TempFolder tmp;
    const fs::path exe = tmp.path / "Quillon";
    fs::copy_file(built, exe);
    fs::permissions(exe, fs::perms::owner_all, fs::perm_options::add);
    const fs::path elsewhere = tmp.path / "cwd";
    fs::create_directory(elsewhere);
    const fs::path log = tmp.path / "Log.txt";

    int notify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(notify, 0);
    ASSERT_GE(::inotify_add_watch(notify, tmp.path.c_str(), IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE), 0);

    // The environment with the off-screen platform.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0) env.emplace_back(*e);
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string arg0 = exe.string(), arg1 = "LOG";
    std::vector<char*> argv{arg0.data(), arg1.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, elsewhere.c_str());
    Child child;
    ASSERT_EQ(posix_spawn(&child.pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    child.pidfd = static_cast<int>(::syscall(SYS_pidfd_open, child.pid, 0));
    ASSERT_GE(child.pidfd, 0) << std::strerror(errno);

    const auto deadline = Clock::now() + std::chrono::seconds(30);
    bool found = false, ended = false;
    while (!found && !ended) {
        if (fs::exists(log) && readFile(log).find("Entering Debug Mode\r\n") != std::string::npos) {
            found = true;
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        pollfd fds[2] = {{notify, POLLIN, 0}, {child.pidfd, POLLIN, 0}};
        ::poll(fds, 2, static_cast<int>(std::min<long long>(left, 1000)));
        if (fds[0].revents & POLLIN) {
            char buf[4096];
            while (::read(notify, buf, sizeof buf) > 0) {
            }
        }
        if (fds[1].revents & POLLIN) ended = true;
    }
    ::close(notify);
    if (ended && fs::exists(log)) found = readFile(log).find("Entering Debug Mode\r\n") != std::string::npos;
    EXPECT_TRUE(found) << "no debug line in " << log;
    EXPECT_FALSE(ended) << "Quillon ended by itself";

    // It waits for the user for ever: end it.
    ASSERT_EQ(::kill(child.pid, SIGTERM), 0);
    if (!child.waitEnd(10000)) {
        ::kill(child.pid, SIGKILL);
        ASSERT_TRUE(child.waitEnd(10000));
        ADD_FAILURE() << "Quillon did not end on SIGTERM";
    }
    EXPECT_TRUE(WIFSIGNALED(child.status) && WTERMSIG(child.status) == SIGTERM);

    const std::string text = readFile(log);
    static const std::regex line(
        "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [0-9]{2},[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2} - "
        "Entering Debug Mode\r\n");
    EXPECT_TRUE(std::regex_match(text, line)) << text;
    EXPECT_FALSE(fs::exists(elsewhere / "Log.txt"));
}

}  // namespace
