// The settings dialog, the finish page and the load page on the virtual
// clock: modes, refusals, the polled outcome and every way back and on.

#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/KAEIntro.h"
#include "netcfg/core/Dialog.h"
#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/LoadDlg.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/ProgressDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "support/QuillonWorld.h"

using netcfg::Dialog;

namespace {

namespace fs = std::filesystem;

const char* const Leaving = "Leaving Wizard Without Saving Settings";

struct Pages : ::testing::Test {
    testsupport::QuillonWorld w;
    netcfg::QuillonModule& m = w.q;
    void SetUp() override {
        m.Main("");
        m.KAEIntroForm().Next.click();  // the load page: the baseline is taken
    }
    Dialog& dialog() { return m.DialogForm(); }
    // The dialog opened by `flag`'s opener with a name and a confirmed password.
    void type(const std::string& name, const std::string& password = "pw") {
        dialog().FileName.setText(name);
        dialog().Password.setText(password);
        dialog().ConfirmTxt.setText(password);
    }
    void poll() {
        w.clock.advance(500);
        w.pump.doEvents();
    }
    bool asked(const char* title) const {
        for (const auto& box : w.messages.shown())
            if (box.title == title) return true;
        return false;
    }
    // The finish page as a settings page shows it.
    netcfg::FinishDialog& finish() {
        auto& choice = m.QuestionDlgForm();
        auto& page = m.FinishDialogForm();
        page.show();
        page.Caller = &choice;
        return page;
    }
};

TEST_F(Pages, DialogTakesItsModeFromTheFlagEachTimeItIsShown) {
    struct Mode {
        std::int16_t flag;
        const char* title;
        const char* subtitle;
    };
    const Mode modes[] = {
        {1, "Save Wizard Settings", "Please select a file to hold the wizard settings"},
        {2, "Save Wizard Settings", "Please select a file to hold the wizard settings"},
        {7, "Load Wizard Settings", "Please select the file that contains previously saved wizard settings"},
    };
    for (const Mode& mode : modes) {
        m.DialogResult = -1;
        dialog().dialogFlag = mode.flag;
        dialog().ShowCheck.setValue(1);
        dialog().Open();
        EXPECT_EQ(dialog().caption(), mode.title);
        EXPECT_EQ(dialog().Title.caption(), mode.title);
        EXPECT_EQ(dialog().Subtitle.caption(), mode.subtitle);
        EXPECT_EQ(m.DialogResult, 0);
        EXPECT_EQ(dialog().Password.passwordChar(), '*');
        EXPECT_TRUE(dialog().ConfirmTxt.visible());
    }
}

TEST_F(Pages, DialogRefusesBadNamesAndUnconfirmedPasswordsInEveryMode) {
    struct Case {
        std::int16_t flag;
        std::string name, password, confirm;
        int show;
        std::string notice;
    };
    const std::string badName = "Invalid file name. Please enter a valid file name.";
    const std::string mismatch = "Inputs for the password does not match, please re-enter the password again.";
    const Case cases[] = {
        {1, "", "pw", "pw", 0, badName},
        {1, " ", "pw", "pw", 0, badName},
        {0, w.work.str() + "/", "pw", "pw", 0, badName},
        {0, "a.qlz", "Pw", "pw", 0, mismatch},
        {1, "a.qlz", "pw", "", 0, mismatch},
        {0, "missing.qlz", "pw", "", 1, "File not found. Please select another file."},
    };
    for (const Case& c : cases) {
        dialog().dialogFlag = c.flag;
        dialog().Open();
        dialog().FileName.setText(c.name);
        dialog().Password.setText(c.password);
        dialog().ConfirmTxt.setText(c.confirm);
        dialog().ShowCheck.setValue(c.show);
        dialog().OKButton.click();
        EXPECT_EQ(w.messages.last().text, c.notice) << c.name;
        EXPECT_TRUE(dialog().isVisible());
        EXPECT_EQ(m.DialogResult, 0);
        EXPECT_FALSE(m.SettingsSavedToFile);
    }
}

TEST_F(Pages, SaveCompletesANameWithoutADotAndLoadTakesItAsTyped) {
    fs::create_directory(w.work.file("cfg.old"));
    for (const auto& [typed, written] : {std::pair{"printer", "printer.qlz"}, {"cfg.old/printer", "cfg.old/printer"}}) {
        dialog().dialogFlag = 1;
        dialog().Open();
        type(typed);
        dialog().OKButton.click();
        EXPECT_TRUE(fs::exists(w.work.file(written))) << typed;
        EXPECT_EQ(m.DialogResult, 1);
        EXPECT_FALSE(m.DialogForm.loaded());
    }
    EXPECT_TRUE(m.SettingsSavedToFile);
    dialog().dialogFlag = 0;
    dialog().Open();
    type("printer");
    dialog().OKButton.click();
    EXPECT_EQ(w.messages.last().text, "File not found. Please select another file.");
    EXPECT_EQ(dialog().FileName.text(), "printer");
}

TEST_F(Pages, BrowseOffersSettingsFilesFromTheProgramFolder) {
    dialog().Open();
    w.files.answer(std::string(" /srv/cfg/printer \0junk", 23));
    dialog().Browse.click();
    const auto& request = w.files.shown().back();
    EXPECT_EQ(request.title, "File Browser");
    EXPECT_EQ(request.filter, "Quillon Settings (*.qlz)|*.qlz|All Files (*.*)|*.*");
    EXPECT_EQ(request.initialDir, w.folder.str());
    EXPECT_FALSE(request.fileMustExist);
    EXPECT_TRUE(request.opening);  // load mode
    EXPECT_EQ(dialog().FileName.text(), "/srv/cfg/printer.qlz");
    w.files.answer(std::nullopt);
    dialog().Browse.click();
    EXPECT_EQ(dialog().FileName.text(), "/srv/cfg/printer.qlz");
}

TEST_F(Pages, DeclinedOverwriteKeepsTheDialogOpenAndCountsAsNoSave) {
    const std::string path = w.work.file("old.qlz");
    testsupport::writeFile(path, "older");
    dialog().dialogFlag = 1;
    dialog().Open();
    type(path);
    w.messages.answer(ui::IDNO);
    dialog().OKButton.click();
    EXPECT_TRUE(dialog().isVisible());
    EXPECT_EQ(m.DialogResult, 0);
    EXPECT_FALSE(m.SettingsSavedToFile);
    EXPECT_EQ(testsupport::readFile(path), "older");
    dialog().CancelButton.click();
    EXPECT_EQ(m.DialogResult, -1);
    EXPECT_FALSE(m.DialogForm.loaded());
}

TEST_F(Pages, LeavingWithChangesOffersTheSaveAndASavedWizardEndsWithoutAskingAgain) {
    auto& ports = m.PortSelectForm();
    ports.show();
    ports.PortTCP.setValue(true);
    for (bool cancelled : {true, false}) {
        w.messages.answer(ui::IDYES);  // leave
        w.messages.answer(ui::IDYES);  // save first
        ports.Cancel.click();
        ASSERT_TRUE(asked(Leaving));
        ASSERT_TRUE(dialog().isVisible());
        EXPECT_EQ(dialog().dialogFlag, 2);
        EXPECT_EQ(dialog().caption(), "Save Wizard Settings");
        if (cancelled) {
            dialog().CancelButton.click();
            EXPECT_TRUE(ports.isVisible());
            EXPECT_FALSE(w.app.ended());
            continue;
        }
        type(w.work.file("before-exit"));
        w.messages.clear();
        dialog().OKButton.click();
        EXPECT_TRUE(fs::exists(w.work.file("before-exit.qlz")));
        EXPECT_FALSE(asked(Leaving));
        EXPECT_TRUE(w.app.ended());
    }
}

TEST_F(Pages, AChangeAfterASaveAsksAgainOnLeaving) {
    auto& ports = m.PortSelectForm();
    ports.PortTCP.setValue(true);
    dialog().dialogFlag = 1;
    dialog().Open();
    type(w.work.file("saved"));
    dialog().OKButton.click();
    ports.IPAddr.setText("127.0.0.9");
    w.messages.answer(ui::IDNO);
    EXPECT_TRUE(m.ExitWizard());
    EXPECT_TRUE(asked(Leaving));
}

TEST_F(Pages, TitleBarCloseOfTheDialogIsItsCancel) {
    m.PortSelectForm().PortTCP.setValue(true);  // a change: leaving would ask
    dialog().dialogFlag = 2;
    dialog().Open();
    EXPECT_TRUE(dialog().userClose());
    EXPECT_EQ(m.DialogResult, -1);
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_FALSE(w.app.ended());
}

TEST_F(Pages, ReopeningTheDialogUnticksShowPasswordWithTheMask) {
    dialog().dialogFlag = 1;
    dialog().Open();
    dialog().ShowCheck.setValue(1);
    dialog().Open();
    type(w.work.file("shown"));
    dialog().ConfirmTxt.setText("pq");
    dialog().OKButton.click();
    EXPECT_EQ(w.messages.last().text, "Inputs for the password does not match, please re-enter the password again.");
}

TEST_F(Pages, FinishChoosesTheSaveByChangesAndWarnsBeforeSending) {
    auto& page = finish();
    EXPECT_TRUE(page.Option2.value());  // nothing changed since the baseline
    m.PortSelectForm().PortTCP.setValue(true);
    m.PortSelectForm().IPAddr.setText("127.1.1.1");
    page.Back.click();
    EXPECT_TRUE(m.QuestionDlgForm().isVisible());
    auto& again = finish();
    EXPECT_TRUE(again.Option1.value());

    again.Option2.setValue(true);
    w.messages.answer(ui::IDNO);
    again.OKButton.click();
    EXPECT_EQ(w.messages.count(), 0u);
    poll();
    EXPECT_EQ(w.messages.last().title, "Warning");
    EXPECT_EQ(w.messages.last().text,
              "Warning! The configuration changes are about to be sent to the printer.\r\n"
              "Afterwards, the printer will be rebooted, cancelling all pending print jobs.\r\n"
              "Do you want to continue?");
    EXPECT_TRUE(again.isVisible());
    EXPECT_FALSE(again.Timer1.running());
    EXPECT_FALSE(m.ProgressDlgForm.loaded());
}

TEST_F(Pages, FinishCancelledSaveComesBackAndSaveAndExitEndsOnlyAfterASave) {
    m.PortSelectForm().PortFile.setValue(true);
    m.PortSelectForm().FileName.setText(w.work.file("job.txt"));
    auto& page = finish();
    page.SaveExit.click();
    dialog().CancelButton.click();
    poll();
    EXPECT_TRUE(page.isVisible());
    EXPECT_FALSE(w.app.ended());

    // A later Finish without a save sends (file output: no warning).
    page.Option2.setValue(true);
    page.OKButton.click();
    poll();
    EXPECT_FALSE(w.app.ended());
    ASSERT_NE(m.ProgressDlgForm.loaded(), nullptr);
    m.ProgressDlgForm().Timer1.setEnabled(false);
    m.ProgressDlgForm().hide();

    page.show();
    page.SaveExit.click();
    type(w.work.file("kept"));
    dialog().OKButton.click();
    poll();
    EXPECT_FALSE(asked("Warning"));
    EXPECT_TRUE(w.app.ended());
}

TEST_F(Pages, LoadPageOpensTheDialogToLoadWhateverTheFlagAndWaitsForIt) {
    auto& load = m.LoadDlgForm();
    EXPECT_TRUE(m.BaselineTaken);
    EXPECT_TRUE(load.StartNew.value());
    EXPECT_NE(m.KAEIntroForm.loaded(), nullptr);

    // A settings file to load, saved with a change.
    m.PortSelectForm().PortTCP.setValue(true);
    m.PortSelectForm().IPAddr.setText("127.1.1.7");
    dialog().Password.setText("pw");
    ASSERT_TRUE(m.SaveWizardSettings(w.work.file("saved.qlz")));
    m.PortSelectForm().PortLPT.setValue(true);
    dialog().dialogFlag = 1;  // left from a save request

    load.Load.setValue(true);
    load.Next.click();
    EXPECT_FALSE(m.KAEIntroForm.loaded());
    EXPECT_FALSE(load.isVisible());
    EXPECT_EQ(dialog().caption(), "Load Wizard Settings");
    type(w.work.file("saved.qlz"), "PW");
    dialog().OKButton.click();
    EXPECT_EQ(w.messages.last().text, "Error Invalid Password.\r\nUnable to load the saved settings\r\n");
    poll();
    EXPECT_TRUE(load.Timer1.running());
    EXPECT_FALSE(load.isVisible());
    EXPECT_FALSE(m.PortSelectForm().PortTCP.value());

    // A cancelled dialog brings the page back on Start New.
    dialog().CancelButton.click();
    poll();
    EXPECT_FALSE(load.Timer1.running());
    EXPECT_TRUE(load.isVisible());
    EXPECT_TRUE(load.StartNew.value());
}

TEST_F(Pages, LoadPageBackEndsAStartFromThePrinterWizardAndOtherwiseShowsTheWelcomePage) {
    auto& load = m.LoadDlgForm();
    load.Next.click();  // Start New: the welcome page goes
    m.PortSelectForm().Prev.click();
    load.Prev.click();
    EXPECT_TRUE(m.KAEIntroForm().isVisible());
    EXPECT_FALSE(load.isVisible());

    testsupport::QuillonWorld go;
    go.q.Main("GO");
    go.q.PortSelectForm().PortTCP.setValue(true);  // a change: still no question
    go.q.LoadDlgForm().Prev.click();
    EXPECT_TRUE(go.app.ended());
    EXPECT_EQ(go.messages.count(), 0u);
}

}  // namespace
