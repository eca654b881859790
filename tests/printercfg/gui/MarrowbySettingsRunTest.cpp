// Two whole runs of Marrowby's pages as Qt windows, driven by clicks and
// keys: new settings with a custom label width saved to a settings file and
// sent; then the file loaded and the same jobs sent again, byte for byte.
// The settings dialog renders into the screens folder.

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QTest>

#include "foundation/KAEIntro.h"
#include "printercfg/core/Dialog.h"
#include "printercfg/core/FinishDialog.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "printercfg/pages/SelectDlg.h"
#include "printercfg/pages/Selection.h"
#include "support/MarrowbyGuiWorld.h"
#include "support/TempDir.h"
#include "ui/qt/Screens.h"

namespace {

using Strings = std::vector<std::string>;

// One run of the program up to its load page; the printer takes every job
// from its in-memory queue at the next poll of a wait.
struct WizardRun : testsupport::MarrowbyGuiWorld {
    WizardRun() {
        spooler.addQueue("Labels", "Tessivarn 7391-Q25 006", "socket://127.1.1.1:9100");
        spooler.setDefaultQueue("Labels");
        world->clock.onSleep = [this](std::uint32_t) { spooler.queue("Labels").jobs.clear(); };
        m->Main("");
        click(m->KAEIntroForm().Next);
        click(m->SelectDlgForm().CfgPrinter);
        click(m->SelectDlgForm().Next);
        click(m->SelectionForm().Next);
    }
    void keys(const ui::Control& c, Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::keyClick(ui::widgetOf(c), key);
    }
    void type(const ui::TextBox& box, const std::string& text) {
        QTest::keyClicks(ui::widgetOf(box), QString::fromStdString(text));
    }
    // From the print-settings page to the end of the send. `save`: the answer
    // to saving a settings file first; `leaving`: to saving on the way out (0: not asked).
    Strings send(int save, const std::string& file, int leaving = 0) {
        world->messages.answer(save);
        click(m->PrinterSetupForm().Finish);
        if (save == ui::IDYES) {
            auto& dialog = m->DialogForm();
            type(dialog.FileName, file);
            guitest::saveScreen(dialog, "Dialog");
            click(dialog.OKButton);
        }
        for (int answer : {ui::IDYES, ui::IDOK, leaving})  // calibration, sent, leaving
            if (answer) world->messages.answer(answer);
        click(m->FinishDialogForm().OKButton);
        EXPECT_TRUE(world->app.ended() && world->messages.unanswered() == 0);
        Strings jobs;
        for (const auto& d : spooler.documents) jobs.push_back(d.bytes);
        return jobs;
    }
};

TEST(MarrowbySettingsRun, SavedSettingsLoadInALaterRunAndSendTheSameJobs) {
    testsupport::TempDir folder;
    const std::string typed = folder.file("labels");
    Strings first;
    {
        WizardRun r;
        r.click(r.m->LoadDlgForm().Next);  // start new
        auto& media = r.m->OperationForm();
        for (const ui::Control* box : {&media.MediaSizeCB, &media.OrientationCB, &media.DispenseCB}) r.click(*box);
        r.keys(media.OrientationCombo, Qt::Key_Down, 3);
        r.keys(media.DispenseCombo, Qt::Key_Down);
        r.click(media.CustomizeMedia);
        r.type(r.m->CustomDialogForm().WidthValueInch, "5.5");
        r.click(r.m->CustomDialogForm().OKButton);
        r.click(media.Next);
        auto& print = r.m->PrinterSetupForm();
        for (const ui::Control* box : {&print.PrintSpeedCB, &print.HorzCB, &print.GapCB}) r.click(*box);
        r.keys(print.PrintSpeedCombo, Qt::Key_Up, 2);
        r.keys(print.GapCombo, Qt::Key_Up);
        QWidget* bar = ui::widgetOf(print.HorzShiftHScroll);
        for (int i = 0; i < 12; ++i) QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(4, bar->height() / 2));
        first = r.send(ui::IDYES, typed);
    }
    // The settings, then the calibration, each followed by its empty probe.
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0],
              "!VMD_SETUP\r\nENGINE-LENGTH;04000:WIDTH;05500\r\nENGINE-MEDIA_HANDLING;3\r\nENGINE-IMAGE_SHFT_H;-120\r\n"
              "VMD_END\r\n!VMD_SETUP\r\nWINMODE-BEGIN\r\nVMD_END\r\n~PAPER;ROTATE 270\r\n~PAPER;SPEED IPS 2\r\n"
              "~PAPER;LABELS 0\r\n!VMD_SETUP\r\nWINMODE-END\r\nVMD_END\r\n");
    WizardRun r;
    QWidget* loadPage = ui::windowOf(r.m->LoadDlgForm());
    loadPage->activateWindow();
    QCoreApplication::processEvents();
    QTest::keyClick(loadPage, Qt::Key_L, Qt::AltModifier);
    r.click(r.m->LoadDlgForm().Next);
    auto& dialog = r.m->DialogForm();
    EXPECT_EQ(dialog.caption(), "Load Wizard Settings");
    r.type(dialog.FileName, typed + ".mqz");
    QTest::keyClick(ui::widgetOf(dialog.FileName), Qt::Key_Return);  // OK is the default button
    ASSERT_TRUE(r.m->OperationForm().isVisible());
    EXPECT_EQ(r.m->OperationForm().LabelWidthCombo.text(), "5.5\" (139.7mm)");
    r.click(r.m->OperationForm().Next);
    EXPECT_EQ(r.send(ui::IDNO, "", ui::IDNO), first);
}

}  // namespace
