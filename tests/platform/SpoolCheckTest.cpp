// Queue and job texts, their parsers and the purge, on the in-memory spooler.

#include <gtest/gtest.h>

#include "SpoolWorld.h"
#include "foundation/SpoolCheck.h"
#include "platform/Spooler.h"
#include "platform/memory/MemorySpooler.h"

using foundation::SpoolCheck;
using platform::SpoolResult;
using spooltest::SpoolWorld;
using Strings = std::vector<std::string>;
namespace PS = platform::PrinterStatus;
namespace JS = platform::JobStatus;

namespace {

class SpoolCheckTest : public ::testing::Test {
protected:
    SpoolWorld w;
    SpoolCheck check{w.q};

    void SetUp() override {
        w.spooler.addQueue("Label", "7391-Q25 Label Printer", "LPT1:");
        w.spooler.setDefaultQueue("Label");
    }
    platform::MemorySpooler::Queue& label() { return w.spooler.queue("Label"); }
};

const std::string ReadyText =
    "Printer Status = Ready\r\nPrinter Name = Label\r\nPrinter Driver Name = 7391-Q25 Label Printer\r\n"
    "Printer Port Name = LPT1:\r\n";

// --- CheckPrinterStatus ---

TEST_F(SpoolCheckTest, StatusZeroIsReady) {
    EXPECT_EQ(check.CheckPrinterStatus(0), "Printer Status = Ready\r\n");
    EXPECT_EQ(w.logLines(), Strings{"...CheckPrinterStatus"});
}

TEST_F(SpoolCheckTest, BusyAndPaperOut) {
    EXPECT_EQ(check.CheckPrinterStatus(0x210), "Printer Status = Busy  Paper Out  \r\n");
}

TEST_F(SpoolCheckTest, SingleWords) {
    EXPECT_EQ(check.CheckPrinterStatus(0x800), "Printer Status = Output Bin Full  \r\n");
    EXPECT_EQ(check.CheckPrinterStatus(0x20000), "Printer Status = Toner Low  \r\n");
    EXPECT_EQ(check.CheckPrinterStatus(PS::Paused), "Printer Status = Paused  \r\n");
}

TEST_F(SpoolCheckTest, UnknownBitsGiveTheSignedValue) {
    EXPECT_EQ(check.CheckPrinterStatus(0x1000000), "Printer Status = Unknown Status of 16777216\r\n");
    EXPECT_EQ(check.CheckPrinterStatus(0x800000), "Printer Status = Unknown Status of 8388608\r\n");
    EXPECT_EQ(check.CheckPrinterStatus(0x80000000u), "Printer Status = Unknown Status of -2147483648\r\n");
    // Known bits hide the unknown ones.
    EXPECT_EQ(check.CheckPrinterStatus(0x1000001), "Printer Status = Paused  \r\n");
}

TEST_F(SpoolCheckTest, EveryWordInTableOrder) {
    EXPECT_EQ(check.CheckPrinterStatus(0x7FFFFF),
              "Printer Status = Busy  Printer Door Open  Printer Error  Initializing  I/O Active  Manual Feed  "
              "No Toner  Not Available  Off Line  Out of Memory  Output Bin Full  Page Punt  Paper Jam  Paper Out  "
              "Page Problem  Paused  Pending Deletion  Printing  Processing  Toner Low  User Intervention  Waiting  "
              "Warming Up  \r\n");
}

// --- CheckPrinter ---

TEST_F(SpoolCheckTest, ReadyQueueWithoutJobs) {
    std::string printer = "old", jobs = "old";
    EXPECT_EQ(check.CheckPrinter(printer, jobs), "Printer info retrieved");
    EXPECT_EQ(printer, ReadyText);
    EXPECT_EQ(jobs, "No Print Jobs!");
    EXPECT_EQ(w.spooler.calls,
              (Strings{"default", "open Label use", "readPrinter Label", "readJobs Label", "close Label"}));
    EXPECT_EQ(w.logLines(), (Strings{"...CheckPrinter", "...CheckPrinterStatus"}));
    EXPECT_EQ(w.spooler.openHandles(), 0u);
}

TEST_F(SpoolCheckTest, JobBlocksAreAppended) {
    w.spooler.addJob("Label", "Quillon Command", 0, 1);
    w.spooler.addJob("Label", "Other", JS::Paused | JS::Printing, 3);
    w.spooler.addJob("Label", "Spooled", 0, 0, std::string("Printing"));
    w.spooler.addJob("Label", "Odd", JS::Printed, 2);
    std::string printer, jobs = "before\r\n";
    EXPECT_EQ(check.CheckPrinter(printer, jobs), "Printer info retrieved");
    EXPECT_EQ(jobs,
              "before\r\n"
              "Job ID = 1\r\nTotal Pages = 1\r\nReady!  \r\n\r\n"
              "Job ID = 2\r\nTotal Pages = 3\r\nPaused  Printing  \r\n"
              "Job ID = 3\r\nTotal Pages = 0\r\nPrinting\r\n"
              "Job ID = 4\r\nTotal Pages = 2\r\nUnknown Status of 128\r\n");
}

TEST_F(SpoolCheckTest, JobWordsInTableOrder) {
    w.spooler.addJob("Label", "All", 0x47F);
    std::string printer, jobs;
    check.CheckPrinter(printer, jobs);
    EXPECT_EQ(jobs,
              "Job ID = 1\r\nTotal Pages = 0\r\n"
              "Spooling  Off line  Paused  Error  Paper Out  Printing  User Intervention Needed  \r\n");
}

TEST_F(SpoolCheckTest, StatusTextWinsOverBitsAndIsCut) {
    w.spooler.addJob("Label", "A", JS::Error, 0, std::string("Jammed\0rest", 11));
    w.spooler.addJob("Label", "B", 0, 0, std::string(600, 'x'));
    w.spooler.addJob("Label", "C", 0, 0, std::string());
    std::string printer, jobs;
    check.CheckPrinter(printer, jobs);
    EXPECT_EQ(jobs,
              "Job ID = 1\r\nTotal Pages = 0\r\nJammed\r\n"
              "Job ID = 2\r\nTotal Pages = 0\r\n" +
                  std::string(511, 'x') +
                  "\r\n"
                  "Job ID = 3\r\nTotal Pages = 0\r\n\r\n");
}

TEST_F(SpoolCheckTest, MissingAndLongRecordStrings) {
    label().record.name.reset();
    label().record.driver = std::string(300, 'd');
    label().record.port = std::string("USB001\0junk", 11);
    label().record.status = 0x210;
    std::string printer, jobs;
    EXPECT_EQ(check.CheckPrinter(printer, jobs), "Printer info retrieved");
    EXPECT_EQ(printer, "Printer Status = Busy  Paper Out  \r\nPrinter Name =  \r\nPrinter Driver Name = " +
                           std::string(256, 'd') + "\r\nPrinter Port Name = USB001\r\n");
}

TEST_F(SpoolCheckTest, QueueThatCannotBeOpened) {
    w.spooler.setCurrentPrinter("Nope");
    std::string printer = "p", jobs = "j";
    EXPECT_EQ(check.CheckPrinter(printer, jobs), "Cannot open printer Nope, Error: 1801");
    EXPECT_EQ(printer, "p");
    EXPECT_EQ(jobs, "j");
    EXPECT_EQ(w.spooler.calls, Strings{"open Nope use failed 1801"});
    EXPECT_EQ(w.logLines(), Strings{"...CheckPrinter"});
}

TEST_F(SpoolCheckTest, OpenErrorCodeIsShown) {
    label().openError = 5;
    std::string printer, jobs;
    EXPECT_EQ(check.CheckPrinter(printer, jobs), "Cannot open printer Label, Error: 5");
}

TEST_F(SpoolCheckTest, ProbeFailure) {
    label().printerResult = SpoolResult::failed(6, true);
    std::string printer = "p", jobs = "j";
    EXPECT_EQ(check.CheckPrinter(printer, jobs), " > GetPrinter Failed on initial call! <");
    EXPECT_EQ(printer, "p");
    EXPECT_EQ(jobs, "j");
    EXPECT_EQ(w.spooler.calls.back(), "close Label");
    EXPECT_EQ(w.spooler.openHandles(), 0u);
}

TEST_F(SpoolCheckTest, ReadFailure) {
    label().printerResult = SpoolResult::failed(1722);
    std::string printer = "p", jobs = "j";
    EXPECT_EQ(check.CheckPrinter(printer, jobs), "Couldn't get Printer Status!  Error = 1722");
    EXPECT_EQ(printer, "p");
    EXPECT_EQ(jobs, "j");
    EXPECT_EQ(w.spooler.openHandles(), 0u);
}

TEST_F(SpoolCheckTest, JobReadFailureKeepsThePrinterText) {
    w.spooler.addJob("Label", "A");
    label().jobsResult = SpoolResult::failed(31);
    std::string printer, jobs = "j";
    EXPECT_EQ(check.CheckPrinter(printer, jobs), " > EnumJobs Failed on second call! <  Error = 31");
    EXPECT_EQ(printer, ReadyText);
    EXPECT_EQ(jobs, "j");
    EXPECT_EQ(w.spooler.openHandles(), 0u);
}

TEST_F(SpoolCheckTest, JobProbeFailureReadsAsNoJobs) {
    w.spooler.addJob("Label", "A");
    label().jobsResult = SpoolResult::failed(6, true);
    std::string printer, jobs = "j";
    EXPECT_EQ(check.CheckPrinter(printer, jobs), "Printer info retrieved");
    EXPECT_EQ(jobs, "No Print Jobs!");
}

// --- getPrinterStatus ---

TEST_F(SpoolCheckTest, ParsesTheReadyText) {
    std::string port, driver;
    EXPECT_EQ(check.getPrinterStatus(ReadyText, port, driver), "Ready");
    EXPECT_EQ(port, "LPT1:");
    EXPECT_EQ(driver, "7391-Q25 Label Printer");
    EXPECT_EQ(w.logLines(), Strings{"...getPrinterStatus"});
}

TEST_F(SpoolCheckTest, ParsedStatusKeepsItsBlanks) {
    label().record.status = 0x210;
    std::string printer, jobs, port, driver;
    check.CheckPrinter(printer, jobs);
    EXPECT_EQ(check.getPrinterStatus(printer, port, driver), "Busy  Paper Out  ");
}

TEST_F(SpoolCheckTest, TextWithoutLineEnds) {
    std::string port = "p", driver = "d";
    EXPECT_EQ(check.getPrinterStatus("Printer Status = Ready", port, driver), "");
    EXPECT_EQ(port, "p");
    EXPECT_EQ(driver, "d");
    EXPECT_EQ(w.logLines(), (Strings{"...getPrinterStatus", "...PrinterVar=0 :Printer Status = Ready"}));
}

TEST_F(SpoolCheckTest, PortLineEndsTheScan) {
    std::string port, driver = "d";
    EXPECT_EQ(check.getPrinterStatus("Printer Port Name = COM1:\r\nPrinter Driver Name = X\r\n"
                                     "Printer Status = Paused  \r\n",
                                     port, driver),
              "");
    EXPECT_EQ(port, "COM1:");
    EXPECT_EQ(driver, "d");
}

TEST_F(SpoolCheckTest, OnlyTheTextUpToTheNextSeparator) {
    std::string port, driver;
    EXPECT_EQ(check.getPrinterStatus("x Printer Status = A= B\r\nPrinter Driver Name = D= E\r\n"
                                     "Printer Port Name = ipp://h/p= q\r\n",
                                     port, driver),
              "A");
    EXPECT_EQ(driver, "D");
    EXPECT_EQ(port, "ipp://h/p");
}

TEST_F(SpoolCheckTest, StatusMarkIsCaseSensitive) {
    std::string port, driver;
    EXPECT_EQ(check.getPrinterStatus("printer status = Ready\r\nPrinter Port Name = LPT1:\r\n", port, driver), "");
    EXPECT_EQ(port, "LPT1:");
}

// --- getJobStatus ---

TEST_F(SpoolCheckTest, NoJobs) {
    std::string id = "keep";
    EXPECT_EQ(check.getJobStatus("No Print Jobs!", id), "No Print Jobs!");
    EXPECT_EQ(id, "keep");
    EXPECT_EQ(w.logLines(), (Strings{"...getJobStatus", "...[ No Print Jobs ]"}));
}

TEST_F(SpoolCheckTest, OneReadyJob) {
    w.spooler.addJob("Label", "Quillon Command", 0, 1);
    std::string printer, jobs, id;
    check.CheckPrinter(printer, jobs);
    EXPECT_EQ(check.getJobStatus(jobs, id), "Ready!  ");
    EXPECT_EQ(id, "1");
}

TEST_F(SpoolCheckTest, JobTextWithoutLineEnds) {
    std::string id = "keep";
    EXPECT_EQ(check.getJobStatus("Job ID = 4", id), "");
    EXPECT_EQ(id, "keep");
    EXPECT_EQ(w.logLines(), (Strings{"...getJobStatus", "...JobVar=0 :Job ID = 4"}));
}

TEST_F(SpoolCheckTest, FirstLineWithoutSeparator) {
    std::string id;
    EXPECT_EQ(check.getJobStatus("abc\r\ndef", id), "abc\r\ndef");
    EXPECT_EQ(id, "0");
}

TEST_F(SpoolCheckTest, TwoLinesStartAtTheFirst) {
    std::string id;
    EXPECT_EQ(check.getJobStatus("Job ID = 7\r\nTotal Pages = 1", id), "Job ID = 7Total Pages = 1");
    EXPECT_EQ(id, "7");
    EXPECT_EQ(w.logLines(), (Strings{"...getJobStatus", "...start=0 : UBound= 1"}));
}

TEST_F(SpoolCheckTest, SeveralJobsRunTogether) {
    w.spooler.addJob("Label", "A", JS::Paused, 1);
    w.spooler.addJob("Label", "B", JS::Printing, 0);
    std::string printer, jobs, id;
    check.CheckPrinter(printer, jobs);
    EXPECT_EQ(check.getJobStatus(jobs, id), "Paused  Job ID = 2Total Pages = 0Printing  ");
    EXPECT_EQ(id, "1");
}

// --- PurgePrintQueue and KillPrintJob ---

TEST_F(SpoolCheckTest, PurgeDeletesOnlyOwnJobs) {
    w.spooler.addJob("Label", "Quillon Command");
    w.spooler.addJob("Label", "quillon command");
    w.spooler.addJob("Label", "Setup Quillon Command (2)");
    w.spooler.addJob("Label", "Other");
    w.spooler.addJob("Label", std::nullopt);
    w.spooler.calls.clear();
    check.PurgePrintQueue();
    std::vector<std::uint32_t> left;
    for (const auto& j : label().jobs) left.push_back(j.id);
    EXPECT_EQ(left, (std::vector<std::uint32_t>{2, 4, 5}));
    EXPECT_EQ(w.spooler.calls, (Strings{"default", "open Label use", "readPrinter Label", "readJobs Label",
                                        "open Label all", "delete Label 1", "close Label", "open Label all",
                                        "delete Label 3", "close Label", "close Label"}));
    EXPECT_EQ(w.logLines(), (Strings{"...PurgePrintQueue", "...KillPrintJob 1", "...KillPrintJob 3"}));
}

TEST_F(SpoolCheckTest, PurgeUsesTheProgramsDocumentName) {
    spooltest::OtherProgram other(w.app, w.os, w.folder.str());
    SpoolCheck otherCheck(other);
    w.spooler.addJob("Label", "Marrowby Command");
    w.spooler.addJob("Label", "Quillon Command");
    otherCheck.PurgePrintQueue();
    ASSERT_EQ(label().jobs.size(), 1u);
    EXPECT_EQ(label().jobs[0].document, "Quillon Command");
    check.PurgePrintQueue();
    EXPECT_TRUE(label().jobs.empty());
}

TEST_F(SpoolCheckTest, PurgeStopsWhenTheQueueCannotBeRead) {
    w.spooler.addJob("Label", "Quillon Command");
    w.spooler.setCurrentPrinter("Gone");
    check.PurgePrintQueue();
    EXPECT_EQ(w.spooler.calls, Strings{"open Gone use failed 1801"});

    w.spooler.setCurrentPrinter("Label");
    w.spooler.calls.clear();
    label().printerResult = SpoolResult::failed(6, true);
    check.PurgePrintQueue();
    EXPECT_EQ(w.spooler.calls, (Strings{"open Label use", "readPrinter Label", "close Label"}));

    label().printerResult = {};
    label().jobsResult = SpoolResult::failed(31);
    w.spooler.calls.clear();
    check.PurgePrintQueue();
    EXPECT_EQ(w.spooler.calls, (Strings{"open Label use", "readPrinter Label", "readJobs Label", "close Label"}));
    EXPECT_EQ(label().jobs.size(), 1u);
    EXPECT_EQ(w.spooler.openHandles(), 0u);
}

TEST_F(SpoolCheckTest, PurgeOfAnEmptyQueue) {
    check.PurgePrintQueue();
    EXPECT_EQ(w.spooler.calls,
              (Strings{"default", "open Label use", "readPrinter Label", "readJobs Label", "close Label"}));
}

TEST_F(SpoolCheckTest, KillWithoutFullAccessLeavesTheJob) {
    auto id = w.spooler.addJob("Label", "Quillon Command");
    label().denyAllAccess = true;
    check.KillPrintJob("Label", static_cast<std::int32_t>(id));
    EXPECT_EQ(label().jobs.size(), 1u);
    EXPECT_EQ(w.spooler.calls, Strings{"open Label all failed 5"});
    check.PurgePrintQueue();
    EXPECT_EQ(label().jobs.size(), 1u);
    EXPECT_EQ(w.spooler.openHandles(), 0u);
}

TEST_F(SpoolCheckTest, KillOneJobByName) {
    w.spooler.addQueue("Second");
    w.spooler.addJob("Second", "x");
    auto id = w.spooler.addJob("Second", "y");
    check.KillPrintJob("Second", static_cast<std::int32_t>(id));
    ASSERT_EQ(w.spooler.queue("Second").jobs.size(), 1u);
    EXPECT_EQ(w.spooler.calls, (Strings{"open Second all", "delete Second 2", "close Second"}));
    // A failing delete is not reported.
    check.KillPrintJob("Second", 99);
    EXPECT_EQ(w.spooler.queue("Second").jobs.size(), 1u);
}

TEST_F(SpoolCheckTest, NothingLoggedOutsideDebugMode) {
    w.q.DebugMode = false;
    std::string printer, jobs, port, driver, id;
    check.CheckPrinter(printer, jobs);
    check.getPrinterStatus(printer, port, driver);
    check.getJobStatus(jobs, id);
    check.PurgePrintQueue();
    EXPECT_FALSE(std::filesystem::exists(w.folder.file("Log.txt")));
}

}  // namespace
