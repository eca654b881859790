// Quillon's pages for keyboard and screen-reader users: a port chosen any
// way runs the page's handler, and controls of one caption read their rows.

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "Access.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WEPkeyDlg.h"
#include "support/QuillonGuiWorld.h"

namespace {

using guitest::widgetAs;

struct QuillonAccess : ::testing::Test, testsupport::QuillonGuiWorld {
    void SetUp() override { listedPorts = "LPT1:\nCOM1:\nFILE:\n"; }
};

TEST_F(QuillonAccess, PortsChosenAnyWayRunThePage) {
    auto& ports = module->PortSelectForm();
    ports.show();
    QWidget* win = ui::windowOf(ports);
    win->activateWindow();
    QCoreApplication::processEvents();
    QTest::keyClick(win, Qt::Key_S, Qt::AltModifier);
    ASSERT_TRUE(ports.PortCOM.value());
    ASSERT_FALSE(ui::widgetOf(ports.FileName)->isEnabled());

    QAccessibleInterface* file = QAccessible::queryAccessibleInterface(ui::widgetOf(ports.PortFile));
    ASSERT_NE(file, nullptr);
    file->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(ports.PortFile.value());
    EXPECT_FALSE(ports.PortCOM.value());
    EXPECT_FALSE(widgetAs<QRadioButton>(ports.PortCOM)->isChecked());
    EXPECT_TRUE(ui::widgetOf(ports.FileName)->isEnabled());

    ui::widgetOf(ports.PortFile)->setFocus();
    QTest::keyClick(ui::widgetOf(ports.PortFile), Qt::Key_Up);
    EXPECT_TRUE(ports.PortTCP.value());
    EXPECT_FALSE(widgetAs<QRadioButton>(ports.PortFile)->isChecked());
    EXPECT_TRUE(ui::widgetOf(ports.IPAddr)->isEnabled());
    EXPECT_FALSE(ui::widgetOf(ports.FileName)->isEnabled());
}

TEST_F(QuillonAccess, ControlsOfOneCaptionReadTheirRows) {
    auto& keys = module->WEPkeyDlgForm();
    auto& choices = module->QuestionDlgForm();
    guitest::expectReadAs({
        {keys.ShowChk[1], "Show Password", "Key 2"},
        {keys.ConfirmTxt[3], "Confirm:", "Key 4"},
        {choices.HelpSpeed, "What is this?", "Specify the Ethernet transmission speed"},
        // A caption of its own: no row to tell, its tool tip is all.
        {choices.Check1[1], "Specify the Ethernet transmission speed", choices.Check1[1].toolTip().c_str()},
    });
}

}  // namespace
