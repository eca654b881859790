// The printer selection: the supported queues in the spooler's order, the
// row of the current printer, and Next with its checks.

#include <gtest/gtest.h>

#include "platform/Spooler.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/pages/SelectDlg.h"
#include "printercfg/pages/Selection.h"
#include "support/MarrowbyWorld.h"

using testsupport::MarrowbyWorld;
using Strings = std::vector<std::string>;

namespace {

struct PrinterSelection : ::testing::Test {
    MarrowbyWorld w;
    void SetUp() override {
        w.spooler.addQueue("Office", "Generic / Text Only");
        w.spooler.addQueue("Label A", "Tessivarn 7391-Q25 006", "socket://127.1.1.1:9100");
        w.spooler.addQueue("Lower", "tessivarn 7391-q25");
        w.spooler.addQueue("Label B", "Tessivarn 7391Q25 008 300dpi", "usb://Tessivarn/7391");
        w.spooler.addQueue("Broken", "Tessivarn 7391-Q25").openError = 5;
        w.m.DebugMode = true;
    }
    printercfg::Selection& page() { return w.m.SelectionForm(); }
};

TEST_F(PrinterSelection, ListsTheSupportedQueuesAndSelectsTheCurrentPrinter) {
    const std::pair<const char*, int> cases[] = {{"Label B", 1}, {"Label A", 0}, {"Office", 0}, {"", 0}};
    for (const auto& [current, row] : cases) {
        w.m.SelectionForm.unload();
        w.spooler.setCurrentPrinter(current);
        w.m.SelectedPrinterName = "stale";
        auto& p = page();
        EXPECT_EQ(p.PrinterList.items(), (Strings{"Label A", "Label B"})) << current;
        EXPECT_EQ(p.PrinterList.listIndex(), row) << current;
        EXPECT_EQ(w.m.SelectedPrinterName, p.PrinterList.list(row)) << current;
        // Left on the last queue of the walk until Next.
        EXPECT_EQ(w.spooler.currentPrinter(), "Broken");
    }
    page().PrinterList.userSelect(1);
    EXPECT_EQ(w.m.SelectedPrinterName, "Label B");
}

TEST_F(PrinterSelection, NothingSupportedLeavesNoName) {
    w.spooler.removeQueue("Label A");
    w.spooler.removeQueue("Label B");
    w.m.SelectedPrinterName = "Label A";
    EXPECT_EQ(page().PrinterList.listCount(), 0);
    EXPECT_EQ(w.m.SelectedPrinterName, "");
    page().Next.click();
    EXPECT_EQ(w.messages.last().text, "No Printer Selected.\r\nYou must select a printer to continue.");
    EXPECT_EQ(w.messages.last().title, "Marrowby");
    EXPECT_EQ(w.messages.last().icon, ui::Icon::None);
    EXPECT_EQ(w.m.LoadDlgForm.loaded(), nullptr);
}

TEST_F(PrinterSelection, NextMakesTheChoiceCurrentAndKnowsItsModel) {
    w.spooler.setDefaultQueue("Office");
    page().PrinterList.userSelect(1);
    page().show();
    page().Next.click();
    EXPECT_EQ(w.spooler.currentPrinter(), "Label B");
    EXPECT_EQ(w.m.SelectedPrinterPort, "usb://Tessivarn/7391");
    EXPECT_EQ(w.m.SelectedDriverName, "Tessivarn 7391Q25 008 300dpi");
    EXPECT_EQ(w.m.MaxMediaWidth, 8);
    EXPECT_EQ(w.m.ResolutionClass, 3);
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_NE(w.log().find(" - Selected Printer Name: Label B\r\n"), std::string::npos);
    ASSERT_NE(w.m.LoadDlgForm.loaded(), nullptr);
    EXPECT_TRUE(w.m.LoadDlgForm().isVisible());
    EXPECT_FALSE(page().isVisible());
    EXPECT_NE(w.m.SelectionForm.loaded(), nullptr);
}

TEST_F(PrinterSelection, APrinterNotReadyIsReportedAndAccepted) {
    w.spooler.queue("Label A").record.status = platform::PrinterStatus::Paused;
    page().Next.click();
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().text, "Printer not ready");
    EXPECT_EQ(w.messages.last().icon, ui::Icon::None);
    EXPECT_EQ(w.m.MaxMediaWidth, 6);
    EXPECT_TRUE(w.m.LoadDlgForm().isVisible());
}

TEST_F(PrinterSelection, AQueueRemovedSinceTheListWasBuiltIsNotUsed) {
    w.m.MaxMediaWidth = 4;
    w.m.SelectedPrinterPort = "before";
    page().show();
    w.spooler.removeQueue("Label A");
    page().Next.click();
    EXPECT_EQ(w.messages.last().text, "No Printer Selected.\r\nYou must select a printer to continue.");
    EXPECT_EQ(w.spooler.currentPrinter(), "Broken");
    EXPECT_EQ(w.m.MaxMediaWidth, 4);
    EXPECT_EQ(w.m.SelectedPrinterPort, "before");
    EXPECT_TRUE(page().isVisible());
    EXPECT_EQ(w.m.LoadDlgForm.loaded(), nullptr);
}

TEST_F(PrinterSelection, AQueueThatCannotBeReadKeepsNothingOfAnEarlierOne) {
    w.spooler.addQueue("Sealed", "Tessivarn 7391-Q25 006");
    page().PrinterList.userSelect(2);
    w.spooler.queue("Sealed").printerResult = platform::SpoolResult::failed(5);
    w.m.SelectedDriverName = "Tessivarn 7391-Q25 008";
    w.m.SelectedPrinterPort = "socket://127.9.9.9";
    page().Next.click();
    EXPECT_EQ(w.messages.last().text, "Printer not ready");
    EXPECT_EQ(w.m.SelectedDriverName, "");
    EXPECT_EQ(w.m.SelectedPrinterPort, "");
    EXPECT_EQ(w.m.ResolutionClass, 2);
}

}  // namespace
