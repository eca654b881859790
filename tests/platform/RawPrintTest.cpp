// The raw job and the queue selection, on the in-memory spooler.

#include <gtest/gtest.h>

#include <filesystem>

#include "SpoolWorld.h"
#include "foundation/RawPrint.h"
#include "platform/Spooler.h"

using foundation::RawPrint;
using platform::SpoolResult;
using spooltest::SpoolWorld;
using Strings = std::vector<std::string>;

namespace {

class RawPrintTest : public ::testing::Test {
protected:
    SpoolWorld w;
    RawPrint raw{w.q};

    void SetUp() override {
        w.spooler.addQueue("Office", "Office Laser", "ipp://127.0.0.1/office");
        w.spooler.addQueue("Quillon", "Generic / Text Only", "LPT1:");
        w.spooler.addQueue("Paused", "Generic / Text Only", "COM2:", platform::PrinterStatus::Paused);
        w.spooler.setDefaultQueue("Office");
    }
    platform::MemorySpooler::Queue& queue(const std::string& n) { return w.spooler.queue(n); }
};

const std::string NotDefined =
    "Printer: quillon\r\nNot defined on this Workstation.\r\nRun Setup and select a valid printer to continue.";

// --- SendRawJob ---

TEST_F(RawPrintTest, SendsOneRawDocumentToTheCurrentPrinter) {
    const std::string job = "!VMD_SETUP\r\nstore tcpip 1 dhcp on\r\nVMD_END\r\n";
    EXPECT_TRUE(raw.SendRawJob(job));
    EXPECT_EQ(w.spooler.calls, (Strings{"default", "open Office use", "startDocument Office Quillon Command",
                                        "startPage Office", "write Office " + std::to_string(job.size()) + " bytes",
                                        "endPage Office", "endDocument Office", "close Office"}));
    ASSERT_EQ(w.spooler.documents.size(), 1u);
    const auto& d = w.spooler.documents[0];
    EXPECT_EQ(d.name, "Quillon Command");
    EXPECT_EQ(d.bytes, job);
    EXPECT_EQ(d.pages, 1);
    EXPECT_TRUE(d.ended);
    EXPECT_EQ(w.logLines(), Strings{"sending job to printer: Office"});
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_EQ(w.spooler.openHandles(), 0u);
}

TEST_F(RawPrintTest, EveryByteValueGoesThroughUnchanged) {
    std::string job;
    for (int c = 1; c < 256; ++c) job += static_cast<char>(c);
    EXPECT_TRUE(raw.SendRawJob(job));
    EXPECT_EQ(w.spooler.documents.at(0).bytes, job);
}

TEST_F(RawPrintTest, EmptyJobStillMakesADocumentWithOnePage) {
    EXPECT_TRUE(raw.SendRawJob(""));
    EXPECT_EQ(w.spooler.calls.at(4), "write Office 0 bytes");
    EXPECT_EQ(w.spooler.documents.at(0).pages, 1);
    EXPECT_TRUE(w.spooler.documents.at(0).ended);
}

TEST_F(RawPrintTest, QueueThatCannotBeOpened) {
    w.spooler.setCurrentPrinter("Gone");
    EXPECT_FALSE(raw.SendRawJob("x"));
    ASSERT_EQ(w.messages.count(), 1u);
    const auto& box = w.messages.last();
    EXPECT_EQ(box.text, "The Printer Name you typed wasn't recognized.");
    EXPECT_EQ(box.buttons, ui::Buttons::OK);
    EXPECT_EQ(box.icon, ui::Icon::None);
    EXPECT_EQ(box.title, "Quillon");
    // The log line comes before the open's result is known.
    EXPECT_EQ(w.logLines(), Strings{"sending job to printer: Gone"});
    EXPECT_EQ(w.spooler.calls, Strings{"open Gone use failed 1801"});
    EXPECT_TRUE(w.spooler.documents.empty());
}

TEST_F(RawPrintTest, RefusedDocumentIsAFailureWithoutABox) {
    queue("Office").startDocumentResult = SpoolResult::failed(platform::SpoolError::NotReady);
    EXPECT_FALSE(raw.SendRawJob("abc"));
    EXPECT_EQ(w.messages.count(), 0u);
    // The remaining calls are still made.
    EXPECT_EQ(w.spooler.calls,
              (Strings{"default", "open Office use", "startDocument Office Quillon Command", "startPage Office",
                       "write Office 3 bytes", "endPage Office", "endDocument Office", "close Office"}));
    EXPECT_TRUE(queue("Office").jobs.empty());
}

TEST_F(RawPrintTest, DocumentRefusedAtItsEnd) {
    queue("Office").endDocumentResult = SpoolResult::failed(platform::SpoolError::GeneralFailure);
    EXPECT_FALSE(raw.SendRawJob("abc"));
    EXPECT_TRUE(queue("Office").jobs.empty());
    EXPECT_EQ(w.spooler.openHandles(), 0u);
}

TEST_F(RawPrintTest, ShortWriteIsAFailure) {
    queue("Office").writeLimit = 2;
    EXPECT_FALSE(raw.SendRawJob("abc"));
    EXPECT_EQ(w.spooler.calls.back(), "close Office");
}

TEST_F(RawPrintTest, FailingWriteOrPageIsAFailure) {
    queue("Office").writeResult = SpoolResult::failed(platform::SpoolError::GeneralFailure);
    EXPECT_FALSE(raw.SendRawJob("abc"));
    queue("Office").writeResult = {};
    queue("Office").startPageResult = SpoolResult::failed(platform::SpoolError::GeneralFailure);
    EXPECT_FALSE(raw.SendRawJob("abc"));
    queue("Office").startPageResult = {};
    queue("Office").endPageResult = SpoolResult::failed(platform::SpoolError::GeneralFailure);
    EXPECT_FALSE(raw.SendRawJob("abc"));
    queue("Office").endPageResult = {};
    EXPECT_TRUE(raw.SendRawJob("abc"));
}

TEST_F(RawPrintTest, VariantWithoutTheLogLine) {
    spooltest::OtherProgram other(w.app, w.os, w.folder.str());
    other.DebugMode = true;
    RawPrint quiet(other, false);
    EXPECT_TRUE(quiet.SendRawJob("x"));
    EXPECT_EQ(w.spooler.documents.at(0).name, "Marrowby Command");
    EXPECT_FALSE(std::filesystem::exists(w.folder.file("Log.txt")));

    w.spooler.setCurrentPrinter("Gone");
    EXPECT_FALSE(quiet.SendRawJob("x"));
    EXPECT_EQ(w.messages.last().title, "Marrowby");  // the program title
    EXPECT_FALSE(std::filesystem::exists(w.folder.file("Log.txt")));
}

TEST_F(RawPrintTest, NoLogOutsideDebugMode) {
    w.q.DebugMode = false;
    EXPECT_TRUE(raw.SendRawJob("x"));
    EXPECT_FALSE(std::filesystem::exists(w.folder.file("Log.txt")));
}

// --- SelectPrinter ---

TEST_F(RawPrintTest, DefaultQueueIsTheFirstCurrentPrinter) { EXPECT_EQ(w.spooler.currentPrinter(), "Office"); }

TEST_F(RawPrintTest, SelectsAReadyQueue) {
    EXPECT_TRUE(raw.SelectPrinter("Quillon"));
    EXPECT_EQ(w.spooler.currentPrinter(), "Quillon");
    EXPECT_EQ(w.q.SelectedPrinterPort, "LPT1:");
    EXPECT_EQ(w.q.SelectedDriverName, "Generic / Text Only");
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_EQ(w.logLines(), (Strings{"...CheckPrinter", "...CheckPrinterStatus", "...getPrinterStatus",
                                     "Selected Printer Name: Quillon"}));
    EXPECT_EQ(w.spooler.calls,
              (Strings{"queues", "open Quillon use", "readPrinter Quillon", "readJobs Quillon", "close Quillon"}));
    // The job goes to the selected queue.
    EXPECT_TRUE(raw.SendRawJob("job"));
    EXPECT_EQ(w.spooler.documents.at(0).queue, "Quillon");
}

TEST_F(RawPrintTest, SelectionIgnoresJobsInTheQueue) {
    w.spooler.addJob("Quillon", "Other", platform::JobStatus::Paused);
    EXPECT_TRUE(raw.SelectPrinter("Quillon"));
}

TEST_F(RawPrintTest, NameInOtherLetterCaseIsNotFound) {
    EXPECT_FALSE(raw.SelectPrinter("quillon"));
    ASSERT_EQ(w.messages.count(), 1u);
    const auto& box = w.messages.last();
    EXPECT_EQ(box.text, NotDefined);
    EXPECT_EQ(box.icon, ui::Icon::Critical);
    EXPECT_EQ(box.buttons, ui::Buttons::OK);
    EXPECT_EQ(box.title, "Program Error");
    EXPECT_EQ(w.logLines(), Strings{"Invalid Printer Specified: quillon"});
    EXPECT_EQ(w.spooler.currentPrinter(), "Office");
    EXPECT_EQ(w.q.SelectedPrinterPort, "");
}

TEST_F(RawPrintTest, PausedQueueIsNotReadyButStaysCurrent) {
    EXPECT_FALSE(raw.SelectPrinter("Paused"));
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().text, "Printer not ready");
    EXPECT_EQ(w.messages.last().title, "Program Error");
    EXPECT_EQ(w.messages.last().icon, ui::Icon::Critical);
    EXPECT_EQ(w.logLines(), (Strings{"...CheckPrinter", "...CheckPrinterStatus", "...getPrinterStatus",
                                     "Printer Not Ready: Paused"}));
    EXPECT_EQ(w.spooler.currentPrinter(), "Paused");
    EXPECT_EQ(w.q.SelectedPrinterPort, "COM2:");
    // A following job still goes to it.
    EXPECT_TRUE(raw.SendRawJob("x"));
    EXPECT_EQ(w.spooler.documents.at(0).queue, "Paused");
}

TEST_F(RawPrintTest, UnreadableQueueIsNotReady) {
    queue("Quillon").printerResult = SpoolResult::failed(31);
    w.q.SelectedPrinterPort = "was";
    EXPECT_FALSE(raw.SelectPrinter("Quillon"));
    EXPECT_EQ(w.messages.last().text, "Printer not ready");
    EXPECT_EQ(w.q.SelectedPrinterPort, "was");
    EXPECT_EQ(w.logLines(),
              (Strings{"...CheckPrinter", "...getPrinterStatus", "...PrinterVar=0 :", "Printer Not Ready: Quillon"}));
}

TEST_F(RawPrintTest, PrinterWizardBoxes) {
    spooltest::OtherProgram other(w.app, w.os, w.folder.str());
    RawPrint rp(other, false);
    EXPECT_FALSE(rp.SelectPrinter("None"));
    EXPECT_EQ(w.messages.last().title, "Printer Error");
    EXPECT_EQ(w.messages.last().text,
              "Printer: None\r\nNot defined on this Workstation.\r\nRun Setup and select a valid printer to "
              "continue.\r\nOperation cannot continue.");
}

}  // namespace
