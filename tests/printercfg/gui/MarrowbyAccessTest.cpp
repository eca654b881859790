// Marrowby's settings pages for keyboard and screen-reader users: what the
// Ignore boxes and the unit boxes read, and the image-shift bars by keyboard.

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <string>

#include "foundation/KAEIntro.h"
#include "printercfg/core/FinishDialog.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "printercfg/pages/SelectDlg.h"
#include "printercfg/pages/Selection.h"
#include "support/MarrowbyGuiWorld.h"
#include "ui/qt/Access.h"

namespace {

using guitest::accessibleText;
using guitest::widgetAs;

struct MarrowbyAccess : ::testing::Test, testsupport::MarrowbyGuiWorld {
    void SetUp() override { m->MaxMediaWidth = 6; }
};

TEST_F(MarrowbyAccess, ControlsReadNamesOfTheirOwn) {
    auto& media = m->OperationForm();
    auto& print = m->PrinterSetupForm();
    auto& finish = m->FinishDialogForm();
    auto& custom = m->CustomDialogForm();
    guitest::expectReadAs({
        {media.MediaTypeCB, "Ignore Print Mode"},
        {media.MediaSizeCB, "Ignore Label Length"},
        {media.OrientationCB, "Ignore Orientation"},
        {media.DispenseCB, "Ignore Media Handling"},
        {print.PrintSpeedCB, "Ignore Print Speed"},
        {print.HorzCB, "Ignore Horizontal Image Shift"},
        {print.VertCB, "Ignore Vertical Image Shift"},
        {print.GapCB, "Ignore Gap Sensor Type"},
        {print.EmulationCB, "Ignore Active Emulation"},
        {finish.SaveCfgCB, "Ignore Save Settings to Printer Configuration"},
        {finish.SetPwrUpCB, "Ignore Set Power-Up Configuration to"},
        {custom.WidthValueMM, "Width (mm)", "Label width in millimetres"},
        {custom.HeightValueInch, "Length (Inches)"},
        {print.VertShiftUnit, "Vertical Image Shift unit"},
        {print.GapCombo, "Gap Sensor Type"},
        {m->SelectionForm().PrinterList, "Please select a printer to configure."},
        {m->SelectDlgForm().CfgPrinter, "Printer Settings",
         "Configure basic printer settings\nSelect this option only after the NIC settings have been configured and "
         "a Windows drirver for the printer has been installed."},
        {m->LoadDlgForm().Load, "Load Previously Saved Wizard Settings ",
         "Use the wizard settings you previously saved to a file."},
    });
}

TEST_F(MarrowbyAccess, ImageShiftBarsTakeTheKeyboard) {
    auto& print = m->PrinterSetupForm();
    print.show();
    print.HorzCB.setValue(0);
    QWidget* win = ui::windowOf(print);
    win->activateWindow();
    QCoreApplication::processEvents();
    ui::widgetOf(print.HorzCB)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    auto* bar = widgetAs<QScrollBar>(print.HorzShiftHScroll);
    ASSERT_EQ(QApplication::focusWidget(), bar);

    const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Right, 1},  {Qt::Key_PageDown, 11}, {Qt::Key_Left, 10},
                                             {Qt::Key_PageUp, 0}, {Qt::Key_End, 100},     {Qt::Key_Home, -100}};
    for (const auto& [key, value] : steps) {
        QTest::keyClick(bar, key);
        EXPECT_EQ(print.HorzShiftHScroll.value(), value) << key;
    }
    // A click in the trough right of the slider moves one page.
    print.HorzShiftHScroll.setValue(0);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 30, bar->height() / 2));
    EXPECT_EQ(print.HorzShiftHScroll.value(), 10);
    EXPECT_EQ(accessibleText(ui::widgetOf(print.HorzLabel), QAccessible::Name), "0.10");

    // The value reads as the page shows it, and so do the ends.
    print.HorzShiftHScroll.setValue(-7);
    EXPECT_EQ(accessibleText(bar, QAccessible::Value), "-0.07");
    QAccessibleValueInterface* value = QAccessible::queryAccessibleInterface(bar)->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), -0.07);
    EXPECT_DOUBLE_EQ(value->maximumValue().toDouble(), 1.0);
}

TEST_F(MarrowbyAccess, ANoticeAboutTypedTextLeavesTheFocusInTheListWithTheTextSelected) {
    auto& print = m->PrinterSetupForm();
    print.show();
    print.PrintSpeedCB.setValue(0);
    print.PrintSpeedCombo.userType("fast");
    QTest::keyClick(ui::widgetOf(print.PrintSpeedCombo), Qt::Key_Return);
    EXPECT_EQ(world->messages.last().text.rfind("Invalid print speed entered manually.", 0), 0u);
    auto* list = widgetAs<QComboBox>(print.PrintSpeedCombo);
    EXPECT_EQ(ui::windowOf(print)->focusWidget(), list);
    EXPECT_EQ(list->lineEdit()->selectedText(), "fast");
}

TEST_F(MarrowbyAccess, EnterOnAFocusedButtonPressesThatButton) {
    addPrinters();
    const guitest::EnterOnButton rows[] = {
        {m->PrinterSetupForm(), m->PrinterSetupForm().Cancel, "Caution Exiting Wizard", "PrinterSetup"},
        {m->SelectDlgForm(), m->SelectDlgForm().Prev, nullptr, "KAEIntro"},
    };
    guitest::expectEnterPressesTheFocusedButton(rows, world->app, world->messages);
}

TEST_F(MarrowbyAccess, EscapeOnAPageAsksBeforeLeaving) {
    addPrinters();
    ui::Form* pages[] = {&m->KAEIntroForm(),  &m->SelectDlgForm(),    &m->SelectionForm(),   &m->LoadDlgForm(),
                         &m->OperationForm(), &m->PrinterSetupForm(), &m->FinishDialogForm()};
    guitest::expectEscapeAsksBeforeLeaving(pages, world->messages);
}

}  // namespace
