// The send sequence on the progress page against the in-memory spooler: the
// jobs, waits, progress values and status lines of each run, the queue check
// and its failures, and what the user may do meanwhile.

#include <gtest/gtest.h>

#include "foundation/KAEIntro.h"
#include "printercfg/core/KRNCmds.h"
#include "printercfg/core/ProgressDlg.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "support/Lines.h"
#include "support/MarrowbyWorld.h"
#include "ui/View.h"

using printercfg::ProgressDlg;
using Strings = std::vector<std::string>;
using testsupport::setupBlock;
using testsupport::splitCrLf;

namespace {

const std::string Queue = "Label A";
const std::string Port = "socket://127.1.1.1:9100";

// Records the values the progress bar passes.
struct BarRecorder : ui::ViewFactory {
    std::vector<int> values;
    struct View : ui::FormView {
        explicit View(BarRecorder& r) : rec(r) {}
        BarRecorder& rec;
        void visibilityChanged(bool, bool) override {}
        void captionChanged() override {}
        void controlChanged(ui::Control& c, ui::Property p) override {
            if (c.kind() == ui::Kind::ProgressBar && p == ui::Property::Value)
                rec.values.push_back(static_cast<ui::ProgressBar&>(c).value());
        }
    };
    std::unique_ptr<ui::FormView> create(ui::Form& form) override {
        if (form.name() != "ProgressDlg") return nullptr;
        return std::make_unique<View>(*this);
    }
};

const std::string Dummy = setupBlock({});
const std::string Calibrate = setupBlock({"WINMODE-BEGIN"}) + "~PAPER;CALIBRATE\r\n" + setupBlock({"WINMODE-END"});

struct SendSequence : ::testing::Test {
    testsupport::MarrowbyWorld w;
    BarRecorder bars;
    // The printer takes every job from the queue at the next poll.
    bool printerMoves = true;
    std::size_t seen = 0;
    std::vector<std::uint64_t> spooledAt;
    std::function<void()> meanwhile;

    void SetUp() override {
        w.spooler.addQueue(Queue, "Tessivarn 7391-Q25 006", Port);
        w.spooler.setCurrentPrinter(Queue);
        w.m.SelectedPrinterPort = Port;
        w.m.DebugMode = true;
        w.m.SettingsSavedToFile = true;  // no save question on the way out
        w.m.SaveConfigNumber = 3;
        w.app.setViews(&bars);
        w.clock.onSleep = [this](std::uint32_t) {
            for (; seen < w.spooler.documents.size(); ++seen) spooledAt.push_back(w.clock.elapsed());
            if (meanwhile) meanwhile();
            if (printerMoves) w.spooler.queue(Queue).jobs.clear();
        };
    }
    ProgressDlg& page() { return w.m.ProgressDlgForm(); }
    void changeEmulation() {
        w.m.PrinterSetupForm().EmulationCB.setValue(0);
        w.m.SettingsSavedToFile = true;
    }
    std::string statusText;
    // The status log stays readable after the run unloaded the page.
    void run() {
        auto& p = page();
        p.show();
        p.Start_Job();
        statusText = p.StatusLog.text();
    }
    Strings jobs() const {
        Strings out;
        for (const auto& d : w.spooler.documents) out.push_back(d.bytes);
        return out;
    }
    Strings status() const { return splitCrLf(statusText); }
    // Seconds between one spooled document and the next.
    std::vector<int> gaps() const {
        std::vector<int> out;
        for (std::size_t i = 1; i < spooledAt.size(); ++i)
            out.push_back(static_cast<int>((spooledAt[i] - spooledAt[i - 1] + 500) / 1000));
        return out;
    }
};

TEST_F(SendSequence, StepsJobsWaitsAndProgressInOrder) {
    struct Case {
        const char* name;
        bool orientation, emulation, calibration, save, powerUp;
        Strings jobs;
        std::vector<int> gaps;  // seconds from each document to the next
        std::vector<int> bars;
        Strings status;
        bool successBox;
    };
    const std::string emu =
        setupBlock({"CONFIG-OVERLAY;3.", "guardsave   .e  0   0x0", "dvxswitch   .e  1   0x0", "CONFIG-OVERLAY;END."});
    const Case cases[] = {
        {"nothing asked",
         false,
         false,
         false,
         false,
         false,
         {},
         {},
         {30, 40, 60, 80, 100},
         {"Initializing ....", "Printer Successfully Configured."},
         false},
        {"orientation only",
         true,
         false,
         false,
         false,
         false,
         {setupBlock({"WINMODE-BEGIN"}) + "~PAPER;ROTATE 180\r\n" + setupBlock({"WINMODE-END"}), Dummy},
         {5},
         {30, 40, 60, 80, 100},
         {"Initializing ....", "Sending configuration update request to printer.", "  ... Request received OK",
          "Printer Successfully Configured."},
         true},
        {"calibration, save and power-up",
         false,
         false,
         true,
         true,
         true,
         {Calibrate, Dummy, setupBlock({"CONFIG-SAVE;3"}), Dummy, setupBlock({"CONFIG-POWERUP;0"}), Dummy},
         {20, 5, 5, 5, 5},
         {30, 40, 60, 80, 100},
         {"Initializing ....", "Requesting auto calibration to be started.", "  ... Request received OK",
          "Requesting configuration to be saved.", "  ... Request received OK",
          "Requesting power-up configuration to be changed.", "  ... Request received OK",
          "Printer Successfully Configured."},
         true},
        {"emulation with save",
         false,
         true,
         false,
         true,
         false,
         {emu, Dummy, setupBlock({"CONFIG-LOAD;3"}), Dummy, setupBlock({"CONFIG-SAVE;3"}), Dummy},
         {10, 5, 10, 5, 5},
         {25, 30, 40, 60, 80, 100},
         {"Initializing ....", "Requesting active emulation to be changed.", "  ... Request received OK",
          "Requesting loading of configuration #3 to set active emulation.", "  ... Request received OK",
          "Requesting configuration to be saved.", "  ... Request received OK", "Printer Successfully Configured."},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.spooler.documents.clear();
        seen = 0;
        spooledAt.clear();
        bars.values.clear();
        w.messages.clear();
        w.m.ProgressDlgForm.unload();
        w.m.PrinterSetupForm.unload();
        w.m.OperationForm.unload();
        if (c.orientation) {
            w.m.OperationForm().OrientationCB.click();
            w.m.OperationForm().OrientationCombo.userSelect(2);
            w.m.SettingsSavedToFile = true;
        }
        if (c.emulation) changeEmulation();
        w.m.CalibrationNeeded = c.calibration;
        w.m.SaveConfigRequested = c.save;
        w.m.PowerUpRequested = c.powerUp;
        w.m.SetupSent = false;
        w.m.KAEIntroForm().show();
        run();
        EXPECT_EQ(jobs(), c.jobs);
        EXPECT_EQ(gaps(), c.gaps);
        EXPECT_EQ(bars.values, c.bars);
        EXPECT_EQ(status(), c.status);
        EXPECT_TRUE(w.m.SetupSent);
        EXPECT_EQ(w.messages.count(), c.successBox ? 1u : 0u);
        if (c.successBox) {
            EXPECT_EQ(w.messages.last().text, "Printer Setup Request Successfully Sent");
        }
        // ExitWizard unloaded every page.
        EXPECT_EQ(w.m.KAEIntroForm.loaded(), nullptr);
        for (const auto& d : w.spooler.documents) EXPECT_EQ(d.name, "Marrowby Command");
    }
}

TEST_F(SendSequence, JobTextsAndTheirLogEntries) {
    printercfg::KRNCmds cmds(w.m);
    const std::tuple<std::function<void()>, std::string, const char*> cases[] = {
        {[&] { cmds.SendLoadCfgCmd(8); }, setupBlock({"CONFIG-LOAD;8"}), "SendEmuCmd "},
        {[&] { cmds.SendSaveCfgCmd(0); }, Dummy, "SendSaveCfgCmd "},
        {[&] { cmds.SendSetPowerUpCmd(-1); }, Dummy, "SendSetPowerUpCmd "},
        {[&] { cmds.SendSetPowerUpCmd(0); }, setupBlock({"CONFIG-POWERUP;0"}), "SendSetPowerUpCmd "},
        {[&] { cmds.SendCalibrateCmd(); }, Calibrate, "SendCalibrateCmd "},
    };
    for (const auto& [send, job, label] : cases) {
        std::remove((w.programFolder + "/Log.txt").c_str());
        send();
        EXPECT_EQ(w.spooler.documents.back().bytes, job);
        EXPECT_TRUE(cmds.lastJob().spooled);
        EXPECT_EQ(cmds.lastJob().jobId, w.spooler.documents.back().jobId);
        const Strings log = splitCrLf(w.log());
        ASSERT_GE(log.size(), 3u);
        EXPECT_TRUE(log[0].ends_with(" - " + std::string(label))) << log[0];
        EXPECT_EQ(splitCrLf(job).front(), log[1]);
        EXPECT_TRUE(log[log.size() - 3].ends_with(" - " + std::string(label))) << label;
    }
    std::remove((w.programFolder + "/Log.txt").c_str());
    cmds.SendDummyJob();
    EXPECT_EQ(w.log(), "");
    EXPECT_EQ(w.spooler.documents.back().bytes, Dummy);
}

TEST_F(SendSequence, AStuckJobIsReportedWithTheFrontPanelAndTheSequenceStops) {
    struct Case {
        const char* name;
        std::string port;
        bool agentAnswers;
        Strings failure;  // status lines after the request line
        std::string box;  // the box's middle part
    };
    const Case cases[] = {
        {"TCP/IP port",
         Port,
         true,
         {"... Error Detected. The command failed. Program unable to continue.",
          "... Printer Front Panel Message:", "\tPAPER OUT", "\tLOAD MEDIA", "Program terminated!!!"},
         "Printer Front Panel Message:\r\n\tPAPER OUT\r\n\tLOAD MEDIA"},
        {"local port",
         "usb://Tessivarn/7391",
         true,
         {"... Error Detected. The command failed. Program unable to continue.",
          "... Please check the printer. Correct the error and try again.", "Program terminated!!!"},
         "Please see the printer for the error condition."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.spooler.queue(Queue).record.port = c.port;
        w.spooler.documents.clear();
        w.messages.clear();
        w.m.ProgressDlgForm.unload();
        w.spooler.addJob(Queue, "Someone else's label");
        w.network.setResponder([this](const platform::MemoryNetwork::SentDatagram& d) {
            auto reply = [&](const std::string& oid, const std::string& text) {
                std::string bind = std::string("\x06", 1) + static_cast<char>(oid.size()) + oid + "\x04" +
                                   static_cast<char>(text.size()) + text;
                std::string pdu = std::string("\x02\x01\x01\x02\x01\x00\x02\x01\x00", 9) + "\x30" +
                                  static_cast<char>(bind.size() + 2) + "\x30" + static_cast<char>(bind.size()) + bind;
                std::string msg =
                    std::string("\x02\x01\x00\x04\x06tamrel", 11) + "\xA2" + static_cast<char>(pdu.size()) + pdu;
                w.network.deliver(d.host, d.port, "\x30" + std::string(1, static_cast<char>(msg.size())) + msg);
            };
            const std::string oid = d.bytes.substr(30, static_cast<unsigned char>(d.bytes[29]));
            if (oid.size() == 8) reply(oid, "Tessivarn Corvasil");
            if (oid.size() == 12) reply(oid, oid.back() == 1 ? "PAPER OUT" : "LOAD MEDIA");
        });
        printerMoves = false;
        w.m.CalibrationNeeded = true;
        w.m.SaveConfigRequested = true;
        w.m.PrinterErrorSeen = false;
        w.m.SetupSent = true;
        run();
        Strings expected = {"Initializing ....", "Requesting auto calibration to be started."};
        expected.insert(expected.end(), c.failure.begin(), c.failure.end());
        EXPECT_EQ(status(), expected);
        // The calibration and the probe, then nothing more.
        EXPECT_EQ(jobs(), (Strings{Calibrate, Dummy}));
        ASSERT_EQ(w.messages.count(), 1u);
        EXPECT_EQ(w.messages.last().title, "Printer Error");
        EXPECT_NE(w.messages.last().text.find(c.box), std::string::npos) << w.messages.last().text;
        EXPECT_TRUE(w.m.PrinterErrorSeen);
        EXPECT_FALSE(w.m.SetupSent);
        // Our own jobs are purged; the foreign one stays.
        ASSERT_EQ(w.spooler.queue(Queue).jobs.size(), 1u);
        EXPECT_EQ(w.spooler.queue(Queue).jobs[0].document, "Someone else's label");
        w.spooler.queue(Queue).jobs.clear();
        EXPECT_TRUE(w.m.PrinterSetupForm().isVisible());
        EXPECT_TRUE(page().isVisible());
    }
    const Strings log = splitCrLf(w.log());
    EXPECT_TRUE(std::any_of(log.begin(), log.end(),
                            [](const std::string& l) { return l.ends_with(" - JobFailure: IPAddr=127.1.1.1"); }));
}

TEST_F(SendSequence, EveryOtherWayTheQueueDoesNotMoveFailsTheCheck) {
    struct Case {
        const char* name;
        std::function<void(platform::MemorySpooler::Queue&)> spoil;
    };
    const Case cases[] = {
        {"stuck in the configuration update",
         [this](auto&) {
             printerMoves = false;
             w.m.OperationForm().OrientationCB.click();
         }},
        {"the spooler did not take the job",
         [](auto& q) { q.endDocumentResult = platform::SpoolResult::failed(platform::SpoolError::GeneralFailure); }},
        {"the queue cannot be read at the first look",
         [](auto& q) { q.printerResult = platform::SpoolResult::failed(platform::SpoolError::AccessDenied); }},
        {"the queue cannot be read at the second look",
         [this](auto&) {
             meanwhile = [this] {
                 if (w.spooler.documents.size() == 2)
                     w.spooler.queue(Queue).jobsResult =
                         platform::SpoolResult::failed(platform::SpoolError::GeneralFailure);
             };
         }},
        {"the printer cancelled the job",
         [this](auto&) {
             meanwhile = [this] {
                 for (const auto& j : w.spooler.queue(Queue).jobs)
                     w.spooler.outcomes[j.id] = platform::JobOutcome::Canceled;
             };
         }},
        {"the spooler aborted the job",
         [this](auto&) {
             meanwhile = [this] {
                 for (const auto& j : w.spooler.queue(Queue).jobs)
                     w.spooler.outcomes[j.id] = platform::JobOutcome::Aborted;
             };
         }},
        {"the spooler cannot tell what became of the job",
         [this](auto&) {
             meanwhile = [this] {
                 for (const auto& j : w.spooler.queue(Queue).jobs)
                     w.spooler.outcomes[j.id] = platform::JobOutcome::Failed;
             };
         }},
        {"the spooler aborted the empty job",
         [this](auto&) {
             meanwhile = [this] {
                 if (w.spooler.documents.size() != 2) return;
                 for (const auto& j : w.spooler.queue(Queue).jobs)
                     w.spooler.outcomes[j.id] = platform::JobOutcome::Aborted;
             };
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.spooler.queue(Queue) = {};
        w.spooler.queue(Queue).record.port = Port;
        w.spooler.queue(Queue).record.name = Queue;
        w.spooler.outcomes.clear();
        w.spooler.documents.clear();
        meanwhile = nullptr;
        printerMoves = true;
        w.m.OperationForm.unload();
        c.spoil(w.spooler.queue(Queue));
        w.m.ProgressDlgForm.unload();
        w.messages.clear();
        w.m.PrinterErrorSeen = false;
        w.m.CalibrationNeeded = true;
        w.m.SaveConfigRequested = true;
        run();
        const Strings log = status();
        EXPECT_EQ(log.at(2), "... Error Detected. The command failed. Program unable to continue.");
        EXPECT_EQ(log.back(), "Program terminated!!!");
        EXPECT_EQ(std::count(log.begin(), log.end(), "Requesting configuration to be saved."), 0);
        EXPECT_TRUE(w.m.PrinterErrorSeen);
        EXPECT_FALSE(w.m.SetupSent);
        EXPECT_EQ(w.messages.count(), 1u);  // the printer error, no success box
    }
}

TEST_F(SendSequence, TheQueueIsWatchedThroughTheRunAndAForgottenJobHasMovedOnlyWithoutAWatch) {
    struct Case {
        const char* name;
        platform::SpoolResult watch;
    };
    // A server without job history forgets a completed job at once.
    const Case cases[] = {{"watched", {}},
                          {"not watched", platform::SpoolResult::failed(platform::SpoolError::NotSupported)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.spooler.watchResult = c.watch;
        w.spooler.calls.clear();
        w.spooler.outcomes.clear();
        w.messages.clear();
        w.m.ProgressDlgForm.unload();
        w.m.CalibrationNeeded = true;
        meanwhile = [&] {
            for (const auto& j : w.spooler.queue(Queue).jobs)
                w.spooler.outcomes[j.id] =
                    c.watch.ok() ? platform::JobOutcome::Completed : platform::JobOutcome::Unknown;
        };
        run();
        EXPECT_EQ(status(), (Strings{"Initializing ....", "Requesting auto calibration to be started.",
                                     "  ... Request received OK", "Printer Successfully Configured."}));
        EXPECT_EQ(w.messages.last().text, "Printer Setup Request Successfully Sent");
        EXPECT_EQ(w.log().find("a job it no longer lists counts as delivered") != std::string::npos, !c.watch.ok());
        // From before the first job to the end of the run.
        EXPECT_EQ(w.spooler.calls.front(), "watchJobs " + Queue);
        EXPECT_EQ(w.spooler.calls.back() == "unwatchJobs " + Queue, c.watch.ok());
    }
}

TEST_F(SendSequence, APrintServerThatFallsSilentEndsTheRunWithItsBoxAlone) {
    const auto silent = platform::SpoolResult::failed(platform::SpoolError::NoAnswer);
    struct Case {
        const char* name;
        std::function<void()> silence;
    };
    const Case cases[] = {
        {"as the job is spooled", [&] { w.spooler.queue(Queue).startDocumentResult = silent; }},
        {"at the first look", [&] { w.spooler.queue(Queue).printerResult = silent; }},
        {"when asked what became of the job",
         [&] {
             meanwhile = [this] {
                 if (w.spooler.documents.size() == 1)
                     w.spooler.outcomes[w.spooler.documents[0].jobId] = platform::JobOutcome::NoAnswer;
             };
         }},
        {"when asked what became of the empty job",
         [&] {
             meanwhile = [this] {
                 if (w.spooler.documents.size() == 2)
                     w.spooler.outcomes[w.spooler.documents[1].jobId] = platform::JobOutcome::NoAnswer;
             };
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.spooler.queue(Queue) = {};
        w.spooler.queue(Queue).record.port = Port;
        w.spooler.queue(Queue).record.name = Queue;
        w.spooler.outcomes.clear();
        w.spooler.documents.clear();
        w.spooler.calls.clear();
        meanwhile = nullptr;
        w.m.ProgressDlgForm.unload();
        w.messages.clear();
        w.m.PrinterErrorSeen = false;
        w.m.CalibrationNeeded = true;
        w.m.SaveConfigRequested = true;
        c.silence();
        run();
        ASSERT_EQ(w.messages.count(), 1u);
        EXPECT_EQ(w.messages.last().text,
                  "The print server of this workstation does not answer.\r\nMake sure that it is running and that "
                  "this workstation can reach it.\r\nOperation cannot continue.");
        EXPECT_EQ(status(), (Strings{"Initializing ....", "Requesting auto calibration to be started.",
                                     "... The print server does not answer. Program unable to continue.",
                                     "Program terminated!!!"}));
        EXPECT_EQ(std::count_if(w.spooler.calls.begin(), w.spooler.calls.end(),
                                [](const std::string& call) { return call.starts_with("delete "); }),
                  0);
        EXPECT_FALSE(w.m.SetupSent);
        EXPECT_FALSE(w.m.PrinterErrorSeen);
        EXPECT_TRUE(w.m.PrinterSetupForm().isVisible());
    }
}

TEST_F(SendSequence, AfterAPrinterErrorAskedStepsAreSkippedAndTheRunFails) {
    w.m.PrinterErrorSeen = true;
    w.m.SetupSent = true;
    changeEmulation();
    w.m.CalibrationNeeded = true;
    w.m.PowerUpRequested = true;
    w.m.KAEIntroForm().show();
    run();
    EXPECT_TRUE(jobs().empty());
    EXPECT_EQ(status(), (Strings{"Initializing ....", "Step skipped after an earlier printer error.",
                                 "Step skipped after an earlier printer error.",
                                 "Step skipped after an earlier printer error."}));
    EXPECT_EQ(bars.values, (std::vector<int>{30, 40, 60, 80}));
    EXPECT_FALSE(w.m.SetupSent);
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_NE(w.m.KAEIntroForm.loaded(), nullptr);
    EXPECT_TRUE(w.m.PrinterSetupForm().isVisible());
}

TEST_F(SendSequence, WhileItRunsTheUserCannotLeaveOrPressButtons) {
    auto& intro = w.m.KAEIntroForm();
    intro.show();
    w.m.CalibrationNeeded = true;
    bool tried = false;
    meanwhile = [&] {
        if (tried) return;
        tried = true;
        EXPECT_FALSE(intro.Next.enabled());
        EXPECT_FALSE(page().userClose());
        EXPECT_FALSE(intro.userClose());
        w.m.ConfirmCancel();
        EXPECT_EQ(w.messages.count(), 0u);
    };
    run();
    EXPECT_TRUE(tried);
    EXPECT_EQ(status().back(), "Printer Successfully Configured.");
    // The run ended through ExitWizard.
    EXPECT_EQ(w.m.KAEIntroForm.loaded(), nullptr);
}

TEST_F(SendSequence, NothingIsSpooledAfterTheProgramEnded) {
    w.m.CalibrationNeeded = true;
    w.m.SaveConfigRequested = true;
    w.m.PowerUpRequested = true;
    meanwhile = [&] {
        if (w.spooler.documents.size() == 1) w.m.UnloadAllForms();
    };
    run();
    EXPECT_EQ(jobs(), (Strings{Calibrate}));
    EXPECT_TRUE(w.app.ended());
}

TEST_F(SendSequence, ButtonsOfOtherPagesComeBackAfterAFailure) {
    auto& intro = w.m.KAEIntroForm();
    intro.show();
    intro.Next.setEnabled(false);  // stays as the page left it
    printerMoves = false;
    w.m.CalibrationNeeded = true;
    run();
    EXPECT_FALSE(intro.Next.enabled());
    EXPECT_TRUE(intro.Exit.enabled());
    EXPECT_FALSE(page().sending());
}

}  // namespace
