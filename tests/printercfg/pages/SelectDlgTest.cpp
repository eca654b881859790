// The operation choice: Quillon started and awaited, the printer path, and
// the driver offer with its loop.

#include <gtest/gtest.h>

#include "foundation/KAEIntro.h"
#include "platform/Spooler.h"
#include "printercfg/core/Dialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/SelectDlg.h"
#include "printercfg/pages/Selection.h"
#include "support/MarrowbyWorld.h"

using testsupport::MarrowbyWorld;

namespace {

const char* const Supported = "Tessivarn 7391-Q25 006";

struct Choice : ::testing::Test {
    std::unique_ptr<MarrowbyWorld> world = std::make_unique<MarrowbyWorld>();
    MarrowbyWorld& w = *world;
    // Forms visible while the last started program ran.
    std::vector<std::string> visibleMeanwhile;
    std::uint64_t programStartedAt = 0;

    // Starts the wizard and opens the operation choice.
    printercfg::SelectDlg& open(const std::string& commandLine = "LOG") {
        w.m.Main(commandLine);
        w.m.KAEIntroForm().Next.click();
        return w.m.SelectDlgForm();
    }
    // Every started program runs for `ms`; `onEnd` runs as it ends.
    void programsRun(std::uint32_t ms, std::function<void()> onEnd = {}) {
        w.clock.onSleep = [this, ms, onEnd, seen = std::size_t{0}](std::uint32_t) mutable {
            if (w.processes.starts.size() != seen) {
                seen = w.processes.starts.size();
                programStartedAt = w.clock.elapsed();
                visibleMeanwhile = w.shown();
            }
            if (w.clock.elapsed() - programStartedAt >= ms &&
                w.processes.poll(w.processes.last()) == platform::WaitResult::Running) {
                if (onEnd) onEnd();
                w.processes.end(w.processes.last());
            }
        };
    }
    int countStarts(const std::string& text) const {
        int n = 0;
        for (const auto& s : w.processes.starts) n += s.commandLine.find(text) != std::string::npos;
        return n;
    }
};

TEST_F(Choice, NetworkSettingsRunQuillonToItsEndThenTheWelcomePageReturns) {
    w.addProgram("Quillon");
    auto& page = open("LOG CD E:");
    EXPECT_TRUE(page.CfgNic.value());
    EXPECT_EQ(countStarts(" min "), 1);
    programsRun(3000);
    page.Next.click();

    const std::string command = w.programFolder + "/Quillon.exe GO /VERYSILENT";
    ASSERT_EQ(countStarts("Quillon"), 1);
    const auto& start = w.processes.starts[1];
    EXPECT_EQ(start.commandLine, command);
    EXPECT_FALSE(start.hidden);
    EXPECT_FALSE(start.detached);
    // No page of the wizard showed while it ran; the wait lasted until its end.
    EXPECT_TRUE(visibleMeanwhile.empty());
    EXPECT_GE(w.clock.elapsed() - programStartedAt, 3000u);
    EXPECT_LE(w.clock.elapsed() - programStartedAt, 3000u + 200u);
    EXPECT_NE(w.log().find("Running Quillon: " + command + "\r\n\r\n"), std::string::npos);

    // A fresh welcome page in front (asking the menu to minimise again), the choice kept hidden.
    ASSERT_NE(w.m.KAEIntroForm.loaded(), nullptr);
    EXPECT_TRUE(w.m.KAEIntroForm().isVisible());
    EXPECT_EQ(w.m.KAEIntroForm().focused(), &w.m.KAEIntroForm().Next);
    EXPECT_EQ(countStarts(" min "), 2);
    ASSERT_EQ(w.m.SelectDlgForm.loaded(), &page);
    EXPECT_FALSE(page.isVisible());
    EXPECT_TRUE(page.CfgPrinter.value());
    w.m.KAEIntroForm().Next.click();
    EXPECT_TRUE(page.isVisible());
    EXPECT_TRUE(page.CfgPrinter.value());
    EXPECT_EQ(w.messages.count(), 0u);
}

TEST(ChoiceFolder, AProgramFolderWithBlanksIsQuoted) {
    MarrowbyWorld w("my programs");
    w.addProgram("Quillon");
    w.m.Main("");
    w.m.KAEIntroForm().Next.click();
    w.clock.onSleep = [&](std::uint32_t) { w.processes.end(w.processes.last()); };
    w.m.SelectDlgForm().Next.click();
    ASSERT_EQ(w.processes.starts.size(), 1u);
    EXPECT_EQ(w.processes.starts[0].commandLine, "\"" + w.programFolder + "/Quillon.exe\" GO /VERYSILENT");
    EXPECT_EQ(platform::splitCommandLine(w.processes.starts[0].commandLine)[0], w.programFolder + "/Quillon.exe");
}

TEST_F(Choice, QuillonMissingOrNotStartingSaysWhereAndLeaves) {
    for (bool present : {false, true}) {
        world = std::make_unique<MarrowbyWorld>();
        MarrowbyWorld& x = *world;
        if (present) x.addProgram("Quillon");
        x.processes.failStarts = true;
        x.m.Main("CD E:");
        x.m.KAEIntroForm().Next.click();
        x.m.SelectDlgForm().Next.click();
        ASSERT_EQ(x.messages.count(), 1u) << present;
        const auto& box = x.messages.last();
        EXPECT_EQ(box.text, "Error unable to locate the Quillon application:\r\n" + x.programFolder +
                                "/Quillon.exe\r\n\r\nPlease install the Quillon from your Quick Start CD.\r\n"
                                "Operation cannot continue.");
        EXPECT_EQ(box.title, "Printer Error");
        EXPECT_EQ(box.icon, ui::Icon::Critical);
        // The wizard ends; nothing more is shown.
        EXPECT_TRUE(x.app.ended()) << present;
        EXPECT_TRUE(x.app.loadedForms().empty());
        int maxStarts = 0;
        for (const auto& s : x.processes.starts) maxStarts += s.commandLine == "Hollin.exe max  E:";
        EXPECT_EQ(maxStarts, 1);
    }
}

TEST_F(Choice, QuillonMissingWithUnsavedChangesKeepsThePageWhenTheUserSavesFirst) {
    auto& page = open();
    w.m.OperationForm().DispenseCB.setValue(0);
    page.Next.click();  // Yes (the default) to saving first
    ASSERT_EQ(w.messages.count(), 2u);
    EXPECT_EQ(w.messages.last().title, "Leaving Wizard Without Saving Settings");
    EXPECT_FALSE(w.app.ended());
    EXPECT_EQ(w.m.DialogForm().dialogFlag, 2);
    EXPECT_TRUE(w.m.DialogForm().isVisible());
    EXPECT_TRUE(page.isVisible());
}

TEST_F(Choice, PrinterSettingsWithASupportedPrinterGoOnToTheSelection) {
    w.spooler.addQueue("Label", Supported);
    auto& page = open();
    page.CfgPrinter.click();
    page.Next.click();
    ASSERT_NE(w.m.SelectionForm.loaded(), nullptr);
    EXPECT_TRUE(w.m.SelectionForm().isVisible());
    EXPECT_EQ(w.m.SelectDlgForm.loaded(), nullptr);
    EXPECT_EQ(w.m.KAEIntroForm.loaded(), nullptr);
    EXPECT_EQ(w.m.SelectedPrinterName, "Label");
    EXPECT_EQ(w.messages.count(), 0u);
    // Back from the selection brings a fresh choice with the network option.
    w.m.SelectionForm().Prev.click();
    EXPECT_EQ(w.m.SelectionForm.loaded(), nullptr);
    EXPECT_TRUE(w.m.SelectDlgForm().isVisible());
    EXPECT_TRUE(w.m.SelectDlgForm().CfgNic.value());
}

TEST_F(Choice, NoSupportedPrinterOffersTheDriverAndNoLeaves) {
    w.spooler.addQueue("Office");
    auto& page = open();
    page.CfgPrinter.click();
    w.messages.answer(ui::IDNO);
    page.Next.click();
    ASSERT_EQ(w.messages.count(), 1u);
    const auto& box = w.messages.last();
    EXPECT_EQ(box.text,
              "No compatible Windows driver found!\r\n"
              "You must have at least one compatible Windows printer driver installed before you can use this "
              "application.\r\n"
              "Would you like to install a Windows printer driver now?");
    EXPECT_EQ(box.title, "No Compatible Drivers Found");
    EXPECT_EQ(box.icon, ui::Icon::Question);
    EXPECT_EQ(box.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(box.defaultButton, 1);
    EXPECT_NE(w.log().find("No Driver Found\r\n"), std::string::npos);
    EXPECT_TRUE(w.app.ended());
}

// A print server that answers the queue list and falls silent while the
// queues are looked at is named in its box; no driver is offered, no list
// is shown, and the user is back on the choice.
TEST_F(Choice, APrintServerSilentDuringTheQueueChecksIsNamedInPlaceOfTheDriverOffer) {
    for (const char* silentQueue : {"Label-1", "Label-2"}) {
        SCOPED_TRACE(silentQueue);
        world = std::make_unique<MarrowbyWorld>();
        MarrowbyWorld& x = *world;
        x.spooler.addQueue("Label-1", Supported);
        x.spooler.addQueue("Label-2", Supported);
        x.spooler.queue(silentQueue).openError = platform::SpoolError::NoAnswer;
        x.m.Main("");
        x.m.KAEIntroForm().Next.click();
        auto& page = x.m.SelectDlgForm();
        page.CfgPrinter.click();
        page.Next.click();
        ASSERT_EQ(x.messages.count(), 1u);
        EXPECT_EQ(x.messages.last().title, "Printer Error");
        EXPECT_EQ(x.messages.last().text.rfind("The print server of this workstation does not answer.", 0), 0u)
            << x.messages.last().text;
        EXPECT_EQ(x.m.SelectionForm.loaded(), nullptr);
        EXPECT_TRUE(page.isVisible());
        EXPECT_TRUE(x.m.SelectedPrinterName.empty());
        EXPECT_FALSE(x.app.ended());
    }
}

TEST_F(Choice, DriverSetupRunsSilentlyAndTheListIsBuiltAgainUntilAPrinterIsThere) {
    w.addProgram("7391Q25DriverSetup");
    auto& page = open();
    page.CfgPrinter.click();
    int runs = 0;
    // The first run installs nothing, the second a supported queue.
    programsRun(500, [&] {
        if (++runs == 2) w.spooler.addQueue("Label", Supported);
    });
    w.messages.answer(ui::IDYES);
    w.messages.answer(ui::IDYES);
    page.Next.click();
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(w.messages.count(), 2u);
    ASSERT_EQ(countStarts("7391Q25DriverSetup"), 2);
    const std::string command = w.programFolder + "/7391Q25DriverSetup.exe /VERYSILENT";
    EXPECT_EQ(w.processes.starts[0].commandLine, command);
    EXPECT_NE(w.log().find("Running driver install: " + command + "\r\n\r\n"), std::string::npos);
    ASSERT_NE(w.m.SelectionForm.loaded(), nullptr);
    EXPECT_EQ(w.m.SelectionForm().PrinterList.items(), std::vector<std::string>{"Label"});
    EXPECT_TRUE(w.m.SelectionForm().isVisible());
    EXPECT_EQ(w.m.SelectDlgForm.loaded(), nullptr);
    EXPECT_FALSE(w.app.ended());
}

TEST_F(Choice, DriverSetupMissingOrNotStartingEndsTheWizardOnce) {
    for (bool present : {false, true}) {
        world = std::make_unique<MarrowbyWorld>();
        MarrowbyWorld& x = *world;
        if (present) x.addProgram("7391Q25DriverSetup");
        x.processes.failStarts = true;
        x.m.Main("CD E:");
        x.m.KAEIntroForm().Next.click();
        x.m.SelectDlgForm().CfgPrinter.click();
        x.m.SelectDlgForm().Next.click();  // Yes to the offer
        ASSERT_EQ(x.messages.count(), 2u);
        EXPECT_EQ(x.messages.last().text,
                  "Error unable to locate the Windows driver setup file.\r\n"
                  "Please install the Windows driver using your Quick Start CD.\r\n"
                  "The wizard will exit.");
        EXPECT_EQ(x.messages.last().title, "Printer Error");
        EXPECT_TRUE(x.app.ended());
        int maxStarts = 0;
        for (const auto& s : x.processes.starts) maxStarts += s.commandLine == "Hollin.exe max  E:";
        EXPECT_EQ(maxStarts, 1) << present;
    }
}

TEST_F(Choice, BackShowsTheWelcomePageAfreshAndCancelAsks) {
    auto& page = open("CD E:");
    page.Prev.click();
    EXPECT_EQ(w.m.SelectDlgForm.loaded(), nullptr);
    EXPECT_TRUE(w.m.KAEIntroForm().isVisible());
    EXPECT_EQ(countStarts(" min "), 1);  // it was still loaded

    w.m.KAEIntroForm().Next.click();
    w.messages.answer(ui::IDNO);
    w.m.SelectDlgForm().Cancel.click();
    EXPECT_EQ(w.messages.last().title, "Caution Exiting Wizard");
    EXPECT_FALSE(w.app.ended());
    EXPECT_TRUE(w.m.SelectDlgForm().userClose());
    EXPECT_TRUE(w.app.ended());
}

}  // namespace
