// Marrowby's settings dialog in its three modes: what each opener gets, where
// OK and Cancel lead, the refusals that keep it open, and the file chooser.

#include <gtest/gtest.h>

#include <filesystem>

#include "printercfg/core/Dialog.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "support/MarrowbyWorld.h"

namespace {

// The dialog as each mode's opener shows it; the current directory a work folder.
struct Opened : testsupport::MarrowbyWorld {
    explicit Opened(int mode) {
        std::filesystem::create_directory("cfg.d");
        testsupport::writeFile("old.mqz", "older");
        if (mode == 0) {
            m.LoadDlgForm().show();
            m.LoadDlgForm().Load.setValue(true);
            m.LoadDlgForm().Next.click();
            return;
        }
        m.PrinterSetupForm().show();
        m.PrinterSetupForm().GapCB.click();
        messages.answer(ui::IDYES);
        mode == 1 ? m.PrinterSetupForm().Finish.click() : void(m.ExitWizard());
    }
    testsupport::TempDir work;
    testsupport::CurrentDirectory inWork{work.path()};
};

TEST(MarrowbySettingsDialog, EachModeNamesItselfAndGoesOnAfterOkOrCancel) {
    // Mode, name typed before OK (nullptr: Cancel), file written, page shown after ("": the program ended).
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {0, nullptr, "", "Operation"},
        {1, nullptr, "", "FinishDialog"},
        {2, nullptr, "", "FinishDialog"},
        {2, "site", "site.mqz", ""},
        {1, "cfg.d/site", "cfg.d/site", "FinishDialog"},
        {0, "new.mqz", "", "Operation"}};
    for (const auto& [mode, typed, written, after] : cases) {
        Opened w(mode);
        if (typed && mode == 0) {
            ASSERT_TRUE(w.m.SaveWizardSettings(typed));
        }
        auto& d = w.m.DialogForm();
        const std::string title = mode ? "Save Wizard Settings" : "Load Wizard Settings";
        EXPECT_EQ(d.caption() + "|" + d.Title.caption() + "|" + d.Subtitle.caption(),
                  title + "|" + title + "|" +
                      (mode ? "Please select a file to hold the wizard settings"
                            : "Please select the file that contains previously saved wizard settings"));
        // The dialog stands in for the page it came from.
        EXPECT_TRUE(d.isVisible() && !w.isShown(mode ? "PrinterSetup" : "Operation")) << mode;
        if (typed) d.FileName.userType(typed);
        (typed ? d.OKButton : d.CancelButton).click();
        EXPECT_EQ(w.m.DialogForm.loaded(), nullptr) << mode;
        EXPECT_EQ(w.app.ended(), !*after) << mode;
        EXPECT_TRUE(!*after || w.isShown(after)) << mode << after;
        EXPECT_EQ(w.m.SettingsSavedToFile, *written != 0) << mode;
        EXPECT_EQ(*written ? testsupport::readFile(written).substr(4, 4) : "", *written ? "V1.0" : "");
    }
}

TEST(MarrowbySettingsDialog, RefusalsAndFaultsKeepItOpenWithNothingSaved) {
    const std::string invalid = "Invalid file name. Please enter a valid file name.";
    // Mode, typed name, answer to a question (0: none), the last box.
    const std::tuple<int, const char*, int, std::string> cases[] = {
        {1, "", 0, invalid},
        {2, " ", 0, invalid},
        {0, "cfg.d/", 0, invalid},
        {2, "old.mqz", ui::IDNO, "Warning! Selected file currently exist\r\nDo you want to overwrite the file?"},
        {1, "missing/site", 0, "Error Writing File\r\nUnable to save the settings in missing/site.mqz\r\n"},
        {0, "old", 0, "File not found. Please select another file."},
    };
    for (const auto& [mode, typed, answer, box] : cases) {
        Opened w(mode);
        if (answer) w.messages.answer(answer);
        w.m.DialogForm().FileName.userType(typed);
        w.m.DialogForm().OKButton.click();
        EXPECT_EQ(w.messages.last().text, box) << typed;
        EXPECT_TRUE(w.m.DialogForm().isVisible() && !w.app.ended() && !w.m.SettingsSavedToFile) << typed;
        EXPECT_EQ(testsupport::readFile("old.mqz"), "older");
    }
}

TEST(MarrowbySettingsDialog, AChangeAfterASaveAsksAgainOnLeaving) {
    using printercfg::MarrowbyModule;
    // What changes after the save (nullptr: nothing).
    const std::pair<const char*, void (*)(MarrowbyModule&)> cases[] = {
        {"nothing", nullptr},
        {"list row", [](MarrowbyModule& m) { m.PrinterSetupForm().GapCombo.setListIndex(0); }},
        {"scroll bar", [](MarrowbyModule& m) { m.PrinterSetupForm().HorzShiftHScroll.setValue(25); }},
        {"custom size",
         [](MarrowbyModule& m) {
             m.OperationForm().CustomizeMedia.click();
             m.CustomDialogForm().WidthValueInch.userType("2.5");
             m.CustomDialogForm().OKButton.click();
         }},
    };
    for (const auto& [change, apply] : cases) {
        Opened w(1);
        w.m.PrinterSetupForm().HorzCB.setValue(0);
        w.m.OperationForm().MediaSizeCB.setValue(0);
        w.m.DialogForm().FileName.userType("site");
        w.m.DialogForm().OKButton.click();
        if (apply) apply(w.m);
        w.messages.clear();
        w.messages.answer(ui::IDNO);
        EXPECT_TRUE(w.m.ExitWizard());
        EXPECT_EQ(w.messages.count(), apply ? 1u : 0u) << change;
    }
}

TEST(MarrowbySettingsDialog, TitleBarCloseOfEitherDialogIsItsCancel) {
    for (int mode : {0, 2}) {
        Opened w(mode);
        EXPECT_TRUE(w.m.DialogForm().userClose());
        EXPECT_TRUE(!w.m.DialogForm.loaded() && !w.app.ended()) << mode;
        EXPECT_TRUE(w.isShown(mode ? "FinishDialog" : "Operation")) << mode;
    }
    Opened w(0);
    w.m.DialogForm().CancelButton.click();
    w.m.OperationForm().MediaSizeCB.setValue(0);  // a change: leaving would ask
    w.m.OperationForm().CustomizeMedia.click();
    EXPECT_TRUE(w.m.CustomDialogForm().userClose());
    EXPECT_TRUE(!w.m.CustomDialogForm.loaded() && !w.app.ended());
    EXPECT_TRUE(w.isShown("Operation"));
}

TEST(MarrowbySettingsDialog, BrowseOffersSettingsFilesAndCompletesANameWithoutADot) {
    for (int mode : {0, 1}) {
        Opened w(mode);
        w.files.answer(" /srv/labels/site ");
        w.m.DialogForm().Browse.click();
        EXPECT_EQ(w.m.DialogForm().FileName.text(), "/srv/labels/site.mqz");
        const auto& r = w.files.shown().back();
        EXPECT_EQ(r.title + "|" + r.filter + "|" + r.initialDir,
                  "File Browser|Wizard Settings (*.mqz)|*.mqz|All Files (*.*)|*.*|" + w.programFolder);
        EXPECT_EQ(r.opening, mode == 0);  // a file to load is opened
    }
}

}  // namespace
