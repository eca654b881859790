// The spooler routines against a private CUPS scheduler whose queues print
// to the printer simulator on loopback.

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "SpoolWorld.h"
#include "foundation/RawPrint.h"
#include "foundation/SpoolCheck.h"
#include "platform/LongCall.h"
#include "platform/cups/CupsSpooler.h"
#include "support/CupsServer.h"
#include "support/Loopback.h"
#include "support/PrintServers.h"
#include "support/PrinterSim.h"

using foundation::RawPrint;
using foundation::SpoolCheck;
using testsupport::testScheduler;
using Strings = std::vector<std::string>;

namespace {

const auto* const cupsEnvironment = ::testing::AddGlobalTestEnvironment(new testsupport::CupsEnvironment);

constexpr int JobHeld = 4, JobCompleted = 9;
// The most a call may take beyond its limit.
constexpr std::chrono::milliseconds Overrun(500);

using platform::JobOutcome;
namespace SpoolError = platform::SpoolError;
using std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

// Counts the long calls the spooler announces, for as long as it lives.
struct LongCalls {
    int begun = 0, ended = 0;
    LongCalls() {
        platform::setLongCallHook({[this] { ++begun; }, [this] { ++ended; }});
    }
    ~LongCalls() { platform::setLongCallHook({}); }
};

testsupport::PrinterSimOptions simOptions() {
    testsupport::PrinterSimOptions o;
    o.snmp = false;
    return o;
}

class CupsSpoolTest : public ::testing::Test {
protected:
    testsupport::QuillonWorld w;
    platform::CupsSpooler cups;
    testsupport::PrinterSim sim{simOptions()};
    std::vector<std::string> added;

    void SetUp() override {
        w.os.spoolerBackend = &cups;
        w.q.DebugMode = true;
    }
    void TearDown() override { testScheduler().removeQueues(added); }

    std::string deviceUri() const { return "socket://" + sim.address() + ":" + std::to_string(sim.tcpPort()); }
    void addQueue(const std::string& name) {
        testScheduler().addQueue(name, deviceUri());
        added.push_back(name);
    }
    std::string readyText(const std::string& name) const {
        return "Printer Status = Ready\r\nPrinter Name = " + name +
               "\r\nPrinter Driver Name = Local Raw Printer\r\nPrinter Port Name = " + deviceUri() + "\r\n";
    }
    std::vector<std::string> jobNames(const std::string& queue) {
        std::vector<std::string> names;
        for (const auto& j : testScheduler().jobs(queue)) names.push_back(j.name);
        return names;
    }
};

TEST_F(CupsSpoolTest, QueuesInServerOrderAndTheDefaultIsCurrent) {
    addQueue("Zulu");
    addQueue("alpha");
    addQueue("Mike");
    testScheduler().setDefault("Mike");
    EXPECT_EQ(cups.queues().names, (Strings{"alpha", "Mike", "Zulu"}));
    EXPECT_EQ(cups.currentPrinter(), "Mike");
    std::string printer, jobs;
    EXPECT_EQ(SpoolCheck(w.q).CheckPrinter(printer, jobs), "Printer info retrieved");
    EXPECT_EQ(printer, readyText("Mike"));
}

TEST_F(CupsSpoolTest, IdleQueueIsReadyAndSelected) {
    addQueue("Quillon");
    SpoolCheck check(w.q);
    cups.setCurrentPrinter("Quillon");
    std::string printer, jobs;
    EXPECT_EQ(check.CheckPrinter(printer, jobs), "Printer info retrieved");
    EXPECT_EQ(printer, readyText("Quillon"));
    EXPECT_EQ(jobs, "No Print Jobs!");

    cups.setCurrentPrinter("elsewhere");
    RawPrint raw(w.q);
    EXPECT_TRUE(raw.SelectPrinter("Quillon"));
    EXPECT_EQ(cups.currentPrinter(), "Quillon");
    EXPECT_EQ(w.q.SelectedPrinterPort, deviceUri());
    EXPECT_EQ(w.q.SelectedDriverName, "Local Raw Printer");
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_EQ(spooltest::logTexts(w.log()).back(), "Selected Printer Name: Quillon");
}

TEST_F(CupsSpoolTest, PausedQueueIsNotReady) {
    addQueue("Stopped");
    testScheduler().pause("Stopped");
    RawPrint raw(w.q);
    EXPECT_FALSE(raw.SelectPrinter("Stopped"));
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().text, "Printer not ready");
    EXPECT_EQ(w.messages.last().title, "Program Error");
    EXPECT_EQ(spooltest::logTexts(w.log()).back(), "Printer Not Ready: Stopped");
    EXPECT_EQ(cups.currentPrinter(), "Stopped");

    std::string printer, jobs, port, driver;
    SpoolCheck check(w.q);
    check.CheckPrinter(printer, jobs);
    EXPECT_EQ(check.getPrinterStatus(printer, port, driver), "Paused  ");

    // The job still goes to the paused queue, and waits there.
    EXPECT_TRUE(raw.SendRawJob("held back\r\n"));
    EXPECT_EQ(jobNames("Stopped"), Strings{"Quillon Command"});
}

TEST_F(CupsSpoolTest, PrinterReasonsShowAsStatusWords) {
    addQueue("Trouble");
    testScheduler().setReasons("Trouble", {"media-empty-error", "door-open-error"});
    cups.setCurrentPrinter("Trouble");
    std::string printer, jobs, port, driver;
    SpoolCheck check(w.q);
    check.CheckPrinter(printer, jobs);
    EXPECT_EQ(check.getPrinterStatus(printer, port, driver), "Printer Door Open  Paper Out  ");

    testScheduler().setReasons("Trouble", {});
    testScheduler().setAccepting("Trouble", false);
    printer.clear();
    check.CheckPrinter(printer, jobs);
    EXPECT_EQ(check.getPrinterStatus(printer, port, driver), "Not Available  ");
}

TEST_F(CupsSpoolTest, NameInOtherLetterCaseIsNotFound) {
    addQueue("LabelQ");
    RawPrint raw(w.q);
    EXPECT_FALSE(raw.SelectPrinter("labelq"));
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().text,
              "Printer: labelq\r\nNot defined on this Workstation.\r\nRun Setup and select a valid printer to "
              "continue.");
    EXPECT_EQ(spooltest::logTexts(w.log()).back(), "Invalid Printer Specified: labelq");

    // Opened directly, the scheduler would find it; the spooler does not.
    cups.setCurrentPrinter("labelq");
    std::string printer = "p", jobs = "j";
    EXPECT_EQ(SpoolCheck(w.q).CheckPrinter(printer, jobs), "Cannot open printer labelq, Error: 1801");
    EXPECT_EQ(printer, "p");
    EXPECT_FALSE(raw.SendRawJob("x"));
    EXPECT_EQ(w.messages.last().text, "The Printer Name you typed wasn't recognized.");
    EXPECT_EQ(w.messages.last().title, "Quillon");
}

TEST_F(CupsSpoolTest, RawJobReachesThePrinterUnchanged) {
    addQueue("Quillon");
    RawPrint raw(w.q);
    ASSERT_TRUE(raw.SelectPrinter("Quillon"));
    std::string job = "!VMD_SETUP\r\nstore tcpip 1 dhcp on\r\nVMD_END\r\n";
    for (int c = 1; c < 256; ++c) job += static_cast<char>(c);
    job += "\r\n";
    EXPECT_TRUE(raw.SendRawJob(job));
    ASSERT_TRUE(sim.waitForJobs(1, std::chrono::seconds(20))) << testScheduler().errorLog();
    EXPECT_EQ(sim.jobText(0), job);
    auto all = testScheduler().jobs("Quillon", true);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].name, "Quillon Command");
    EXPECT_TRUE(testScheduler().waitForJobState(all[0].id, JobCompleted));
    EXPECT_EQ(spooltest::logTexts(w.log()).back(), "sending job to printer: Quillon");
}

TEST_F(CupsSpoolTest, EmptyDocumentIsRefusedAndLeavesNoJob) {
    // The scheduler takes no document without data.
    addQueue("Quillon");
    cups.setCurrentPrinter("Quillon");
    EXPECT_FALSE(RawPrint(w.q).SendRawJob(""));
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_TRUE(testScheduler().jobs("Quillon").empty());
    EXPECT_TRUE(RawPrint(w.q).SendRawJob("x"));
    ASSERT_TRUE(sim.waitForJobs(1, std::chrono::seconds(20))) << testScheduler().errorLog();
    EXPECT_EQ(sim.jobText(0), "x");
}

TEST_F(CupsSpoolTest, RefusedDocumentIsAFailure) {
    addQueue("Closed");
    testScheduler().setAccepting("Closed", false);
    cups.setCurrentPrinter("Closed");
    EXPECT_FALSE(RawPrint(w.q).SendRawJob("x"));
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_TRUE(testScheduler().jobs("Closed", true).empty());
}

TEST_F(CupsSpoolTest, HeldJobShowsAsPaused) {
    addQueue("Quillon");
    int id = testScheduler().submit("Quillon", "Quillon Command", "held\r\n", true);
    ASSERT_TRUE(testScheduler().waitForJobState(id, JobHeld));
    cups.setCurrentPrinter("Quillon");
    SpoolCheck check(w.q);
    std::string printer, jobs, jobId;
    EXPECT_EQ(check.CheckPrinter(printer, jobs), "Printer info retrieved");
    EXPECT_EQ(printer, readyText("Quillon"));
    EXPECT_EQ(jobs, "Job ID = " + std::to_string(id) + "\r\nTotal Pages = 0\r\nPaused  \r\n");
    EXPECT_EQ(check.getJobStatus(jobs, jobId), "Paused  ");
    EXPECT_EQ(jobId, std::to_string(id));
}

TEST_F(CupsSpoolTest, PurgeDeletesOnlyOwnJobs) {
    addQueue("Quillon");
    addQueue("Other");
    std::vector<int> ids;
    for (const char* name : {"Quillon Command", "quillon command", "Setup Quillon Command 2", "Report"})
        ids.push_back(testScheduler().submit("Quillon", name, "x\r\n", true));
    int elsewhere = testScheduler().submit("Other", "Quillon Command", "x\r\n", true);
    cups.setCurrentPrinter("Quillon");
    SpoolCheck(w.q).PurgePrintQueue();
    EXPECT_EQ(jobNames("Quillon"), (Strings{"quillon command", "Report"}));
    EXPECT_EQ(jobNames("Other"), Strings{"Quillon Command"});

    EXPECT_EQ(spooltest::logTexts(w.log()), (Strings{"...PurgePrintQueue", "...KillPrintJob " + std::to_string(ids[0]),
                                                     "...KillPrintJob " + std::to_string(ids[2])}));

    // A job of another queue is not deleted through this one.
    SpoolCheck(w.q).KillPrintJob("Quillon", elsewhere);
    EXPECT_EQ(jobNames("Other"), Strings{"Quillon Command"});
    SpoolCheck(w.q).KillPrintJob("Other", elsewhere);
    EXPECT_TRUE(jobNames("Other").empty());
}

TEST_F(CupsSpoolTest, JobOnAPausedQueueWaitsAndThenPrints) {
    addQueue("Later");
    testScheduler().pause("Later");
    cups.setCurrentPrinter("Later");
    ASSERT_TRUE(RawPrint(w.q).SendRawJob("later\r\n"));
    std::string printer, jobs, id;
    SpoolCheck check(w.q);
    check.CheckPrinter(printer, jobs);
    EXPECT_EQ(check.getJobStatus(jobs, id), "Ready!  ");
    testScheduler().resume("Later");
    ASSERT_TRUE(sim.waitForJobs(1, std::chrono::seconds(20))) << testScheduler().errorLog();
    EXPECT_EQ(sim.jobText(0), "later\r\n");
    EXPECT_TRUE(testScheduler().waitForIdle("Later"));
}

TEST_F(CupsSpoolTest, SchedulerOutOfReach) {
    addQueue("Quillon");
    testsupport::RefusingPort refusing;
    testsupport::UseServer use(refusing.endpoint());

    platform::CupsSpooler offline;
    w.os.spoolerBackend = &offline;
    EXPECT_EQ(offline.currentPrinter(), "");
    EXPECT_EQ(offline.queues().result.error, platform::SpoolError::ServerUnavailable);
    offline.setCurrentPrinter("Quillon");
    std::string printer = "p", jobs = "j";
    EXPECT_EQ(SpoolCheck(w.q).CheckPrinter(printer, jobs), "Cannot open printer Quillon, Error: 1722");
    // A server out of reach is said to be one, naming it.
    const std::string box = "The print server " + refusing.endpoint() +
                            " does not answer.\r\nMake sure that it is running and that this workstation can reach it.";
    EXPECT_FALSE(RawPrint(w.q).SendRawJob("x"));
    EXPECT_EQ(w.messages.last().text, box);
    RawPrint raw(w.q);
    EXPECT_FALSE(raw.SelectPrinter("Quillon"));
    EXPECT_EQ(w.messages.count(), 2u);
    EXPECT_EQ(w.messages.last().text, box);
    EXPECT_EQ(spooltest::logTexts(w.log()).back(), "Print server does not answer: Quillon");
}

TEST_F(CupsSpoolTest, AServerThatFailsToAnswerIsAskedOncePerAction) {
    struct Case {
        const char* name;
        bool drops;           // drops each connection, else never answers
        std::uint32_t error;  // how its calls fail
    };
    for (const Case& c : {Case{"silent", false, SpoolError::NoAnswer},
                          Case{"drops the connection", true, SpoolError::ServerUnavailable}}) {
        SCOPED_TRACE(c.name);
        testsupport::SilentServer silent;
        testsupport::DroppingServer dropping;
        // libcups may try a dropped connection more than once within a call.
        auto connections = [&] { return c.drops ? dropping.connections() : silent.connections(); };
        testsupport::UseServer use(c.drops ? dropping.endpoint() : silent.endpoint());
        platform::CupsSpooler impatient(milliseconds(200));
        LongCalls busy;

        EXPECT_EQ(impatient.jobOutcome("Office", 7), JobOutcome::NoAnswer);
        const int asked = connections();
        EXPECT_GE(asked, 1);
        EXPECT_EQ(busy.begun, 1);
        EXPECT_EQ(busy.ended, 1);
        // The rest of the action fails at once, as the first call did.
        EXPECT_EQ(impatient.jobOutcome("Office", 7), JobOutcome::NoAnswer);
        std::uint32_t error = 0;
        EXPECT_EQ(impatient.open("Office", platform::Access::Use, error), 0);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(impatient.queues().result.error, c.error);
        EXPECT_EQ(impatient.currentPrinter(), "");
        EXPECT_EQ(connections(), asked);
        EXPECT_EQ(busy.begun, 1);
        // The next action asks again.
        impatient.newAction();
        EXPECT_EQ(impatient.queues().result.error, c.error);
        EXPECT_GT(connections(), asked);
    }
}

TEST_F(CupsSpoolTest, ACallAfterOneThatRanOutOfTimeHasAllOfItsOwn) {
    addQueue("Office");
    const int job = testScheduler().submit("Office", "Quillon Command", "x\r\n", true);
    const milliseconds limit(300);
    platform::CupsSpooler impatient(limit);
    std::uint32_t error = 0;
    const platform::QueueHandle h = impatient.open("Office", platform::Access::All, error);
    ASSERT_NE(h, 0) << error;
    struct Stopped {
        Stopped() { testScheduler().stopProcess(); }
        ~Stopped() { testScheduler().continueProcess(); }
    } stopped;
    std::vector<platform::JobRecord> jobs;
    EXPECT_EQ(impatient.readJobs(h, jobs).error, SpoolError::NoAnswer);
    for (const auto& call : std::vector<std::function<std::uint32_t()>>{
             [&] { return impatient.deleteJob(h, static_cast<std::uint32_t>(job)).error; },
             [&] { return impatient.queues().result.error; }}) {
        impatient.newAction();
        const auto start = SteadyClock::now();
        EXPECT_EQ(call(), SpoolError::NoAnswer);
        EXPECT_GE(SteadyClock::now() - start, limit);
        EXPECT_LE(SteadyClock::now() - start, limit + Overrun);
    }
}

// Every call ends within its limit, from the look-up of the server to the
// last byte of its answer, and never asks for a password.
TEST(CupsCallLimit, HoldsWhateverTheServerDoes) {
    using Answer = testsupport::FailingIppServer::Answer;
    struct Case {
        const char* name;
        Answer answer;
        int trickleMs;
        milliseconds limit;
        std::uint32_t error;
        JobOutcome outcome;
    };
    const milliseconds limit(200);
    const Case cases[] = {
        {"answers nothing", Answer::Nothing, 0, limit, SpoolError::NoAnswer, JobOutcome::NoAnswer},
        {"trickles a byte a second", Answer::Trickle, 1000, limit, SpoolError::NoAnswer, JobOutcome::NoAnswer},
        // Never silent long enough for libcups to ask whether to wait on.
        {"trickles a byte every 20 ms", Answer::Trickle, 20, limit, SpoolError::NoAnswer, JobOutcome::NoAnswer},
        // Answered at once: the limit has only to hold on a busy machine.
        {"wants a password", Answer::Unauthorized, 0, milliseconds(1000), SpoolError::AccessDenied, JobOutcome::Failed},
    };
    // Each server on a thread of its own, all at once: a client's server
    // and password callback belong to its thread.
    auto run = [&](const Case& c) {
        SCOPED_TRACE(c.name);
        testsupport::FailingIppServer server(c.answer, "Office", c.trickleMs);
        cupsSetServer(server.endpoint().c_str());
        platform::CupsSpooler cups(c.limit);
        // The queue's attributes come at once, but on a busy machine not
        // always within the short limit.
        std::uint32_t error = 0;
        platform::QueueHandle h = 0;
        for (int tries = 0; tries < 5 && !h; ++tries, cups.newAction())
            h = cups.open("Office", platform::Access::All, error);
        ASSERT_NE(h, 0) << error;
        int prompts = 0;
        const std::pair<const char*, std::function<bool()>> calls[] = {
            {"readJobs",
             [&] {
                 std::vector<platform::JobRecord> jobs;
                 return cups.readJobs(h, jobs).error == c.error;
             }},
            {"deleteJob", [&] { return cups.deleteJob(h, 1).error == c.error; }},
            {"document",
             [&] {
                 std::size_t written = 0;
                 platform::SpoolResult r = cups.startDocument(h, "Quillon Command");
                 if (r.ok()) r = cups.write(h, "x\r\n", written);
                 if (r.ok()) r = cups.endDocument(h);
                 return r.error == c.error;
             }},
            {"deleteQueue", [&] { return cups.deleteQueue("Office").error == c.error; }},
            {"watchJobs", [&] { return cups.watchJobs("Office").error == c.error; }},
            {"jobOutcome", [&] { return cups.jobOutcome("Office", 1) == c.outcome; }},
        };
        for (const auto& [name, call] : calls) {
            cups.newAction();
            // What libcups would do without the spooler's own answer.
            cupsSetPasswordCB2(
                [](const char*, http_t*, const char*, const char*, void* count) -> const char* {
                    ++*static_cast<int*>(count);
                    return nullptr;
                },
                &prompts);
            const auto start = SteadyClock::now();
            EXPECT_TRUE(call()) << name;
            EXPECT_LE(SteadyClock::now() - start, c.limit + Overrun) << name;
        }
        cupsSetPasswordCB2(nullptr, nullptr);
        EXPECT_EQ(prompts, 0);
    };
    std::vector<std::thread> threads;
    for (const Case& c : cases) threads.emplace_back(run, std::cref(c));
    for (std::thread& t : threads) t.join();
}

// A server that pauses amid its answer, within the call's time, is waited for.
TEST(CupsCallLimit, AnAnswerThatPausesWithinTheLimitIsTaken) {
    testsupport::FailingIppServer server(testsupport::FailingIppServer::Answer::Pauses, "Office", 400);
    testsupport::UseServer use(server.endpoint());
    platform::CupsSpooler cups(milliseconds(2000));
    std::uint32_t error = 0;
    const platform::QueueHandle h = cups.open("Office", platform::Access::Use, error);
    EXPECT_NE(h, 0) << error;
    if (h) cups.close(h);
}

// A server whose name takes longer to look up than a call may wait.
TEST_F(CupsSpoolTest, ALookUpOfTheServerThatTakesLongIsWaitedForWithinTheLimit) {
    addQueue("Office");
    struct Gate {
        std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
        int asked = 0;
    };
    auto gate = std::make_shared<Gate>();
    const milliseconds limit(300);
    platform::CupsSpooler slow(limit, [gate](const std::string& host, int port) {
        std::unique_lock lock(gate->mutex);
        ++gate->asked;
        gate->opened.wait(lock, [&] { return gate->open; });
        return httpAddrGetList(host.c_str(), AF_UNSPEC, std::to_string(port).c_str());
    });
    std::uint32_t error = 0;
    const auto start = SteadyClock::now();
    EXPECT_EQ(slow.open("Office", platform::Access::Use, error), 0);
    EXPECT_EQ(error, SpoolError::NoAnswer);
    EXPECT_LE(SteadyClock::now() - start, limit + Overrun);
    {
        std::lock_guard lock(gate->mutex);
        gate->open = true;
    }
    gate->opened.notify_all();
    // The next action takes the look-up's answer; there is no second one.
    slow.newAction();
    EXPECT_NE(slow.open("Office", platform::Access::Use, error), 0) << error;
    EXPECT_EQ(gate->asked, 1);
}

}  // namespace
