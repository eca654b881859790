// Two whole runs of Quillon's real pages as Qt windows, driven by clicks,
// typing and access keys: new settings saved to a settings file and delivered
// into a file; then the saved file loaded, the confirmations typed again and
// the same job delivered once more, byte for byte. The finish page, the
// settings dialog and the load page render into the screens folder.

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>

#include "GuiWorld.h"
#include "Screens.h"
#include "foundation/KAEIntro.h"
#include "netcfg/core/Dialog.h"
#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/LoadDlg.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WPADlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "platform/Platform.h"
#include "platform/memory/MemorySpooler.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"

namespace {

using guitest::widgetAs;

// One run of the program: its windows, the stand-ins for the port lister and
// the printer-setup entry point, and the in-memory spooler.
struct WizardRun {
    explicit WizardRun(const std::string& programFolder) {
        processes.program("quenmora",
                          [](const std::string&) { testsupport::writeFile("ports.txt", "LPT1:\r\nFILE:\r\n"); });
        processes.program("rundll32", [](const std::string&) {});
        q = std::make_unique<netcfg::QuillonModule>(world->app, os, programFolder);
        q->Main("");
    }
    ~WizardRun() {
        q.reset();
        world.reset();
        guitest::flushDeletes();
    }

    void click(const ui::Control& c) { QTest::mouseClick(ui::widgetOf(c), Qt::LeftButton); }
    void type(const ui::TextBox& box, const std::string& text) {
        QTest::keyClicks(widgetAs<QLineEdit>(box), QString::fromStdString(text));
    }
    // An access key on the form's window, which the user works in.
    void alt(const ui::Form& form, Qt::Key key) {
        ASSERT_TRUE(form.isVisible()) << form.name();
        QWidget* win = ui::windowOf(form);
        win->activateWindow();
        QCoreApplication::processEvents();
        QTest::keyClick(win, key, Qt::AltModifier);
    }
    void down(const ui::ComboBox& list, int times) {
        for (int i = 0; i < times; ++i) QTest::keyClick(widgetAs<QComboBox>(list), Qt::Key_Down);
    }
    // Virtual time for the pages' timers; ends when the program has ended.
    void passTime(int ms) {
        for (int left = ms; left > 0 && !world->app.ended(); left -= 100) {
            world->clock.advance(100);
            world->pump.doEvents();
        }
    }

    testsupport::FakeProcesses processes;
    platform::MemorySpooler spooler;
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = &spooler};
    std::unique_ptr<guitest::GuiWorld> world = std::make_unique<guitest::GuiWorld>();
    std::unique_ptr<netcfg::QuillonModule> q;
};

class QuillonWizard : public ::testing::Test {
protected:
    testsupport::TempDir folder, work;
    testsupport::CurrentDirectory inWork{work.path()};
    const std::string settings = work.file("site"), job = work.file("nic-job.txt");
};

// The pages after the port page as both runs go through them; `fresh`: the
// first run enters the settings, the second finds them loaded.
void settingsPages(WizardRun& r, bool fresh) {
    auto& m = *r.q;
    auto& choice = m.QuestionDlgForm();
    ASSERT_TRUE(choice.isVisible());
    if (fresh) {
        r.click(choice.Check1[0]);
        r.click(choice.Check1[6]);
    }
    r.click(choice.Next);

    auto& wired = m.WiredDlgForm();
    ASSERT_TRUE(wired.isVisible());
    if (fresh) {
        r.alt(wired, Qt::Key_M);
        r.type(wired.IPAddr, "127.1.1.5");
        r.type(wired.SubMask, "255.255.255.0");
        r.type(wired.Gateway, "127.1.1.254");
    }
    r.click(wired.Next);

    auto& radioChoice = m.WirelessQuestionDlgForm();
    ASSERT_TRUE(radioChoice.isVisible());
    if (fresh) {
        for (int row : {0, 3}) r.click(radioChoice.check[row]);
        r.click(radioChoice.EncryptionCB);
    }
    r.click(radioChoice.Next);

    auto& radio = m.WirelessDlgForm();
    ASSERT_TRUE(radio.isVisible());
    if (fresh) {
        r.type(radio.SSID, "Dock 4");
        r.down(radio.Channel, 6);
    }
    EXPECT_EQ(radio.Channel.listIndex(), 6);
    r.click(radio.Next);

    auto& security = m.EncryptQuestionDlgForm();
    ASSERT_TRUE(security.isVisible());
    if (fresh) {
        r.alt(security, Qt::Key_O);
        r.click(security.WPA);
    }
    r.click(security.Next);

    auto& wpa = m.WPADlgForm();
    ASSERT_TRUE(wpa.isVisible());
    if (fresh) r.type(wpa.PassPhrase, "harbour-crane-77");
    EXPECT_EQ(wpa.PassPhrase.text(), "harbour-crane-77");
    r.type(wpa.ConfirmTxt, "harbour-crane-77");
    r.click(wpa.Next);
}

// The finish page's outcome: the progress page delivers the job into the
// file and the program ends.
void delivered(WizardRun& r) {
    r.passTime(10000);
    EXPECT_TRUE(r.world->app.ended());
    EXPECT_EQ(r.world->messages.last().title, "Process Successful");
}

TEST_F(QuillonWizard, NewSettingsSavedAndSentThenLoadedAndSentAgainByteForByte) {
    std::string firstJob;
    {
        WizardRun r(folder.str());
        auto& m = *r.q;
        r.click(m.KAEIntroForm().Next);
        auto& load = m.LoadDlgForm();
        ASSERT_TRUE(load.isVisible());
        guitest::saveScreen(load, "LoadDlg");
        r.alt(load, Qt::Key_S);
        r.click(load.Next);

        auto& ports = m.PortSelectForm();
        ASSERT_TRUE(ports.isVisible());
        r.alt(ports, Qt::Key_F);
        r.type(ports.FileName, job);
        r.click(ports.Next);  // the clear-text warning takes its default, Yes
        settingsPages(r, true);

        auto& finish = m.FinishDialogForm();
        ASSERT_TRUE(finish.isVisible());
        EXPECT_TRUE(finish.Option1.value());  // changed settings: save first
        guitest::saveScreen(finish, "FinishDialog");
        r.click(finish.OKButton);
        auto& dialog = m.DialogForm();
        ASSERT_TRUE(dialog.isVisible());
        r.type(dialog.FileName, settings);
        r.type(dialog.Password, "Gr33n");
        r.type(dialog.ConfirmTxt, "Gr33n");
        guitest::saveScreen(dialog, "Dialog");
        EXPECT_EQ(widgetAs<QLineEdit>(dialog.Password)->echoMode(), QLineEdit::Password);
        r.click(dialog.OKButton);
        EXPECT_EQ(r.world->messages.last().text, "Settings successfully saved in " + settings + ".qlz\r\n");
        EXPECT_TRUE(m.SettingsSavedToFile);
        delivered(r);
        firstJob = testsupport::readFile(job);
        EXPECT_NE(firstJob.find("store ifc 2 wlan passphrase harbour-crane-77\r\n"), std::string::npos);
    }
    std::filesystem::remove(job);
    {
        WizardRun r(folder.str());
        auto& m = *r.q;
        QTest::keyClick(ui::windowOf(m.KAEIntroForm()), Qt::Key_Return);  // Next is the default button
        auto& load = m.LoadDlgForm();
        r.alt(load, Qt::Key_L);
        EXPECT_TRUE(load.Load.value());
        r.click(load.Next);
        auto& dialog = m.DialogForm();
        ASSERT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.caption(), "Load Wizard Settings");
        r.type(dialog.FileName, settings + ".qlz");
        r.type(dialog.Password, "Gr33n");
        r.type(dialog.ConfirmTxt, "Gr33n");
        QTest::keyClick(widgetAs<QLineEdit>(dialog.ConfirmTxt), Qt::Key_Return);  // OK is the default button
        r.passTime(500);

        auto& ports = m.PortSelectForm();
        ASSERT_TRUE(ports.isVisible());
        EXPECT_TRUE(ports.PortFile.value());
        EXPECT_EQ(widgetAs<QLineEdit>(ports.FileName)->text().toStdString(), job);
        r.click(ports.Next);
        settingsPages(r, false);

        auto& finish = m.FinishDialogForm();
        ASSERT_TRUE(finish.isVisible());
        EXPECT_TRUE(finish.Option2.value());  // as loaded: nothing to save
        r.click(finish.OKButton);
        delivered(r);
    }
    EXPECT_EQ(testsupport::readFile(job), firstJob);
}

}  // namespace
