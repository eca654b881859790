// The progress page on the virtual clock with the in-memory network and
// spooler: the states and their timing, the status log, the bytes of each
// delivery, and every way a run ends in JobFailure.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/KRNCmds.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/ProgressDlg.h"
#include "platform/Process.h"
#include "support/Lines.h"
#include "support/QuillonWorld.h"

using netcfg::ProgressDlg;
using testsupport::readFile;

namespace {

const char* const Job =
    "!VMD_SETUP\r\nNIC_SETUP\r\nstore ifc 2 wlan ssid Caf\xe9\r\n\r\nreboot\r\nEND_NIC_SETUP\r\nVMD_END\r\n";
const char* const Commands = "store ifc 2 wlan ssid Caf\u00e9\r\n";
const char* const Printer = "127.1.1.1";
const std::vector<std::string> Failure = {"... Error Detected. The command failed. Program unable to continue.",
                                          "... Please check the printer. Correct the error and try again.",
                                          "Program terminated!!!"};

struct ProgressWorld : testsupport::QuillonWorld {
    explicit ProgressWorld(std::uint32_t counter = 1000) : QuillonWorld(counter) {
        // The printer-setup entry point and the starter on the in-memory spooler.
        processes.program("rundll32", [this](const std::string& line) {
            if (line.find(" /dl ") != std::string::npos) spooler.deleteQueue("Quillon");
        });
        processes.program("tevask", [this](const std::string& line) {
            const auto words = platform::splitCommandLine(line);
            batch = readFile(words.back());
            if (installs) spooler.addQueue(platform::QueueSpec{"Quillon", "parallel:/dev/lp0", "", "", ""});
        });
        // The printer takes the job after a number of polls of the queue.
        clock.onSleep = [this](std::uint32_t) {
            if (hasQueue() && !spooler.queue("Quillon").jobs.empty() && --printAfter == 0)
                spooler.queue("Quillon").jobs.clear();
        };
        messages.onShow = [this](const ui::MessageRequest& r) {
            boxes.push_back(r.title);
            boxTimes.push_back(clock.elapsed() - shownAt);
            if (auto* p = q.ProgressDlgForm.loaded()) {
                log = testsupport::splitCrLf(p->StatusLog.text());
                page = p;
            }
        };
    }

    bool hasQueue() {
        for (const auto& name : spooler.queues().names)
            if (name == "Quillon") return true;
        return false;
    }
    // 'T' TCP/IP, 'F' file, 'L' parallel port.
    void choose(char output, const std::string& file = {}) {
        auto& p = q.PortSelectForm();
        if (output == 'T') {
            p.PortTCP.setValue(true);
            p.IPAddr.setText(Printer);
        } else if (output == 'F') {
            p.PortFile.setValue(true);
            p.FileName.setText(file);
        }
    }
    // Shows the page as the finish page does and runs it to its end.
    void run() {
        // The finish page rebuilds the commands when it loads.
        q.FinishDialogForm().show();
        q.FinishDialogForm().hide();
        q.NicCommands = Commands;
        shownAt = clock.elapsed();
        q.ProgressDlgForm().show();
        pump.run();
    }
    // Command lines started since the port page listed the ports.
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (const auto& s : processes.starts)
            if (s.commandLine.find("quenmora") == std::string::npos) out.push_back(s.commandLine);
        return out;
    }
    std::string tevaskLine() const { return folder.str() + "/tevask " + folder.str() + "/quillon.bat"; }

    platform::MemoryNetwork::TcpPeer& peer() { return network.tcpPeer(Printer, 9100); }

    ~ProgressWorld() {
        if (pipeReader >= 0) ::close(pipeReader);
    }

    bool installs = true;
    int printAfter = 1;
    int pipeReader = -1;
    std::string batch;
    std::uint64_t shownAt = 0;
    std::vector<std::string> boxes;
    std::vector<std::uint64_t> boxTimes;
    std::vector<std::string> log;  // the status log when the last box was shown
    ProgressDlg* page = nullptr;   // the page that showed it, kept after its unload
};

const std::string Delete = "rundll32 printui.dll,PrintUIEntry /q /dl /n \"Quillon\"";
const std::string Install =
    "rundll32 printui.dll,PrintUIEntry /q /if /b \"Quillon\" /f %windir%\\inf\\ntprint.inf /r \"LPT1:\" /m \"Generic / "
    "Text Only\"";

TEST(ProgressRun, FileOutputWritesTheJobAndOneMoreLineEndWithoutAStatusWait) {
    ProgressWorld w;
    w.choose('F', w.work.file("nic.txt"));
    testsupport::writeFile(w.work.file("nic.txt"), "an earlier job\r\n");  // replaced, not added to
    w.run();
    EXPECT_EQ(readFile(w.work.file("nic.txt")), std::string(Job) + "\r\n");
    EXPECT_EQ(w.boxes, std::vector<std::string>{"Process Successful"});
    EXPECT_EQ(w.boxTimes[0], 2000u);  // four ticks
    EXPECT_EQ(w.log, (std::vector<std::string>{"Initializing ....", "Sending settings to file.", "Process complete."}));
    EXPECT_EQ(w.lines(), (std::vector<std::string>{Delete, Delete, Delete}));
    EXPECT_TRUE(w.q.SetupSent);
    EXPECT_TRUE(w.app.ended());
}

TEST(ProgressRun, TcpOutputSendsOnceOnTheSecondTickAndWaitsFifteenSeconds) {
    // The printer acknowledges the job at once, or only as the status wait
    // ends, after the wait's last look at the connection.
    for (const bool late : {false, true}) {
        SCOPED_TRACE(late ? "acknowledged as the wait ends" : "acknowledged at once");
        ProgressWorld w;
        w.choose('T');
        w.peer().acknowledges = !late;
        w.clock.onSleep = [&w](std::uint32_t) {
            if (w.clock.elapsed() - w.shownAt >= 16000) w.peer().acknowledges = true;
        };
        w.run();
        EXPECT_EQ(w.peer().received, Job);
        EXPECT_EQ(w.boxes, std::vector<std::string>{"Process Successful"});
        ASSERT_FALSE(w.boxTimes.empty());
        EXPECT_GE(w.boxTimes[0], 16500u);  // ticks at 0.5 s and 1 s, the status wait, the last tick
        EXPECT_LE(w.boxTimes[0], 16550u);
        EXPECT_EQ(w.log, (std::vector<std::string>{"Initializing ....", "Sending settings to printer.",
                                                   "Rebooting printer to enable new settings.", "Process complete."}));
        int sends = 0;
        for (const auto& c : w.network.calls()) sends += c.starts_with("tcp send");
        EXPECT_EQ(sends, 1);  // no tick ran inside the status wait
        EXPECT_EQ(w.peer().closes, 1);
        EXPECT_EQ(w.lines(), (std::vector<std::string>{Delete, Delete, Delete}));
    }
}

TEST(ProgressRun, TcpConnectionThatComesLateCountsToFortyFirst) {
    ProgressWorld w;
    w.choose('T');
    w.peer().answer = platform::MemoryNetwork::TcpPeer::Answer::Silent;
    w.pump.post([&] { w.peer().answer = platform::MemoryNetwork::TcpPeer::Answer::Accept; }, 3000);
    w.run();
    EXPECT_EQ(w.peer().received, Job);
    EXPECT_GE(w.boxTimes.at(0), 35500u);  // 40 ticks of counting, the status wait, two more ticks
    EXPECT_LE(w.boxTimes.at(0), 35550u);
    EXPECT_EQ(w.lines(), (std::vector<std::string>{Delete, Delete}));  // no preparation on this path
}

TEST(ProgressRun, LocalPortInstallsTheQueueSpoolsTheJobAndRemovesTheQueue) {
    ProgressWorld w;
    w.printAfter = 20;
    w.run();
    EXPECT_EQ(w.batch, Install + "\r\n");
    EXPECT_EQ(w.lines(), (std::vector<std::string>{Delete, w.tevaskLine(), Delete, Delete}));
    ASSERT_EQ(w.spooler.documents.size(), 1u);
    EXPECT_EQ(w.spooler.documents[0].queue, "Quillon");
    EXPECT_EQ(w.spooler.documents[0].name, "Quillon Command");
    EXPECT_EQ(w.spooler.documents[0].bytes, Job);
    EXPECT_FALSE(w.hasQueue());
    EXPECT_EQ(w.boxes, std::vector<std::string>{"Process Successful"});
    EXPECT_EQ(w.log, (std::vector<std::string>{"Initializing ....", "Sending settings to printer.",
                                               "Rebooting printer to enable new settings.", "Process complete."}));
}

TEST(ProgressRun, TheTemporaryQueueIsWatchedFromBeforeTheSendUntilTheJobsEnd) {
    struct Case {
        const char* name;
        platform::SpoolResult watch;
        platform::JobOutcome outcome;
        bool delivered;
    };
    const auto refused = platform::SpoolResult::failed(platform::SpoolError::NotSupported);
    const Case cases[] = {
        {"watched, completed", {}, platform::JobOutcome::Completed, true},
        {"watched, its end untold", {}, platform::JobOutcome::Failed, false},
        // Without a watch, a job the spooler no longer knows has left.
        {"not watched, no longer known", refused, platform::JobOutcome::Unknown, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgressWorld w;
        w.q.DebugMode = true;
        w.spooler.watchResult = c.watch;
        w.spooler.nextJobId = 40;
        w.spooler.outcomes[40] = c.outcome;
        w.run();
        EXPECT_EQ(w.q.SetupSent, c.delivered);
        std::vector<std::string> watching;
        for (const auto& call : w.spooler.calls)
            if (call.find("atchJobs") != std::string::npos || call.starts_with("startDocument") ||
                call.starts_with("jobOutcome"))
                watching.push_back(call);
        std::vector<std::string> expected = {"watchJobs Quillon", "startDocument Quillon Quillon Command",
                                             "jobOutcome Quillon 40"};
        if (c.watch.ok()) expected.push_back("unwatchJobs Quillon");
        EXPECT_EQ(watching, expected);
        EXPECT_EQ(readFile(w.folder.file("Log.txt")).find("a job it no longer lists counts as delivered") !=
                      std::string::npos,
                  !c.watch.ok());
    }
}

// Each helper gets the time a call to the print server may take as its deadline.
TEST(ProgressRun, HelpersGetTheCallTimeLimitAsTheirDeadline) {
    ProgressWorld w;
    const auto before = std::chrono::steady_clock::now().time_since_epoch();
    w.run();
    const auto after = std::chrono::steady_clock::now().time_since_epoch();
    ASSERT_EQ(w.lines().size(), 4u);
    for (const auto& start : w.processes.starts) {
        if (start.commandLine.find("quenmora") != std::string::npos) continue;
        ASSERT_EQ(start.environment.size(), 1u) << start.commandLine;
        EXPECT_EQ(start.environment[0].first, "QUILL_SERVER_DEADLINE");
        const auto deadline = std::chrono::milliseconds(std::stoll(start.environment[0].second));
        EXPECT_GE(deadline, std::chrono::duration_cast<std::chrono::milliseconds>(before) + std::chrono::seconds(10));
        EXPECT_LE(deadline, std::chrono::duration_cast<std::chrono::milliseconds>(after) + std::chrono::seconds(10));
    }
}

// A run that showed its success does not fail after it, when the last
// removal of the queue runs out its time.
TEST(ProgressRun, ARemovalThatRunsOutAfterTheSuccessLeavesTheSuccessAlone) {
    ProgressWorld w;
    w.messages.onShow = [&w](const ui::MessageRequest& r) {
        w.boxes.push_back(r.title);
        w.processes.hang("rundll32");
    };
    w.run();
    EXPECT_EQ(w.boxes, std::vector<std::string>{"Process Successful"});
    EXPECT_TRUE(w.q.SetupSent);
    EXPECT_TRUE(w.app.ended());
    EXPECT_EQ(w.lines(), (std::vector<std::string>{Delete, w.tevaskLine(), Delete, Delete}));
}

// Outputs that do not go through the print server are delivered when it is
// silent to the removal of the temporary queue; the run asks it nothing more.
TEST(ProgressRun, TcpAndFileOutputGoOnPastAPrintServerSilentToTheQueueRemoval) {
    const struct {
        char output;
        bool hangs;  // the removal runs out its time; else it says the server is silent
    } cases[] = {{'F', true}, {'T', false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        ProgressWorld w;
        w.choose(c.output, w.work.file("nic.txt"));
        w.peer();
        if (c.hangs)
            w.processes.hang("rundll32");
        else
            w.processes.exitWith("rundll32", 3);
        w.run();
        EXPECT_EQ(w.boxes, std::vector<std::string>{"Process Successful"});
        EXPECT_TRUE(w.q.SetupSent);
        EXPECT_EQ(w.lines(), std::vector<std::string>{Delete});
        EXPECT_EQ(c.output == 'F' ? readFile(w.work.file("nic.txt")) : w.peer().received,
                  std::string(Job) + (c.output == 'F' ? "\r\n" : ""));
    }
}

TEST(ProgressRun, StatusWaitEndsOnTimeAcrossMidnightAndACounterWrap) {
    const std::uint32_t untilMidnight = (14 * 3600 + 59 * 60 + 55) * 1000;  // from 09:00:00 to 23:59:55
    ProgressWorld w(0u - untilMidnight - 2000);
    w.clock.advance(untilMidnight);
    w.choose('T');
    w.peer();
    w.run();
    EXPECT_GE(w.boxTimes.at(0), 16500u);
    EXPECT_LE(w.boxTimes.at(0), 16550u);
}

TEST(ProgressRun, ClosingThePageWhileTheJobWaitsInTheQueueRemovesTheQueue) {
    ProgressWorld w;
    w.printAfter = -1;  // the printer never takes it
    w.pump.post([&] { w.q.ProgressDlgForm().userClose(); }, 20'000);
    w.run();
    EXPECT_TRUE(w.app.ended());
    EXPECT_FALSE(w.hasQueue());
    EXPECT_EQ(w.lines().back(), Delete);
    EXPECT_TRUE(w.boxes.empty());
    EXPECT_FALSE(w.q.SetupSent);
}

struct Fail {
    const char* name;
    char output;
    std::function<void(ProgressWorld&)> arrange;
    std::vector<std::string> boxes;        // every box shown, in order
    std::uint64_t failsAt;                 // ms after the page was shown, give or take the queue deletion
    std::vector<std::string> log;          // before the three failure lines
    const char* file = "missing/nic.txt";  // the output file, under the working folder
};

const std::string Sending = "Sending settings to printer.";
const Fail Fails[] = {
    {"RefusedConnection",
     'T',
     [](ProgressWorld& w) { w.peer().answer = platform::MemoryNetwork::TcpPeer::Answer::Refuse; },
     {"Program Error"},
     500,
     {"Initializing ...."}},
    {"ConnectionNeverUp",
     'T',
     [](ProgressWorld& w) { w.peer().answer = platform::MemoryNetwork::TcpPeer::Answer::Silent; },
     {"Program Error"},
     19500,
     {"Initializing ...."}},
    {"ConnectionDroppedBeforeTheSend",
     'T',
     [](ProgressWorld& w) { w.pump.post([&w] { w.peer().hangsUp = true; }, 700); },
     {"Program Error"},
     1000,
     {"Initializing ....", Sending}},
    {"PrinterNeverAcknowledges",
     'T',
     [](ProgressWorld& w) { w.peer().acknowledges = false; },
     {"Program Error"},
     16000,
     {"Initializing ....", Sending}},
    {"ConnectionBreaksDuringTheSend",
     'T',
     [](ProgressWorld& w) {
         w.peer().takePerPass = 8;
         w.peer().breakAfter = 16;
     },
     {"Program Error"},
     16000,
     {"Initializing ....", Sending}},
    {"FileInAMissingFolder",
     'F',
     [](ProgressWorld&) {},
     {"Program Error"},
     1000,
     {"Initializing ....", "Sending settings to file."}},
    {"FileIsAPipe",
     'F',
     [](ProgressWorld& w) {
         ASSERT_EQ(::mkfifo(w.work.file("pipe").c_str(), 0600), 0);
         // With a reader, a writer that opens the pipe does not block.
         w.pipeReader = ::open(w.work.file("pipe").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
     },
     {"Program Error"},
     1000,
     {"Initializing ....", "Sending settings to file."},
     "pipe"},
    {"TextOutsideTheCodePage",
     'F',
     [](ProgressWorld& w) { w.q.NicCommands = "store ifc 2 wlan ssid \u03a9\r\n"; },
     {"Program Error"},
     1000,
     {"Initializing ....", "Sending settings to file."},
     "nic.txt"},
    {"QueueCannotBeMade",
     'L',
     [](ProgressWorld& w) { w.installs = false; },
     {"Program Error", "Program Error"},
     1000,
     {"Initializing ....", Sending}},
    {"QueueNotReady",
     'L',
     [](ProgressWorld& w) {
         w.processes.program("tevask", [&w](const std::string&) { w.spooler.addQueue("Quillon").record.status = 1; });
     },
     {"Program Error", "Program Error"},
     1000,
     {"Initializing ....", Sending}},
    {"SpoolerRefusesTheJob",
     'L',
     [](ProgressWorld& w) {
         w.processes.program("tevask", [&w](const std::string&) {
             w.spooler.addQueue("Quillon").endDocumentResult = platform::SpoolResult::failed(31);
         });
     },
     {"Program Error"},
     1000,
     {"Initializing ....", Sending}},
    {"JobListCannotBeRead",
     'L',
     [](ProgressWorld& w) {
         w.processes.program("tevask", [&w](const std::string&) {
             w.spooler.addQueue("Quillon").jobsResult = platform::SpoolResult::failed(5);
         });
     },
     {"Program Error"},
     16000,
     {"Initializing ....", Sending, "Rebooting printer to enable new settings."}},
    {"QueueCannotBeOpenedAfterTheSend",
     'L',
     [](ProgressWorld& w) {
         w.spooler.onCall = [&w](const std::string& call) {
             if (call == "endDocument Quillon")
                 w.spooler.queue("Quillon").openError = platform::SpoolError::AccessDenied;
         };
     },
     {"Program Error"},
     16000,
     {"Initializing ....", Sending, "Rebooting printer to enable new settings."}},
    {"JobEndUntold",
     'L',
     [](ProgressWorld& w) {
         w.spooler.nextJobId = 40;
         w.spooler.outcomes[40] = platform::JobOutcome::Failed;
     },
     {"Program Error"},
     16000,
     {"Initializing ....", Sending, "Rebooting printer to enable new settings."}},
    {"JobCancelledAtThePrinter",
     'L',
     [](ProgressWorld& w) {
         w.spooler.nextJobId = 40;
         w.spooler.outcomes[40] = platform::JobOutcome::Canceled;
     },
     {"Program Error"},
     16000,
     {"Initializing ....", Sending, "Rebooting printer to enable new settings."}},
    {"JobAbortedBySpooler",
     'L',
     [](ProgressWorld& w) {
         w.spooler.nextJobId = 40;
         w.spooler.outcomes[40] = platform::JobOutcome::Aborted;
     },
     {"Program Error"},
     16000,
     {"Initializing ....", Sending, "Rebooting printer to enable new settings."}},
    {"JobNeverLeavesTheQueue",
     'L',
     [](ProgressWorld& w) { w.printAfter = -1; },
     {"Program Error"},
     76000,
     {"Initializing ....", Sending, "Rebooting printer to enable new settings."}},
};

struct FailName {
    std::string operator()(const ::testing::TestParamInfo<Fail>& info) const { return info.param.name; }
};

class ProgressFailure : public ::testing::TestWithParam<Fail> {};

TEST_P(ProgressFailure, EndsInJobFailureAndReturnsToTheFinishPage) {
    const Fail& f = GetParam();
    ProgressWorld w;
    w.choose(f.output, w.work.file(f.file));
    w.peer();
    w.q.NicCommands = Commands;
    w.q.FinishDialogForm();
    // Arranged after the commands, which a case may replace.
    auto run = [&] {
        w.shownAt = w.clock.elapsed();
        w.q.ProgressDlgForm().show();
        w.pump.run();
    };
    f.arrange(w);
    run();
    EXPECT_EQ(w.boxes, f.boxes);
    ASSERT_FALSE(w.boxTimes.empty());
    EXPECT_GE(w.boxTimes.back(), f.failsAt);
    EXPECT_LE(w.boxTimes.back(), f.failsAt + 300);
    std::vector<std::string> log = f.log;
    log.insert(log.end(), Failure.begin(), Failure.end());
    EXPECT_EQ(w.log, log);
    EXPECT_EQ(w.messages.last().text, Failure[0] + "\r\n" + Failure[1] + "\r\n" + Failure[2]);
    EXPECT_FALSE(w.q.SetupSent);
    EXPECT_FALSE(w.app.ended());
    EXPECT_EQ(w.q.ProgressDlgForm.loaded(), nullptr);
    EXPECT_TRUE(w.q.FinishDialogForm().isVisible());
    EXPECT_FALSE(w.hasQueue());
    EXPECT_EQ(w.lines().back(), Delete);
    EXPECT_FALSE(std::filesystem::is_regular_file(w.work.file(f.file)));

    // A second send starts afresh.
    auto& again = w.q.ProgressDlgForm();
    EXPECT_EQ(again.ProgressBar.value(), 0);
    EXPECT_EQ(again.StatusLog.text(), "Initializing ....");
}

INSTANTIATE_TEST_SUITE_P(Runs, ProgressFailure, ::testing::ValuesIn(Fails), FailName{});

// A print server that does not answer ends a run through the temporary
// queue with its own box alone, whenever it falls silent, also to a helper
// (which says so, or runs out its time): nothing is purged, and the queue is
// left to the next run, which removes it first.
TEST(ProgressSilentServer, EndsTheRunWithItsBoxAndAsksItNothingMore) {
    struct Case {
        const char* name;
        std::function<void(ProgressWorld&)> silence;
        std::uint64_t failsAt;  // ms after the page was shown
        std::vector<std::string> log;
        std::size_t helpers = 2;  // the helpers started: the removal, the starter, the removal after the job
    };
    // The queue the starter installs, and what the spooler does with it.
    auto install = [](ProgressWorld& w, std::function<void(platform::MemorySpooler::Queue&)> spoil) {
        w.processes.program("tevask", [&w, spoil](const std::string&) {
            spoil(w.spooler.addQueue("Quillon", "Generic / Text Only", "parallel:/dev/lp0"));
        });
    };
    const auto silent = platform::SpoolResult::failed(platform::SpoolError::NoAnswer);
    const Case cases[] = {
        {"as the queue is selected",
         [&](ProgressWorld& w) { install(w, [](auto& q) { q.openError = platform::SpoolError::NoAnswer; }); },
         1000,
         {"Initializing ....", Sending}},
        {"as the job is spooled",
         [&](ProgressWorld& w) { install(w, [&](auto& q) { q.startDocumentResult = silent; }); },
         1000,
         {"Initializing ....", Sending}},
        {"as the queue is read after the job",
         [&](ProgressWorld& w) {
             w.spooler.onCall = [&w, silent](const std::string& call) {
                 if (call == "endDocument Quillon") w.spooler.queue("Quillon").printerResult = silent;
             };
         },
         1000,
         {"Initializing ....", Sending}},
        {"while the job leaves the queue",
         [](ProgressWorld& w) {
             w.pump.post([&w] { w.spooler.queue("Quillon").openError = platform::SpoolError::NoAnswer; }, 5000);
         },
         16000,
         {"Initializing ....", Sending, "Rebooting printer to enable new settings."}},
        {"as the job's end is asked",
         [](ProgressWorld& w) {
             w.spooler.nextJobId = 40;
             w.spooler.outcomes[40] = platform::JobOutcome::NoAnswer;
         },
         16000,
         {"Initializing ....", Sending, "Rebooting printer to enable new settings."}},
        {"before the run", [](ProgressWorld& w) { w.spooler.silentServer = true; }, 500, {"Initializing ...."}, 0},
        {"to the removal of a leftover queue",
         [](ProgressWorld& w) { w.processes.exitWith("rundll32", 3); },
         610,
         {"Initializing ...."},
         1},
        {"to the installation of the queue",
         [](ProgressWorld& w) { w.processes.exitWith("quillon.bat", 3); },
         720,
         {"Initializing ...."}},
        {"while the installation runs out its time",
         [](ProgressWorld& w) { w.processes.hang("quillon.bat"); },
         11720,
         {"Initializing ...."}},
        {"while the removal after the job runs out its time",
         [&](ProgressWorld& w) { install(w, [&w](auto&) { w.processes.hang("rundll32"); }); },
         27110,
         {"Initializing ....", Sending, "Rebooting printer to enable new settings."},
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgressWorld w;
        c.silence(w);
        w.run();
        EXPECT_EQ(w.boxes, std::vector<std::string>{"Program Error"});
        EXPECT_EQ(w.messages.last().text,
                  "The print server of this workstation does not answer.\r\nMake sure that it is running and that "
                  "this workstation can reach it.");
        ASSERT_EQ(w.boxTimes.size(), 1u);
        EXPECT_GE(w.boxTimes[0], c.failsAt);
        EXPECT_LE(w.boxTimes[0], c.failsAt + 300);
        std::vector<std::string> log = c.log;
        log.insert(log.end(),
                   {"... The print server does not answer. Program unable to continue.", "Program terminated!!!"});
        ASSERT_NE(w.page, nullptr);
        EXPECT_EQ(testsupport::splitCrLf(w.page->StatusLog.text()), log);
        EXPECT_TRUE(w.q.FinishDialogForm().isVisible());
        const std::vector<std::string> helpers = {Delete, w.tevaskLine(), Delete};
        EXPECT_EQ(w.lines(), std::vector<std::string>(helpers.begin(), helpers.begin() + c.helpers));
        EXPECT_EQ(std::count_if(w.spooler.calls.begin(), w.spooler.calls.end(),
                                [](const std::string& call) { return call.starts_with("delete "); }),
                  0);
        EXPECT_FALSE(w.q.SetupSent);
        EXPECT_FALSE(w.app.ended());
        EXPECT_EQ(w.q.ProgressDlgForm.loaded(), nullptr);
    }
}

TEST(ProgressPage, FramingAndQueueLinesHoldOneQuotedPort) {
    EXPECT_EQ(netcfg::NicSetupJob(""), "!VMD_SETUP\r\nNIC_SETUP\r\n\r\nreboot\r\nEND_NIC_SETUP\r\nVMD_END\r\n");
    EXPECT_EQ(ProgressDlg::QueueInstallLine("LPT1:"), Install);
    const auto words = platform::splitCommandLine(ProgressDlg::QueueInstallLine("a\" /m \"x\\"));
    ASSERT_EQ(words.size(), 12u);
    EXPECT_EQ(words[9], "a\" /m \"x\\");
    EXPECT_EQ(words[11], "Generic / Text Only");

    testsupport::QuillonWorld w;
    auto& page = w.q.ProgressDlgForm();
    EXPECT_EQ(page.caption(), "Progress Monitor");
    EXPECT_EQ(page.Timer1.interval(), 500);
    EXPECT_TRUE(page.StatusLog.multiLine());
    EXPECT_TRUE(page.StatusLog.locked());
    for (const ui::Control* c : page.controls()) EXPECT_NE(c->kind(), ui::Kind::CommandButton) << c->name();
}

}  // namespace
