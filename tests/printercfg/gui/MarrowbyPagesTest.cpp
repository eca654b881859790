// Marrowby's pages as real Qt windows, and their pictures in
// build/tests/screens/marrowby/.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "foundation/KAEIntro.h"
#include "printercfg/core/KAEAbout.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "printercfg/pages/SelectDlg.h"
#include "printercfg/pages/Selection.h"
#include "support/MarrowbyGuiWorld.h"
#include "ui/qt/Screens.h"

namespace {

using guitest::widgetAs;

struct MarrowbyPages : ::testing::Test, testsupport::MarrowbyGuiWorld {
    void SetUp() override { addPrinters(); }
    static void render(ui::Form& form) {
        QCoreApplication::processEvents();  // lets the layouts follow changed texts
        guitest::saveScreen(form, form.name());
    }
};

TEST_F(MarrowbyPages, WelcomeChoiceSelectionAndAboutRender) {
    m->Main("");
    auto& intro = m->KAEIntroForm();
    EXPECT_EQ(widgetAs<QLabel>(intro.Label1)->text(), "Welcome to the Tessivarn Marrowby");
    render(intro);

    auto& about = dynamic_cast<printercfg::KAEAbout&>(m->KAEAboutForm());
    about.show();
    EXPECT_EQ(ui::windowOf(about)->windowTitle(), "About Marrowby");
    EXPECT_NE(widgetAs<QPushButton>(about.cmdSysInfo), nullptr);
    render(about);
    about.unload();

    intro.Next.click();
    auto& choice = m->SelectDlgForm();
    EXPECT_TRUE(ui::windowOf(choice)->isVisible());
    EXPECT_TRUE(widgetAs<QRadioButton>(choice.CfgNic)->isChecked());
    EXPECT_TRUE(widgetAs<QPushButton>(choice.Next)->isDefault());
    render(choice);

    choice.CfgPrinter.click();
    choice.Next.click();
    auto& selection = m->SelectionForm();
    EXPECT_TRUE(ui::windowOf(selection)->isVisible());
    EXPECT_EQ(selection.PrinterList.listIndex(), 0);
    EXPECT_EQ(m->SelectedPrinterName, "Shipping Labels");
    render(selection);
}

TEST_F(MarrowbyPages, LoadPageSettingsPagesAndCustomSizeRenderWithTheirRowsEnabled) {
    m->MaxMediaWidth = 6;
    auto& load = m->LoadDlgForm();
    load.show();
    render(load);
    load.Next.click();

    auto& media = m->OperationForm();
    for (ui::CheckBox* box : {&media.MediaTypeCB, &media.MediaSizeCB, &media.OrientationCB, &media.DispenseCB})
        widgetAs<QCheckBox>(*box)->click();
    EXPECT_TRUE(widgetAs<QComboBox>(media.LabelWidthCombo)->isEnabled());
    render(media);

    widgetAs<QPushButton>(media.CustomizeMedia)->click();
    auto& custom = m->CustomDialogForm();
    custom.WidthValueInch.userType("5.5");
    custom.HeightValueMM.userType("80");
    render(custom);
    widgetAs<QPushButton>(custom.OKButton)->click();
    EXPECT_EQ(widgetAs<QComboBox>(media.LabelWidthCombo)->currentText(), "5.5\" (139.7mm)");

    widgetAs<QPushButton>(media.Next)->click();
    auto& print = m->PrinterSetupForm();
    for (ui::CheckBox* box : {&print.PrintSpeedCB, &print.HorzCB, &print.VertCB, &print.GapCB, &print.EmulationCB})
        widgetAs<QCheckBox>(*box)->click();
    print.HorzShiftHScroll.userSet(-37);
    print.VertShiftUnit.userSelect(1);
    print.VertShiftHScroll.userSet(125);
    EXPECT_EQ(widgetAs<QLabel>(print.VertLabel)->text(), "31.75");
    render(print);
}

TEST_F(MarrowbyPages, SystemInfoWithoutTheProgramSaysSo) {
    m->Main("");
    auto& about = dynamic_cast<printercfg::KAEAbout&>(m->KAEAboutForm());
    about.show();
    widgetAs<QPushButton>(about.cmdSysInfo)->click();
    ASSERT_EQ(world->messages.count(), 1u);
    EXPECT_EQ(world->messages.last().text, "System Information Is Unavailable At This Time");
    EXPECT_TRUE(processes.starts.empty());
}

}  // namespace
