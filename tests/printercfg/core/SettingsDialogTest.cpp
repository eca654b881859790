// Marrowby's settings dialog in its three modes: what each opener gets, where
// OK and Cancel lead, the refusals that keep it open, and the file chooser.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "printercfg/core/Dialog.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "support/MarrowbyWorld.h"

namespace {

struct Opened : testsupport::MarrowbyWorld {
    // The dialog as each mode's opener shows it, the current directory a work folder.
    explicit Opened(int mode) {
        std::filesystem::create_directory(work.file("cfg.d"));
        testsupport::writeFile(work.file("old.mqz"), "older");
        m.MaxMediaWidth = 4;
        if (mode == 0) {
            auto& load = m.LoadDlgForm();
            load.show();
            load.Load.click();
            load.Next.click();
        } else {
            auto& print = m.PrinterSetupForm();
            print.show();
            print.GapCB.click();
            messages.answer(ui::IDYES);
            if (mode == 1) print.Finish.click();
            if (mode == 2) m.ExitWizard();
        }
    }
    printercfg::Dialog& dialog() { return m.DialogForm(); }
    bool shown(const std::string& form) {
        for (const ui::Form* f : app.loadedForms())
            if (f->name() == form && f->isVisible()) return true;
        return false;
    }
    testsupport::TempDir work;
    testsupport::CurrentDirectory inWork{work.path()};
};

TEST(MarrowbySettingsDialog, EachModeNamesItselfAndGoesOnAfterOkOrCancel) {
    struct Case {
        int mode;
        const char* typed;  // nullptr: Cancel
        const char* written;
        const char* shown;  // "": the program ended
    };
    const Case cases[] = {{0, nullptr, "", "Operation"},        {1, nullptr, "", "FinishDialog"},
                          {2, nullptr, "", "FinishDialog"},     {1, "cfg.d/site", "cfg.d/site", "FinishDialog"},
                          {2, "site", "site.mqz", ""},          {0, "valid.mqz", "", "Operation"}};
    for (const Case& c : cases) {
        Opened w(c.mode);
        const bool saving = c.mode != 0;
        if (c.typed && !saving) {
            ASSERT_TRUE(w.m.SaveWizardSettings(w.work.file(c.typed)));
        }
        auto& d = w.dialog();
        ASSERT_TRUE(d.isVisible()) << c.mode;
        const std::string title = saving ? "Save Wizard Settings" : "Load Wizard Settings";
        EXPECT_EQ(d.caption() + "|" + d.Title.caption() + "|" + d.Subtitle.caption(),
                  title + "|" + title + "|" +
                      (saving ? "Please select a file to hold the wizard settings"
                              : "Please select the file that contains previously saved wizard settings"));
        // The dialog stands in for the page it came from.
        EXPECT_FALSE(w.shown(saving ? "PrinterSetup" : "Operation")) << c.mode;
        if (c.typed) {
            d.FileName.userType(c.typed);
            d.OKButton.click();
        } else {
            d.CancelButton.click();
        }
        EXPECT_EQ(w.m.DialogForm.loaded(), nullptr) << c.mode;
        EXPECT_EQ(w.app.ended(), !*c.shown) << c.mode;
        EXPECT_EQ(!*c.shown || w.shown(c.shown), true) << c.mode << c.shown;
        EXPECT_EQ(w.m.SettingsSavedToFile, *c.written != 0) << c.mode;
        EXPECT_EQ(!*c.written || testsupport::readFile(w.work.file(c.written)).substr(4, 4) == "V1.0", true);
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
        w.dialog().FileName.userType(typed);
        w.dialog().OKButton.click();
        EXPECT_EQ(w.messages.last().text, box) << typed;
        EXPECT_TRUE(w.dialog().isVisible()) << typed;
        EXPECT_FALSE(w.m.SettingsSavedToFile) << typed;
        EXPECT_FALSE(w.app.ended()) << typed;
        EXPECT_EQ(testsupport::readFile(w.work.file("old.mqz")), "older");
    }
}

TEST(MarrowbySettingsDialog, BrowseOffersSettingsFilesAndCompletesANameWithoutADot) {
    Opened w(1);
    auto& d = w.dialog();
    const std::pair<std::optional<std::string>, std::string> answers[] = {
        {"/srv/labels/site", "/srv/labels/site.mqz"}, {" /srv/site.cfg ", "/srv/site.cfg"}, {std::nullopt, "/srv/site.cfg"}};
    for (const auto& [answer, shown] : answers) {
        w.files.answer(answer);
        d.Browse.click();
        EXPECT_EQ(d.FileName.text(), shown);
    }
    const auto& request = w.files.shown().back();
    EXPECT_EQ(request.title, "File Browser");
    EXPECT_EQ(request.filter, "Wizard Settings (*.mqz)|*.mqz|All Files (*.*)|*.*");
    EXPECT_EQ(request.initialDir, w.programFolder);
}

}  // namespace
