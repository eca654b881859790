#include <gtest/gtest.h>

#include "foundation/KAEAbout.h"
#include "foundation/KAEIntro.h"
#include "netcfg/core/LoadDlg.h"
#include "support/QuillonWorld.h"

using testsupport::QuillonWorld;

namespace {

struct StartUp : ::testing::Test {
    QuillonWorld w;
};

TEST_F(StartUp, PlainStartShowsTheWelcomePage) {
    w.q.Main("");
    EXPECT_FALSE(w.q.DebugMode);
    EXPECT_FALSE(w.q.CdMenuMode);
    EXPECT_FALSE(w.q.StartedWithGo);
    EXPECT_EQ(w.q.CdMenuProgram, "Hollin.exe");
    ASSERT_NE(w.q.KAEIntroForm.loaded(), nullptr);
    EXPECT_TRUE(w.q.KAEIntroForm().isVisible());
    EXPECT_EQ(w.q.KAEIntroForm().Label1.caption(), "Welcome to the Tessivarn Quillon");
    EXPECT_TRUE(w.processes.starts.empty());
    EXPECT_FALSE(std::filesystem::exists(w.folder.file("Log.txt")));
}

TEST_F(StartUp, LogSwitchMatchesInAnyCase) {
    w.q.Main("log");
    EXPECT_TRUE(w.q.DebugMode);
    EXPECT_EQ(w.log(), "Dec 07,2026 09:00:00 - Entering Debug Mode\r\n");
}

TEST_F(StartUp, MenuSwitchHandsTheRestOfTheLineBackToTheMenu) {
    w.q.Main("CD E:\\");
    EXPECT_TRUE(w.q.CdMenuMode);
    EXPECT_EQ(w.q.CdMenuArgs, " E:\\");
    ASSERT_EQ(w.processes.starts.size(), 1u);
    EXPECT_EQ(w.processes.starts[0].commandLine, "Hollin.exe min  E:\\");
    EXPECT_TRUE(w.processes.starts[0].hidden);
}

TEST_F(StartUp, SwitchesAreSubstringsAnywhere) {
    w.q.Main("cd F:\\LOGOS");
    EXPECT_TRUE(w.q.CdMenuMode);
    EXPECT_TRUE(w.q.DebugMode);
    EXPECT_TRUE(w.q.StartedWithGo);  // "LOGOS" holds GO too
    EXPECT_EQ(w.q.CdMenuArgs, " F:\\LOGOS");
    EXPECT_EQ(w.log().substr(0, 91),
              "Dec 07,2026 09:00:00 - Entering Debug Mode\r\n"
              "Dec 07,2026 09:00:00 - Tulver CD Menu Enabled\r\n");
    ASSERT_NE(w.q.LoadDlgForm.loaded(), nullptr);
    EXPECT_TRUE(w.q.LoadDlgForm().isVisible());
}

TEST_F(StartUp, GoFromThePrinterWizardIsNoticedAndTheRestIgnored) {
    w.q.Main("/path/Quillon GO /VERYSILENT");
    EXPECT_TRUE(w.q.StartedWithGo);
    EXPECT_FALSE(w.q.DebugMode);
    EXPECT_TRUE(w.q.CdMenuMode == false);
}

TEST_F(StartUp, MainClearsEarlierState) {
    w.q.SettingsSavedToFile = true;
    w.q.DebugMode = true;
    w.q.Main("");
    EXPECT_FALSE(w.q.SettingsSavedToFile);
    EXPECT_FALSE(w.q.DebugMode);
}

struct Exit : ::testing::Test {
    QuillonWorld w;
    void SetUp() override { w.q.Main("CD X:"); }
};

TEST_F(Exit, UnchangedSettingsEndWithoutAQuestionAndBringTheMenuBack) {
    EXPECT_TRUE(w.q.ExitWizard());
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_TRUE(w.app.ended());
    ASSERT_EQ(w.processes.starts.size(), 2u);
    EXPECT_EQ(w.processes.starts[1].commandLine, "Hollin.exe max  X:");
}

TEST_F(Exit, CancelAsksAndNoKeepsThePage) {
    w.messages.answer(ui::IDNO);
    w.q.KAEIntroForm().Exit.click();
    ASSERT_EQ(w.messages.count(), 1u);
    const auto& box = w.messages.last();
    EXPECT_EQ(box.text,
              "NIC setting is not complete. If you quit\r\n"
              "the wizard now, the printer will not be updated.\r\n"
              "Do you want to exit the wizard?");
    EXPECT_EQ(box.title, "Caution Exiting Wizard");
    EXPECT_EQ(box.icon, ui::Icon::Exclamation);
    EXPECT_EQ(box.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(box.defaultButton, 2);
    EXPECT_FALSE(w.app.ended());
    EXPECT_TRUE(w.q.KAEIntroForm().isVisible());

    w.messages.answer(ui::IDYES);
    w.q.KAEIntroForm().Exit.click();
    EXPECT_TRUE(w.app.ended());
    EXPECT_EQ(w.processes.starts.back().commandLine, "Hollin.exe max  X:");
}

TEST_F(Exit, CancelAfterTheSuccessBoxAsksNothing) {
    w.q.ShowSetupSent();
    EXPECT_EQ(w.messages.last().text, "NIC Setup Request Successfully Sent");
    w.q.ConfirmCancel();
    EXPECT_EQ(w.messages.count(), 1u);
    EXPECT_TRUE(w.app.ended());
}

TEST_F(Exit, TitleBarCloseOfTheWelcomePageEndsTheProgramOnce) {
    EXPECT_TRUE(w.q.KAEIntroForm().userClose());
    EXPECT_TRUE(w.app.ended());
    int maxStarts = 0;
    for (const auto& s : w.processes.starts) maxStarts += s.commandLine.find(" max ") != std::string::npos;
    EXPECT_EQ(maxStarts, 1);
}

TEST(Boxes, ErrorBoxAndItsFatalForm) {
    QuillonWorld w;
    w.q.Main("");
    w.q.ShowError("Bad address", false);
    EXPECT_EQ(w.messages.last().text, "Bad address");
    EXPECT_EQ(w.messages.last().title, "Program Error");
    EXPECT_EQ(w.messages.last().icon, ui::Icon::Critical);
    EXPECT_EQ(w.messages.last().buttons, ui::Buttons::OK);
    EXPECT_FALSE(w.app.ended());
    w.q.ShowError("Disk gone", true, "Own Title");
    EXPECT_EQ(w.messages.last().text, "Disk gone\r\nThe wizard will exit.");
    EXPECT_EQ(w.messages.last().title, "Own Title");
    EXPECT_TRUE(w.app.ended());
}

TEST(Boxes, YesNoQuestion) {
    QuillonWorld w;
    EXPECT_EQ(w.q.AskYesNo("Sure?", ""), ui::IDYES);  // default is Yes
    EXPECT_EQ(w.messages.last().title, "Error");
    EXPECT_EQ(w.messages.last().icon, ui::Icon::Critical);
    EXPECT_EQ(w.messages.last().defaultButton, 1);
    w.messages.answer(ui::IDNO);
    EXPECT_EQ(w.q.AskYesNo("Sure?", "Warning Title"), ui::IDNO);
    EXPECT_EQ(w.messages.last().title, "Warning Title");
    EXPECT_EQ(w.messages.last().icon, ui::Icon::Exclamation);
}

TEST(Boxes, LeavingWithoutSavingQuestion) {
    QuillonWorld w;
    w.messages.answer(ui::IDNO);
    EXPECT_FALSE(w.q.ConfirmExitWithoutSaving());
    const auto& box = w.messages.last();
    EXPECT_EQ(box.text,
              "You are about to exit this wizard after making changes.\r\n"
              "Once you exit, all of your settings will be lost.\r\n"
              "Would you like to save your settings before you exit?");
    EXPECT_EQ(box.title, "Leaving Wizard Without Saving Settings");
    EXPECT_EQ(box.icon, ui::Icon::Question);
    EXPECT_EQ(box.defaultButton, 1);
}

TEST(Boxes, UntitledBoxesShowTheProgramTitle) {
    QuillonWorld w;
    w.app.msgBox("x");
    EXPECT_EQ(w.messages.last().title, "Quillon");
}

TEST(About, QuillonTexts) {
    QuillonWorld w;
    w.q.Main("");
    std::string caption, title, version;
    w.pump.post([&] {
        auto& a = w.q.KAEAboutForm();
        caption = a.caption();
        title = a.lblTitle.caption();
        version = a.lblVersion.caption();
        a.cmdOK.click();
    });
    w.q.KAEIntroForm().About.click();
    EXPECT_EQ(caption, "About Quillon");
    EXPECT_EQ(title, "7391-Q25 Quillon");
    EXPECT_EQ(version, "Version 1.00D");
    EXPECT_EQ(w.q.GetVersionNumber(), "1.00D");
}

}  // namespace
