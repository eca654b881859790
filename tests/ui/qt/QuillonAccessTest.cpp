// Quillon's pages for keyboard and screen-reader users: a port chosen any
// way runs the page's handler, and controls of one caption read their rows.

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "Access.h"
#include "foundation/KAEIntro.h"
#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/LoadDlg.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/LEAPDlg.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WEPDlg.h"
#include "netcfg/pages/WEPkeyDlg.h"
#include "netcfg/pages/WEPphraseDlg.h"
#include "netcfg/pages/WPADlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
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
    });
}

TEST_F(QuillonAccess, EscapeOnAPageAsksBeforeLeaving) {
    auto& m = *module;
    ui::Form* pages[] = {&m.KAEIntroForm(),
                         &m.LoadDlgForm(),
                         &m.PortSelectForm(),
                         &m.QuestionDlgForm(),
                         &m.WiredDlgForm(),
                         &m.NetworkDlgForm(),
                         &m.WirelessQuestionDlgForm(),
                         &m.WirelessDlgForm(),
                         &m.EncryptQuestionDlgForm(),
                         &m.WEPDlgForm(),
                         &m.WEPkeyDlgForm(),
                         &m.WEPphraseDlgForm(),
                         &m.WPADlgForm(),
                         &m.LEAPDlgForm(),
                         &m.FinishDialogForm()};
    for (ui::Form* page : pages) {
        page->show();
        world->messages.clear();
        QTest::keyClick(ui::windowOf(*page)->focusWidget(), Qt::Key_Escape);  // No, the default, keeps the page
        ASSERT_EQ(world->messages.count(), 1u) << page->name();
        EXPECT_EQ(world->messages.last().title, "Caution Exiting Wizard") << page->name();
        EXPECT_TRUE(page->isVisible()) << page->name();
        page->hide();
    }
}

}  // namespace
