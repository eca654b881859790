// Marrowby from the printer selection to the end of the send sequence
// against the private cupsd: a queue whose jobs reach the printer simulator,
// a queue whose device accepts nothing (its front panel read from snmpd at
// the queue's address), and a queue whose device fails so that CUPS aborts
// the job.
//
// The pages wait on the virtual clock. The scheduler, its backends, the
// simulator and the agent are separate processes working in real time: the
// clock runs no faster than real time while the scheduler still has a job
// that can move, or a request to the agent waits for its answer, and leaps
// once they are idle.

#include <gtest/gtest.h>

#include "foundation/KAEIntro.h"
#include "platform/LongCall.h"
#include "platform/RegistryViews.h"
#include "platform/cups/CupsSpooler.h"
#include "platform/posix/PosixSockets.h"
#include "printercfg/core/FinishDialog.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/core/ProgressDlg.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "printercfg/pages/SelectDlg.h"
#include "printercfg/pages/Selection.h"
#include "support/CupsServer.h"
#include "support/Lines.h"
#include "support/Loopback.h"
#include "support/MarrowbyWorld.h"
#include "support/PrinterSim.h"
#include "support/ServerTime.h"
#include "support/SnmpServer.h"
#include "support/TempDir.h"

using testsupport::testScheduler;
using Strings = std::vector<std::string>;
using testsupport::setupBlock;
using testsupport::splitCrLf;

namespace {

const auto* const cupsEnvironment = ::testing::AddGlobalTestEnvironment(new testsupport::CupsEnvironment);

// A PPD whose *NickName is a supported driver; jobs pass through raw.
std::string ppd(const std::string& nickName) {
    return "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
           "*LanguageEncoding: ISOLatin1\n*PCFileName: \"TESSIV.PPD\"\n*Manufacturer: \"Tessivarn\"\n"
           "*Product: \"(Label Printer)\"\n*ModelName: \"" +
           nickName +
           "\"\n*ShortNickName: \"Tessivarn Label\"\n"
           "*NickName: \"" +
           nickName +
           "\"\n*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n"
           "*ColorDevice: False\n*DefaultColorSpace: Gray\n*FileSystem: False\n*Throughput: \"1\"\n"
           "*TTRasterizer: Type42\n*cupsFilter: \"application/vnd.cups-raw 0 -\"\n"
           "*OpenUI *PageSize/Media Size: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n"
           "*DefaultPageSize: w288h432\n*PageSize w288h432/4 x 6 in: \"<</PageSize[288 432]>>setpagedevice\"\n"
           "*CloseUI: *PageSize\n*OpenUI *PageRegion: PickOne\n*OrderDependency: 10 AnySetup *PageRegion\n"
           "*DefaultPageRegion: w288h432\n"
           "*PageRegion w288h432/4 x 6 in: \"<</PageSize[288 432]>>setpagedevice\"\n*CloseUI: *PageRegion\n"
           "*DefaultImageableArea: w288h432\n*ImageableArea w288h432: \"0 0 288 432\"\n"
           "*DefaultPaperDimension: w288h432\n*PaperDimension w288h432: \"288 432\"\n";
}

const std::string Dummy = setupBlock({});

struct SendEndToEnd : ::testing::Test {
    testsupport::MarrowbyWorld w;
    platform::CupsSpooler cups;
    platform::RegistryViews views{w.store, cups, w.programFolder};
    platform::PosixSockets sockets;
    testsupport::TempDir files;
    std::vector<std::string> added;
    std::string statusText;
    // Queues whose device takes nothing: their jobs never move.
    std::vector<std::string> stuck;
    testsupport::ServerTime serverTime{w.clock, [this] { return busy(); }};

    void SetUp() override {
        w.os.spoolerBackend = &cups;
        w.os.registryBackend = &views;
        w.os.socketFactory = &sockets;
        serverTime.onEveryMove();
        // A call to the print server may set it to work.
        platform::setLongCallHook({{}, [this] { serverTime.recheck(); }});
    }
    void TearDown() override {
        platform::setLongCallHook({});
        testScheduler().removeQueues(added);
    }
    bool busy() {
        const auto* page = w.m.ProgressDlgForm.loaded();
        if (page && page->pwSocket && !page->replyReceived()) return true;
        return testScheduler().hasWork(stuck);
    }
    void addQueue(const std::string& name, const std::string& uri, const std::string& policy) {
        const std::string file = files.file(name + ".ppd");
        testsupport::writeFile(file, ppd("Tessivarn 7391-Q25 006"));
        platform::QueueSpec spec;
        spec.name = name;
        spec.deviceUri = uri;
        spec.ppdFile = file;
        spec.errorPolicy = policy;
        ASSERT_TRUE(cups.addQueue(spec).ok()) << testScheduler().errorLog();
        added.push_back(name);
    }

    // The pages from the welcome page to the finish page: landscape and a
    // speed of 5 in/sec, saved into configuration 2. `answers`: the boxes of the send.
    void walkToTheSend(const std::string& queue, const std::vector<int>& answers = {}) {
        w.m.Main("");
        w.m.KAEIntroForm().Next.click();
        auto& choice = w.m.SelectDlgForm();
        choice.CfgPrinter.click();
        choice.Next.click();
        auto& selection = w.m.SelectionForm();
        const auto& rows = selection.PrinterList.items();
        const auto row = std::find(rows.begin(), rows.end(), queue);
        ASSERT_NE(row, rows.end()) << queue;
        selection.PrinterList.userSelect(static_cast<int>(row - rows.begin()));
        selection.Next.click();
        w.m.LoadDlgForm().Next.click();
        auto& media = w.m.OperationForm();
        ASSERT_TRUE(media.isVisible());
        media.OrientationCB.click();
        media.OrientationCombo.userSelect(1);
        media.Next.click();
        auto& print = w.m.PrinterSetupForm();
        print.PrintSpeedCB.click();
        print.PrintSpeedCombo.userSelect(4);
        w.messages.answer(ui::IDNO);  // no settings file
        print.Finish.click();
        auto& finish = w.m.FinishDialogForm();
        ASSERT_TRUE(finish.isVisible());
        EXPECT_EQ(finish.SelectedPrinterName.caption(), queue);
        finish.SaveCfgCB.click();
        finish.SaveCombo.userSelect(1);
        w.messages.answer(ui::IDYES);  // overwrite configuration 2
        for (int a : answers) w.messages.answer(a);
        auto& progress = w.m.ProgressDlgForm();
        progress.SnmpPort = snmpPort;
        finish.OKButton.click();
        statusText = progress.StatusLog.text();
    }
    std::uint16_t snmpPort = 0;  // no agent: a request is not sent
};

const std::string SettingsJob =
    setupBlock({"WINMODE-BEGIN"}) + "~PAPER;ROTATE 90\r\n~PAPER;SPEED IPS 5\r\n" + setupBlock({"WINMODE-END"});

TEST_F(SendEndToEnd, JobsReachThePrinterAndTheRunEndsConfigured) {
    testsupport::PrinterSim sim;
    snmpPort = sim.udpPort();
    addQueue("Label-Moves", testsupport::socketUri(sim.address(), sim.tcpPort()), "");
    // The success box, then no settings file on the way out.
    walkToTheSend("Label-Moves", {ui::IDOK, ui::IDNO});
    EXPECT_EQ(splitCrLf(statusText), (Strings{"Initializing ....", "Sending configuration update request to printer.",
                                              "  ... Request received OK", "Requesting configuration to be saved.",
                                              "  ... Request received OK", "Printer Successfully Configured."}));
    ASSERT_TRUE(sim.waitForJobs(4)) << testScheduler().errorLog();
    const Strings expected = {SettingsJob, Dummy, setupBlock({"CONFIG-SAVE;2"}), Dummy};
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(sim.jobText(i), expected[i]) << i;
    EXPECT_EQ(sim.jobs().size(), 4u);
    const auto& boxes = w.messages.shown();
    EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [](const ui::MessageRequest& r) {
        return r.text == "Printer Setup Request Successfully Sent";
    }));
    EXPECT_TRUE(w.app.ended());
}

TEST_F(SendEndToEnd, AStuckJobStaysAtTheHeadAndTheFrontPanelIsRead) {
    testsupport::RefusingPort device;
    testsupport::SnmpdOptions agentOptions;
    agentOptions.address = device.address();
    agentOptions.line1 = "PAPER OUT";
    agentOptions.line2 = "LOAD MEDIA";
    testsupport::SnmpServer agent(agentOptions);
    snmpPort = agent.port();
    // CUPS keeps retrying the job at the head while the device refuses it.
    addQueue("Label-Stuck", testsupport::socketUri(device.address(), device.port()), "retry-current-job");
    stuck = {"Label-Stuck"};
    walkToTheSend("Label-Stuck");
    EXPECT_EQ(splitCrLf(statusText),
              (Strings{"Initializing ....", "Sending configuration update request to printer.",
                       "... Error Detected. The command failed. Program unable to continue.",
                       "... Printer Front Panel Message:", "\tPAPER OUT", "\tLOAD MEDIA", "Program terminated!!!"}))
        << agent.log();
    const auto& box = w.messages.last();
    EXPECT_EQ(box.title, "Printer Error");
    EXPECT_NE(box.text.find("Printer Front Panel Message:\r\n\tPAPER OUT\r\n\tLOAD MEDIA"), std::string::npos);
    EXPECT_TRUE(w.m.PrinterErrorSeen);
    EXPECT_FALSE(w.m.SetupSent);
    EXPECT_TRUE(w.m.PrinterSetupForm().isVisible());
    EXPECT_FALSE(w.app.ended());
    // The wizard's own jobs were purged from the queue.
    EXPECT_TRUE(testScheduler().waitForIdle("Label-Stuck")) << testScheduler().errorLog();
}

TEST_F(SendEndToEnd, AJobThatCupsAbortedHasNotMoved) {
    testScheduler().setBackend("refuse", "#!/bin/sh\n[ $# -eq 0 ] && exit 0\ncat > /dev/null\nexit 1\n");
    addQueue("Label-Aborts", "refuse://" + testsupport::randomLoopback(), "abort-job");
    walkToTheSend("Label-Aborts");
    testScheduler().restoreBackend("refuse");
    const Strings status = splitCrLf(statusText);
    ASSERT_GE(status.size(), 3u);
    EXPECT_EQ(status[2], "... Error Detected. The command failed. Program unable to continue.");
    // Not a TCP/IP port: no front panel.
    EXPECT_EQ(status.end()[-2], "... Please check the printer. Correct the error and try again.");
    EXPECT_TRUE(w.m.PrinterErrorSeen);
    // What the spooler tells of the wizard's last job.
    const std::uint32_t last = cups.lastJobId();
    ASSERT_NE(last, 0u);
    EXPECT_EQ(cups.jobOutcome("Label-Aborts", last), platform::JobOutcome::Aborted);
}

// Only a job the scheduler reports completed has moved. A scheduler without
// job history forgets a job as it ends: the check learns the end from the
// watch of the queue.
struct WithoutHistory {
    const char* name;
    const char* backendEnd;  // the backend's last line, after it took the job
    const char* policy;
    bool keepJobHistory;
    bool stateRefused;  // Get-Job-Attributes fails for a job still known
    bool moves;
};

struct SendWithoutJobHistory : SendEndToEnd, ::testing::WithParamInterface<WithoutHistory> {};

TEST_P(SendWithoutJobHistory, OnlyAJobTheSchedulerReportsCompletedHasMoved) {
    const WithoutHistory& c = GetParam();
    testsupport::CupsServer::Options scheduler;
    scheduler.keepJobHistory = c.keepJobHistory;
    if (c.stateRefused) scheduler.locked = {"Get-Job-Attributes"};
    testsupport::SchedulerOptions options(scheduler);
    testScheduler().setBackend(
        "label", std::string("#!/bin/sh\n[ $# -eq 0 ] && exit 0\ncat > /dev/null\n") + c.backendEnd + "\n");
    struct Restore {
        ~Restore() { testScheduler().restoreBackend("label"); }
    } restore;
    addQueue("Label-Forgets", "label:/x", c.policy);
    walkToTheSend("Label-Forgets", c.moves ? std::vector<int>{ui::IDOK, ui::IDNO} : std::vector<int>{});
    const Strings status = splitCrLf(statusText);
    ASSERT_GE(status.size(), 3u) << testScheduler().errorLog();
    EXPECT_EQ(status[2], c.moves ? "  ... Request received OK"
                                 : "... Error Detected. The command failed. Program unable to continue.");
    EXPECT_EQ(w.m.PrinterErrorSeen, !c.moves);
    EXPECT_EQ(w.app.ended(), c.moves);
}

const WithoutHistory WithoutHistoryRows[] = {
    {"BackendCancels", "exit 5", "", false, false, false},
    {"BackendFailsUnderAbortJob", "exit 1", "abort-job", false, false, false},
    {"BackendPrints", "exit 0", "", false, false, true},
    {"StateRefused", "exit 0", "", true, true, false},
};

INSTANTIATE_TEST_SUITE_P(Runs, SendWithoutJobHistory, ::testing::ValuesIn(WithoutHistoryRows),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
