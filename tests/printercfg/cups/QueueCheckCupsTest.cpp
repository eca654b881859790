// The queue check after a job against the private CUPS scheduler (started
// for this program by DiscoveryCupsTest.cpp): with a printer that prints
// the first job and hangs on the next, and with printers whose jobs are
// cancelled.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "platform/cups/CupsSpooler.h"
#include "printercfg/core/KRNCmds.h"
#include "printercfg/core/ProgressDlg.h"
#include "support/CupsServer.h"
#include "support/Lines.h"
#include "support/MarrowbyWorld.h"

using testsupport::testScheduler;

namespace {

constexpr int JobCanceled = 7, JobCompleted = 9;

// The IPP state of a job of the queue, finished ones included; 0 when unknown.
int stateOf(const std::string& queue, int id) {
    for (const auto& j : testScheduler().jobs(queue, true))
        if (j.id == id) return j.state;
    return 0;
}

TEST(QueueCheck, AForeignJobThatFinishesAheadOfTheWizardsOwnIsNoMove) {
    testsupport::MarrowbyWorld w;
    platform::CupsSpooler cups;
    w.os.spoolerBackend = &cups;
    const std::string queue = "Hangs-Second";
    // The scheduler's temporary folder, where its backends may write.
    const std::filesystem::path marks = testScheduler().root() / "tmp" / "first-only";
    std::filesystem::remove_all(marks);
    std::filesystem::create_directories(marks);
    std::filesystem::permissions(marks, std::filesystem::perms::all);
    const std::string dir = marks.string();
    const std::string script =
        "#!/bin/sh\n"
        "[ $# -eq 0 ] && exit 0\n"
        "if [ -e " +
        dir +
        "/printed ]; then\n"
        "  touch " +
        dir +
        "/hanging\n"
        "  exec sleep 600\n"
        "fi\n"
        "touch " +
        dir + "/printed\n";
    testScheduler().setBackend("firstonly", script);
    testScheduler().addQueue(queue, "firstonly:/label");
    struct CleanUp {
        ~CleanUp() {
            testScheduler().removeQueues({"Hangs-Second"});
            testScheduler().restoreBackend("firstonly");
        }
    } cleanUp;

    // A foreign job heads the held queue, the wizard's job waits behind it.
    testScheduler().pause(queue);
    const int foreign = testScheduler().submit(queue, "Someone else's label", "label\r\n");
    cups.setCurrentPrinter(queue);
    printercfg::KRNCmds cmds(w.m);
    cmds.SendCalibrateCmd();
    ASSERT_TRUE(cmds.lastJob().spooled);
    auto& page = w.m.ProgressDlgForm();
    page.show();
    page.StepJob = cmds.lastJob();

    // Once the first look has been taken, the queue goes on: the foreign job
    // is printed and the wizard's hangs. Real time passes on each poll until
    // then, so that the scheduler and its backend can act.
    bool resumed = false, hanging = false;
    int polls = 0;
    w.clock.onSleep = [&](std::uint32_t) {
        if (!resumed) testScheduler().resume(queue);
        resumed = true;
        if (hanging || ++polls > 2000) return;
        ::usleep(10000);
        hanging = std::filesystem::exists(marks / "hanging");
    };
    EXPECT_FALSE(page.Check_Job_Status(5));
    EXPECT_TRUE(hanging);
    EXPECT_TRUE(testScheduler().waitForJobState(foreign, JobCompleted, std::chrono::seconds(0)));
    const auto log = testsupport::splitCrLf(page.StatusLog.text());
    EXPECT_NE(std::find(log.begin(), log.end(), "... Error Detected. The command failed. Program unable to continue."),
              log.end());
}

TEST(QueueCheck, AJobThePrinterCancelsIsNoMove) {
    struct Case {
        const char* name;
        bool hangs;  // the backend hangs until the job is cancelled; else it cancels the job itself
    };
    for (const Case& c : {Case{"the backend exits with 5", false}, Case{"cancelled while the backend hangs", true}}) {
        SCOPED_TRACE(c.name);
        testsupport::MarrowbyWorld w;
        platform::CupsSpooler cups;
        w.os.spoolerBackend = &cups;
        const std::string queue = "Refuses";
        const std::filesystem::path marks = testScheduler().setRefusingBackend("refuses", c.hangs);
        testScheduler().addQueue(queue, "refuses:/label");
        struct CleanUp {
            ~CleanUp() {
                testScheduler().removeQueues({"Refuses"});
                testScheduler().restoreBackend("refuses");
            }
        } cleanUp;

        cups.setCurrentPrinter(queue);
        printercfg::KRNCmds cmds(w.m);
        cmds.SendCalibrateCmd();
        ASSERT_TRUE(cmds.lastJob().spooled);
        const int own = static_cast<int>(cmds.lastJob().jobId);
        auto& page = w.m.ProgressDlgForm();
        page.show();
        page.StepJob = cmds.lastJob();
        // Real time passes on each poll until the job is cancelled.
        bool cancelled = false;
        int polls = 0;
        w.clock.onSleep = [&](std::uint32_t) {
            if (cancelled || ++polls > 2000) return;
            if (c.hangs && std::filesystem::exists(marks / "hanging")) testScheduler().cancelAll(queue);
            cancelled = testScheduler().waitForJobState(own, JobCanceled, std::chrono::milliseconds(10));
        };
        EXPECT_FALSE(page.Check_Job_Status(5));
        EXPECT_EQ(stateOf(queue, own), JobCanceled);
        const auto log = testsupport::splitCrLf(page.StatusLog.text());
        EXPECT_NE(
            std::find(log.begin(), log.end(), "... Error Detected. The command failed. Program unable to continue."),
            log.end());
    }
}

}  // namespace
