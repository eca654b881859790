#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include <filesystem>

#include <gtest/gtest.h>

#include "TestModule.h"
#include "foundation/RunProgram.h"
#include "platform/posix/PosixProcess.h"

using namespace foundationtest;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

struct RunProgramTest : ::testing::Test {
    World w;
    foundation::RunProgram run{w.app, w.processes};
};

TEST_F(RunProgramTest, ArgumentsAreQuotedUnlessBlank) {
    run.StartProcess("prog", "  ");
    run.StartProcess("prog", "a b");
    run.StartProcess("prog", "");
    ASSERT_EQ(w.processes.starts.size(), 3u);
    EXPECT_EQ(w.processes.starts[0].commandLine, "prog");
    EXPECT_EQ(w.processes.starts[1].commandLine, "prog \"a b\"");
    EXPECT_EQ(w.processes.starts[2].commandLine, "prog");
    EXPECT_FALSE(w.processes.starts[0].detached);
}

TEST_F(RunProgramTest, RunningUntilEndedThenTheHandleIsClosedAndCleared) {
    platform::ProcessHandle h = 0;
    EXPECT_FALSE(run.IsProcessRunning(h));
    EXPECT_EQ(w.processes.polls, 0);  // no platform call for a null handle

    h = run.StartProcess("prog", "");
    const platform::ProcessHandle started = h;
    EXPECT_TRUE(run.IsProcessRunning(h));
    w.processes.end(h);
    EXPECT_FALSE(run.IsProcessRunning(h));
    EXPECT_EQ(h, 0);
    EXPECT_EQ(w.processes.closed, (std::vector<platform::ProcessHandle>{started}));
}

TEST_F(RunProgramTest, AProcessThatCannotBeWaitedForCountsAsEnded) {
    platform::ProcessHandle h = run.StartProcess("prog", "");
    w.processes.lose(h);
    EXPECT_FALSE(run.IsProcessRunning(h));
    EXPECT_EQ(h, 0);
}

TEST_F(RunProgramTest, WaitPollsEvery100msAndKeepsTheEventsGoing) {
    int events = 0;
    std::uint32_t endedAt = 0;
    const std::uint32_t start = w.clock.milliseconds();
    w.clock.onSleep = [&](std::uint32_t) {
        if (w.clock.milliseconds() - start >= 1000 && endedAt == 0) {
            endedAt = w.clock.milliseconds();
            w.processes.end(w.processes.last());
        }
    };
    w.pump.post([&] { ++events; });
    w.pump.post([&] { ++events; }, 500);
    std::string error = "untouched";
    EXPECT_TRUE(run.RunAndWait("prog arg", error, 2'000'000'000));
    EXPECT_EQ(error, "untouched");
    EXPECT_EQ(events, 2);
    EXPECT_EQ(w.processes.starts[0].commandLine, "prog arg");
    EXPECT_EQ(w.processes.closed.size(), 1u);
    // The end is noticed on the next poll.
    EXPECT_LE(w.clock.milliseconds() - endedAt, 110u + 10u);
}

TEST_F(RunProgramTest, TimeOutEndsTheWaitWithItsText) {
    std::string error;
    EXPECT_FALSE(run.RunAndWait("prog", error, 1000));
    EXPECT_EQ(error, "The process has timed out.");
    EXPECT_GE(w.clock.elapsed(), 1000u);
    EXPECT_LE(w.clock.elapsed(), 1300u);
}

TEST(RunProgramTimeOut, EndsOnlyOnceTheTimeOutIsExceeded) {
    // Each pass is one pump step (10 ms) and the 100 ms poll: after pass n,
    // 110 n ms have passed.
    struct Case {
        std::int32_t timeoutMs;
        std::uint32_t endsAfterMs;  // 0: runs on
        bool result;
        std::uint64_t waitedMs;
    };
    const Case cases[] = {
        {1100, 1100, true, 1100},   // reaching the time-out is not passing it
        {1099, 1100, false, 1100},  // passed at the same poll
        {1100, 0, false, 1210},     // passed at the eleventh poll, not the tenth
    };
    for (const Case& c : cases) {
        World w;
        foundation::RunProgram run{w.app, w.processes};
        w.clock.onSleep = [&](std::uint32_t) {
            if (c.endsAfterMs != 0 && w.clock.elapsed() >= c.endsAfterMs) w.processes.end(w.processes.last());
        };
        std::string error;
        EXPECT_EQ(run.RunAndWait("prog", error, c.timeoutMs), c.result) << c.timeoutMs;
        EXPECT_EQ(w.clock.elapsed(), c.waitedMs) << c.timeoutMs;
        EXPECT_EQ(error, c.result ? "" : "The process has timed out.") << c.timeoutMs;
    }
}

TEST_F(RunProgramTest, AProgramThatCannotStartIsAFailure) {
    w.processes.failStarts = true;
    std::string error;
    EXPECT_FALSE(run.RunAndWait("missing.exe", error, 2'000'000'000));
    EXPECT_EQ(error, "The program could not be started.");
}

TEST(RunProgramWrap, CounterPassingTheSignBoundaryDoesNotFailTheWait) {
    testsupport::UiWorld w(0x7FFFFF00u);
    testsupport::FakeProcesses processes;
    foundation::RunProgram run(w.app, processes);
    w.clock.onSleep = [&](std::uint32_t) {
        if (w.clock.milliseconds() > 0x80000100u) processes.end(processes.last());
    };
    std::string error;
    EXPECT_TRUE(run.RunAndWait("prog", error, 2'000'000'000));
    EXPECT_EQ(error, "");
}

// Real processes through the POSIX launcher.
struct RealProcesses : ::testing::Test {
    World w;
    testsupport::TempDir bin;
    platform::PosixProcessLauncher launcher{bin.str()};
    foundation::RunProgram run{w.app, launcher};

    void script(const std::string& name, const std::string& body) {
        std::string path = bin.file(name);
        writeFile(path, "#!/bin/sh\n" + body + "\n");
        ::chmod(path.c_str(), 0755);
    }
};

TEST_F(RealProcesses, RunsAProgramFromTheProgramFolderToItsEnd) {
    script("writer", "printf '%s|' \"$@\" > \"$OUT\"");
    const std::string out = bin.file("out.txt");
    ::setenv("OUT", out.c_str(), 1);
    std::string error;
    EXPECT_TRUE(run.RunAndWait("writer one \"two words\" three", error, 2'000'000'000));
    EXPECT_EQ(readFile(out), "one|two words|three|");
}

TEST_F(RealProcesses, ASetupMediumNameFindsTheStandInWithoutExe) {
    script("quenmora", "echo found > \"$OUT\"");
    const std::string out = bin.file("found.txt");
    ::setenv("OUT", out.c_str(), 1);
    std::string error;
    EXPECT_TRUE(run.RunAndWait("quenmora.exe", error, 2'000'000'000));
    EXPECT_EQ(readFile(out), "found\n");
    EXPECT_EQ(platform::findProgram("QUENMORA.EXE", bin.str()), "");   // names keep their case
    EXPECT_EQ(platform::findProgram("sh", bin.str()).empty(), false);  // PATH
}

TEST_F(RealProcesses, MissingProgramIsNotStarted) {
    std::string error;
    EXPECT_FALSE(run.RunAndWait("no-such-program-here.exe", error, 2'000'000'000));
    EXPECT_EQ(launcher.start("no-such-program-here", false), 0);
}

// True once `pid` is no child of ours any more (someone waited for it).
// A real process: real time passes briefly on each poll, within a deadline.
bool reapedWithin(pid_t pid, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 && errno == ECHILD)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

TEST_F(RealProcesses, DetachedStartsAreReapedWhenTheyEnd) {
    // The child tells its pid and runs until the test closes its pipe.
    script("menu", "echo $$ > \"$1.pid\"; read x < \"$1\"");
    script("quick", "exit 0");
    for (const bool startMeanwhile : {false, true}) {
        const std::string fifo = bin.file(startMeanwhile ? "meanwhile" : "alone");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        launcher.startDetached("menu \"" + fifo + "\"", true);
        const int release = ::open(fifo.c_str(), O_WRONLY);  // returns once the child reads
        ASSERT_GE(release, 0);
        const pid_t child = std::stoi(readFile(fifo + ".pid"));
        if (startMeanwhile) {
            // Another start while the detached child still runs.
            platform::ProcessHandle h = launcher.start("quick", false);
            ASSERT_NE(h, 0);
            while (run.IsProcessRunning(h)) {
            }
        }
        ::close(release);
        EXPECT_TRUE(reapedWithin(child, std::chrono::seconds(10))) << "still a child of ours: " << child;
    }
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(CommandLine, SplitsLikeAWindowsProgram) {
    using platform::splitCommandLine;
    using V = std::vector<std::string>;
    EXPECT_EQ(splitCommandLine("Hollin.exe min  E:\\"), (V{"Hollin.exe", "min", "E:\\"}));
    EXPECT_EQ(splitCommandLine("a \"b c\" d"), (V{"a", "b c", "d"}));
    EXPECT_EQ(splitCommandLine("a \"\" b"), (V{"a", "", "b"}));
    EXPECT_EQ(splitCommandLine("x \\\"q\\\" y"), (V{"x", "\"q\"", "y"}));
    EXPECT_EQ(splitCommandLine("path\\to\\file"), (V{"path\\to\\file"}));
    EXPECT_EQ(splitCommandLine("   "), V{});
}

}  // namespace
