// The finish page: its lists and Ignore boxes, the emulation rule, the
// questions before a calibration and an overwrite, and the requests it hands
// to the send sequence.

#include <gtest/gtest.h>

#include "printercfg/core/FinishDialog.h"
#include "printercfg/core/ProgressDlg.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "support/MarrowbyWorld.h"

using printercfg::FinishDialog;
using Strings = std::vector<std::string>;

namespace {

struct Finish : ::testing::Test {
    testsupport::MarrowbyWorld w;
    void SetUp() override {
        w.spooler.addQueue("Label A", "Tessivarn 7391-Q25 006", "usb://Tessivarn/7391");
        w.spooler.setCurrentPrinter("Label A");
        w.m.SelectedPrinterName = "Label A";
        w.m.SettingsSavedToFile = true;
        // The printer takes every job at once.
        w.clock.onSleep = [this](std::uint32_t) { w.spooler.queue("Label A").jobs.clear(); };
    }
    FinishDialog& page() { return w.m.FinishDialogForm(); }
    void changeEmulation() { w.m.PrinterSetupForm().EmulationCB.setValue(0); }
    Strings jobs() const {
        Strings out;
        for (const auto& d : w.spooler.documents) out.push_back(d.bytes);
        return out;
    }
};

TEST_F(Finish, OpensWithItsListsAndTheEmulationRule) {
    for (bool emulation : {false, true}) {
        SCOPED_TRACE(emulation);
        w.m.FinishDialogForm.unload();
        w.m.PrinterSetupForm.unload();
        if (emulation) changeEmulation();
        auto& p = page();
        EXPECT_EQ(p.SaveCombo.items(),
                  (Strings{"Configuration 1", "Configuration 2", "Configuration 3", "Configuration 4",
                           "Configuration 5", "Configuration 6", "Configuration 7", "Configuration 8"}));
        EXPECT_EQ(p.PowerUpCombo.listCount(), 9);
        EXPECT_EQ(p.PowerUpCombo.list(0), "Factory");
        EXPECT_EQ(p.SelectedPrinterName.caption(), "Label A");
        EXPECT_EQ(p.SaveCfgCB.value(), emulation ? 0 : 1);
        EXPECT_EQ(p.SetPwrUpCB.value(), emulation ? 0 : 1);
        EXPECT_EQ(p.SaveCombo.enabled(), emulation);
        EXPECT_EQ(p.PowerUpCombo.enabled(), emulation);
        EXPECT_EQ(p.SaveCombo.text(), "Configuration 1");
        EXPECT_EQ(p.PowerUpCombo.text(), emulation ? "Configuration 1" : "Factory");
    }
}

TEST_F(Finish, IgnoreBoxesAndSetComboBoxes) {
    auto& p = page();
    p.SaveCfgCB.click();
    p.SetPwrUpCB.click();
    p.SaveCombo.userSelect(3);
    p.PowerUpCombo.userSelect(7);
    // Typed text is no choice.
    p.SaveCombo.userType("Configuration 9");
    EXPECT_EQ(p.SaveCombo.listIndex(), 3);
    p.SetPwrUpCB.click();
    EXPECT_FALSE(p.PowerUpCombo.enabled());
    EXPECT_EQ(p.PowerUpCombo.listIndex(), 0);
    // Without an emulation change SetComboBoxes leaves everything alone.
    p.SetComboBoxes();
    EXPECT_EQ(p.SetPwrUpCB.value(), 1);
    changeEmulation();  // its box unchecked: the finish page's boxes are not touched
    p.SetComboBoxes();
    EXPECT_EQ(p.SaveCfgCB.value(), 0);
    EXPECT_EQ(p.SetPwrUpCB.value(), 0);
    EXPECT_TRUE(p.PowerUpCombo.enabled());
    EXPECT_EQ(p.PowerUpCombo.listIndex(), 4);
}

TEST_F(Finish, FinishHandsTheRequestsToTheSendSequence) {
    struct Case {
        const char* name;
        int saveRow;      // -1: save box left checked
        int powerUpRow;   // -1: power-up box left checked
        Strings answers;  // overwrite question
        Strings jobs;
        bool sent;
    };
    const std::string dummy = "!VMD_SETUP\r\nVMD_END\r\n";
    const Case cases[] = {
        {"neither", -1, -1, {}, {}, true},
        {"save row 3, power-up factory",
         3,
         0,
         {"yes"},
         {"!VMD_SETUP\r\nCONFIG-SAVE;4\r\nVMD_END\r\n", dummy, "!VMD_SETUP\r\nCONFIG-POWERUP;0\r\nVMD_END\r\n", dummy},
         true},
        {"overwrite declined", 0, -1, {"no"}, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.m.FinishDialogForm.unload();
        w.m.ProgressDlgForm.unload();
        w.spooler.documents.clear();
        w.messages.clear();
        w.m.SetupSent = false;
        w.m.PowerUpRequested = false;
        auto& p = page();
        p.show();
        if (c.saveRow >= 0) {
            p.SaveCfgCB.click();
            p.SaveCombo.userSelect(c.saveRow);
        }
        if (c.powerUpRow >= 0) {
            p.SetPwrUpCB.click();
            p.PowerUpCombo.userSelect(c.powerUpRow);
        }
        for (const auto& a : c.answers) w.messages.answer(a == "yes" ? ui::IDYES : ui::IDNO);
        p.OKButton.click();
        EXPECT_EQ(jobs(), c.jobs);
        EXPECT_EQ(w.m.SaveConfigRequested, c.saveRow >= 0);
        if (c.saveRow >= 0) {
            EXPECT_EQ(w.m.SaveConfigNumber, c.saveRow + 1);
        }
        EXPECT_EQ(w.m.PowerUpRequested, c.powerUpRow >= 0);
        EXPECT_EQ(w.m.SetupSent, c.sent);
        if (!c.sent) {
            ASSERT_EQ(w.messages.count(), 2u);
            EXPECT_EQ(w.messages.shown()[0].title, "Configuration Overwrite Warning");
            EXPECT_EQ(w.messages.shown()[0].defaultButton, 2);
            EXPECT_EQ(w.messages.last().text, "Setting download aborted. No printer settings were changed");
            EXPECT_EQ(w.messages.last().title, "Printer Setting Not Saved");
            EXPECT_TRUE(w.m.PrinterSetupForm().isVisible());
            EXPECT_EQ(w.m.ProgressDlgForm.loaded(), nullptr);
        }
    }
}

TEST_F(Finish, AnEmulationChangeMustBeSaved) {
    changeEmulation();
    auto& p = page();
    p.SaveCfgCB.click();
    ASSERT_EQ(p.SaveCfgCB.value(), 1);
    p.OKButton.click();
    EXPECT_EQ(w.messages.last().text,
              "Changing the active emulation requires you to save the configuration.\r\n"
              "Please select a configuration number to hold this change.");
    EXPECT_EQ(w.messages.last().title, "Notice");
    EXPECT_EQ(p.SaveCfgCB.value(), 0);
    EXPECT_TRUE(p.SaveCombo.enabled());
    EXPECT_TRUE(p.isVisible());
    EXPECT_TRUE(w.spooler.documents.empty());
}

TEST_F(Finish, ACalibrationIsConfirmedFirst) {
    w.m.OperationForm().MediaSizeCB.setValue(0);
    w.m.SetupSent = false;
    w.messages.answer(ui::IDNO);
    page().show();
    page().OKButton.click();
    ASSERT_EQ(w.messages.count(), 2u);
    EXPECT_EQ(w.messages.shown()[0].text,
              "Warning! One or more of the settings you specified require calibration to be performed.\r\n"
              "Calibration may interfere with current jobs sent to the printer.\r\n\r\nDo you want to continue?");
    EXPECT_EQ(w.messages.shown()[0].title, "Calibration Required");
    EXPECT_EQ(w.messages.shown()[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(w.messages.last().title, "Printer Setting Not Saved");
    EXPECT_TRUE(w.m.PrinterSetupForm().isVisible());
    EXPECT_TRUE(page().isVisible());
    EXPECT_FALSE(w.m.SetupSent);
    EXPECT_TRUE(w.spooler.documents.empty());
}

}  // namespace
