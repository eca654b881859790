// The configuration job delivered for real, from the port page to the end of
// the progress page: over TCP to the printer simulator, into a file, and
// through a temporary queue that rundll32 makes on the private cupsd; and
// the runs that cannot deliver.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/ProgressDlg.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/core/ReadSettings.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "platform/LongCall.h"
#include "platform/cups/CupsSpooler.h"
#include "platform/posix/PosixProcess.h"
#include "platform/posix/PosixSockets.h"
#include "support/CupsServer.h"
#include "support/Loopback.h"
#include "support/PrinterSim.h"
#include "support/ServerTime.h"
#include "support/TempDir.h"
#include "ui/Clocks.h"
#include "ui/Scripted.h"
#include "ui/VirtualPump.h"

namespace fs = std::filesystem;
using testsupport::CupsServer;
using testsupport::readFile;
using testsupport::testScheduler;
using testsupport::writeFile;

namespace {

const auto* const cupsEnvironment = ::testing::AddGlobalTestEnvironment(new testsupport::CupsEnvironment);

const fs::path Bin = QUILL_BIN_DIR;

// The SSID typed on the radio page, and the job it makes, as the printer gets it.
const char* const Ssid = "Caf\u00e9 Lab";
const std::string Job =
    "!VMD_SETUP\r\nNIC_SETUP\r\n\r\nstore ifc 2 wlan ssid Caf\xe9 Lab\r\n\r\nreboot\r\nEND_NIC_SETUP\r\nVMD_END\r\n";

struct Wizard {
    ui::ScriptedMessageBox messages;
    ui::ScriptedFileDialog files;
    ui::VirtualClock clock;
    ui::Application app{messages, files, clock};
    static constexpr std::uint32_t StepMs = 10;
    ui::VirtualPump pump{app, clock, StepMs};
    testsupport::TempDir folder, work, root;
    testsupport::CurrentDirectory inWork{work.path()};
    platform::PosixProcessLauncher processes{folder.str()};
    testsupport::TrackedLauncher launcher{processes};
    platform::CupsSpooler spooler;
    platform::PosixSockets sockets;
    platform::Platform os{.processLauncher = &launcher, .spoolerBackend = &spooler, .socketFactory = &sockets};
    netcfg::QuillonModule q{app, os, folder.str()};
    // cupsd, its backends, the programs the wizard starts and the connection
    // to the simulator work in real time; the program's waits run on the
    // virtual clock, no faster than real time while one of them has work.
    testsupport::ServerTime serverTime{clock, [this] { return busy(); }};

    // `limit`: the time one call to the print server may take.
    explicit Wizard(std::chrono::milliseconds limit = platform::CupsSpooler::DefaultTimeLimit) : spooler(limit) {
        // A program started or a call to the print server may set a server to work.
        launcher.onStart = [this] { serverTime.recheck(); };
        platform::setLongCallHook({{}, [this] { serverTime.recheck(); }});
        // The program folder holds the programs the wizard starts.
        for (const char* name : {"tevask", "rundll32", "quenmora"})
            fs::create_symlink(Bin / name, folder.path() / name);
        // A machine with one parallel port, and no other printer the spooler could list.
        fs::create_directories(root.path() / "dev");
        writeFile(root.file("dev/lp0"), "");
        ::setenv("QUENMORA_ROOT", root.str().c_str(), 1);
        for (const char* scheme : {"usb", "parallel", "serial"})
            testScheduler().setBackend(scheme, CupsServer::listingBackend({}));
        serverTime.onEveryMove();
    }
    ~Wizard() { platform::setLongCallHook({}); }

    bool busy() {
        if (launcher.running()) return true;
        if (const auto* page = q.ProgressDlgForm.loaded(); page && page->pwSocket) {
            const auto sending = page->pwSocket->sendStatus();
            if (page->pwSocket->state() == platform::SocketState::Connecting ||
                sending == platform::SendStatus::Sending || sending == platform::SendStatus::Written)
                return true;
        }
        return testScheduler().hasWork();
    }

    // From the port page through the settings pages to the finish page.
    void walk(const std::function<void(netcfg::PortSelect&)>& choose) {
        auto& port = q.PortSelectForm();
        port.show();
        choose(port);
        port.Next.click();
        auto& choice = q.QuestionDlgForm();
        ASSERT_TRUE(choice.isVisible());
        choice.Check1[6].click();
        choice.Next.click();
        auto& wireless = q.WirelessQuestionDlgForm();
        wireless.check[0].click();
        wireless.Next.click();
        auto& radio = q.WirelessDlgForm();
        ASSERT_TRUE(radio.isVisible());
        radio.SSID.userType(Ssid);
        radio.Next.click();
        ASSERT_TRUE(q.FinishDialogForm().isVisible());
    }

    // What the finish page does on Finish, then the progress page to its end:
    // the program ends, or the finish page is back.
    void send() {
        netcfg::BuildNicSettings(q);
        q.FinishDialogForm().hide();
        q.ProgressDlgForm().show();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!app.ended() && !q.FinishDialogForm().isVisible() && std::chrono::steady_clock::now() < deadline)
            pump.doEvents();
    }

    bool succeeded() const {
        return q.SetupSent && messages.count() > 0 && messages.last().text == "NIC Setup Request Successfully Sent";
    }
    bool failed() {
        return !q.SetupSent && q.FinishDialogForm().isVisible() && !q.ProgressDlgForm.loaded() &&
               messages.last().text ==
                   "... Error Detected. The command failed. Program unable to continue.\r\n"
                   "... Please check the printer. Correct the error and try again.\r\n"
                   "Program terminated!!!";
    }
};

// The printer simulator, without its agent.
testsupport::PrinterSimOptions aPrinter() {
    testsupport::PrinterSimOptions options;
    options.snmp = false;
    return options;
}

// The port list's line of LPT1 to the simulator.
std::string parallelPortTo(const testsupport::PrinterSim& sim) {
    return "LPT1:\t" + testsupport::socketUri(sim.address(), sim.tcpPort()) + "\r\n";
}

TEST(Delivery, OverTcpToThePrinter) {
    testsupport::PrinterSim sim(aPrinter());
    Wizard w;
    w.q.PrinterPort = sim.tcpPort();
    w.walk([&](netcfg::PortSelect& p) {
        p.PortTCP.click();
        p.IPAddr.userType(sim.address());
    });
    w.send();
    ASSERT_TRUE(w.succeeded());
    EXPECT_TRUE(w.app.ended());
    ASSERT_TRUE(sim.waitForJobs(1));
    EXPECT_EQ(sim.jobText(0), Job);
}

TEST(Delivery, IntoAFile) {
    Wizard w;
    const std::string file = w.work.file("nic.txt");
    w.walk([&](netcfg::PortSelect& p) {
        p.PortFile.click();
        p.FileName.userType(file);
    });
    w.send();
    ASSERT_TRUE(w.succeeded());
    EXPECT_EQ(readFile(file), Job + "\r\n");
}

TEST(Delivery, ThroughATemporaryQueueOnTheParallelPort) {
    testsupport::PrinterSim sim(aPrinter());
    Wizard w;
    w.walk([&](netcfg::PortSelect& p) {
        ASSERT_EQ(p.LPTCombo.text(), "LPT1:");
        // The port lister's map sends the parallel port to the simulator.
        writeFile(w.work.file("ports.map"), parallelPortTo(sim));
        p.PortLPT.click();
    });
    w.send();
    ASSERT_TRUE(w.succeeded()) << (w.messages.count() ? w.messages.last().text : "no box");
    ASSERT_TRUE(sim.waitForJobs(1));
    EXPECT_EQ(sim.jobText(0), Job);
    EXPECT_EQ(readFile(w.folder.file("quillon.bat")),
              "rundll32 printui.dll,PrintUIEntry /q /if /b \"Quillon\" /f %windir%\\inf\\ntprint.inf /r \"LPT1:\" "
              "/m \"Generic / Text Only\"\r\n");
    EXPECT_EQ(testScheduler().attribute("Quillon", "device-uri"), "");  // removed again
}

TEST(FailedDelivery, RefusedConnectionFails) {
    Wizard w;
    testsupport::RefusingPort printer;
    w.q.PrinterPort = printer.port();
    w.walk([&](netcfg::PortSelect& p) {
        p.PortTCP.click();
        p.IPAddr.userType(printer.address());
    });
    w.send();
    EXPECT_TRUE(w.failed());
}

TEST(FailedDelivery, FileInAMissingFolderFails) {
    Wizard w;
    w.walk([&](netcfg::PortSelect& p) {
        p.PortFile.click();
        p.FileName.userType(w.work.file("missing/nic.txt"));
    });
    w.send();
    EXPECT_TRUE(w.failed());
    EXPECT_FALSE(fs::exists(w.work.file("missing")));
}

TEST(FailedDelivery, QueueThatCannotBeMadeFails) {
    testsupport::PrinterSim sim(aPrinter());
    Wizard w;
    w.walk([&](netcfg::PortSelect& p) {
        writeFile(w.work.file("ports.map"), parallelPortTo(sim));
        p.PortLPT.click();
    });
    testScheduler().setAdminAllowed(false);  // no right to add queues
    w.send();
    testScheduler().setAdminAllowed(true);
    EXPECT_TRUE(w.failed());
    bool reported = false;
    for (const auto& box : w.messages.shown()) reported |= box.text.starts_with("Printer: Quillon\r\n");
    EXPECT_TRUE(reported);
    EXPECT_TRUE(sim.jobs().empty());
}

// The print server stops before the send through the temporary queue: the
// removal of a queue left by an earlier run meets it, and the run ends with
// the print server's box alone within the time of one call (and the first
// tick, and a moment for the helper to end), a page of the wizard on screen
// all the while.
TEST(FailedDelivery, AStoppedPrintServerEndsTheTemporaryQueueRunWithItsBoxAlone) {
    testsupport::PrinterSim sim(aPrinter());
    constexpr std::chrono::milliseconds Limit{2000};
    Wizard w(Limit);
    w.walk([&](netcfg::PortSelect& p) {
        writeFile(w.work.file("ports.map"), parallelPortTo(sim));
        p.PortLPT.click();
    });
    auto pageShown = [&] {
        const auto& forms = w.app.loadedForms();
        return std::any_of(forms.begin(), forms.end(), [](const ui::Form* f) { return f->isVisible(); });
    };
    bool withoutPage = false;
    std::uint64_t boxAt = 0;
    std::chrono::steady_clock::duration boxAfter{};
    const auto start = std::chrono::steady_clock::now();
    const std::uint64_t finish = w.clock.elapsed();
    w.clock.onSleep = [&](std::uint32_t) { withoutPage |= !pageShown(); };
    w.messages.onShow = [&](const ui::MessageRequest&) {
        boxAt = w.clock.elapsed() - finish;
        boxAfter = std::chrono::steady_clock::now() - start;
        withoutPage |= !pageShown();
    };
    testScheduler().stopProcess();
    struct Resume {
        ~Resume() { testScheduler().continueProcess(); }
    } resume;
    w.send();
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().title, "Program Error");
    EXPECT_EQ(w.messages.last().text, "The print server " + w.spooler.serverName() +
                                          " does not answer.\r\nMake sure that it is running and that this "
                                          "workstation can reach it.");
    EXPECT_LT(boxAt, static_cast<std::uint64_t>((Limit + std::chrono::seconds(2)).count()));
    EXPECT_LT(boxAfter, Limit + std::chrono::seconds(2));
    EXPECT_FALSE(withoutPage);
    EXPECT_FALSE(w.q.SetupSent);
    EXPECT_TRUE(w.q.FinishDialogForm().isVisible());
}

TEST(FailedDelivery, AJobThePrinterCancelsOnTheTemporaryQueueFails) {
    struct Case {
        const char* name;
        bool hangs;  // the backend hangs until the job is cancelled; else it cancels the job itself
    };
    for (const Case& c : {Case{"the backend exits with 5", false}, Case{"cancelled while the backend hangs", true}}) {
        SCOPED_TRACE(c.name);
        Wizard w;
        const fs::path marks = testScheduler().setRefusingBackend("refuses", c.hangs);
        struct Restore {
            ~Restore() { testScheduler().restoreBackend("refuses"); }
        } restore;
        w.walk([&](netcfg::PortSelect& p) {
            writeFile(w.work.file("ports.map"), "LPT1:\trefuses:/label\r\n");
            p.PortLPT.click();
        });
        bool cancelled = false;
        w.clock.onSleep = [&](std::uint32_t) {
            if (c.hangs && !cancelled && fs::exists(marks / "hanging")) {
                testScheduler().cancelAll("Quillon");
                cancelled = true;
            }
        };
        w.send();
        EXPECT_TRUE(w.failed()) << (w.messages.count() ? w.messages.last().text : "no box");
        EXPECT_EQ(w.messages.count(), 1u);
        EXPECT_EQ(testScheduler().attribute("Quillon", "device-uri"), "");  // removed again
    }
}

// Only a job the scheduler reports completed is delivered. A scheduler
// without job history forgets a job as it ends: the run learns the end from
// the watch of the temporary queue.
TEST(DeliveryWithoutJobHistory, OnlyAJobTheSchedulerReportsCompletedIsDelivered) {
    struct Case {
        const char* name;
        const char* backendEnd;  // the backend's last line, after it took the job
        bool delivered;
    };
    CupsServer::Options forgetful, refusing;
    forgetful.keepJobHistory = false;
    // A job still known is asked about, and the answer is an error.
    refusing.locked = {"Get-Job-Attributes"};
    const std::pair<CupsServer::Options, std::vector<Case>> schedulers[] = {
        {forgetful,
         {{"the backend cancels the job", "exit 5", false},
          {"the backend fails under abort-job", "exit 1", false},
          {"the backend prints", "exit 0", true}}},
        {refusing, {{"the job's state is refused", "exit 0", false}}},
    };
    for (const auto& [scheduler, cases] : schedulers) {
        testsupport::SchedulerOptions options(scheduler);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            testScheduler().setBackend(
                "label", std::string("#!/bin/sh\n[ $# -eq 0 ] && exit 0\ncat > /dev/null\n") + c.backendEnd + "\n");
            struct Restore {
                ~Restore() { testScheduler().restoreBackend("label"); }
            } restore;
            Wizard w;
            w.walk([&](netcfg::PortSelect& p) {
                writeFile(w.work.file("ports.map"), "LPT1:\tlabel:/x\r\n");
                p.PortLPT.click();
            });
            w.send();
            EXPECT_TRUE(c.delivered ? w.succeeded() : w.failed())
                << (w.messages.count() ? w.messages.last().text : "no box") << testScheduler().errorLog();
            EXPECT_EQ(testScheduler().attribute("Quillon", "device-uri"), "");  // removed again
        }
    }
}

}  // namespace
