// Quillon's pages for keyboard and screen-reader users: a port chosen any
// way runs the page's handler, and controls of one caption read their rows.

#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <memory>

#include "Access.h"
#include "foundation/KAEIntro.h"
#include "netcfg/core/Dialog.h"
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

TEST_F(QuillonAccess, ControlsReadNamesOfTheirOwn) {
    auto& m = *module;
    auto& keys = m.WEPkeyDlgForm();
    auto& finish = m.FinishDialogForm();
    guitest::expectReadAs({
        {keys.ShowChk[1], "Show Key 2", "Check to show encryption key entry during typing."},
        {keys.ConfirmTxt[3], "Confirm Key 4", "Encryption key re-entered for data entry verification."},
        {m.WEPphraseDlgForm().ShowChk[0], "Show Key 1"},
        {m.QuestionDlgForm().HelpSpeed, "What is this? Specify the Ethernet transmission speed"},
        {m.NetworkDlgForm().HelpTimer, "What is this? Keep Alive Timer"},
        {m.PortSelectForm().ComCombo, "Serial Port"},
        {keys.AuthMethod, "Authentication Method"},
        {m.WPADlgForm().WPAMode, "WPA Mode"},
        {m.LEAPDlgForm().Combo1, "EAP Mode"},
        {finish.Option2, "No",
         "Your configuration settings for the network adapter are about to be sent to the printer. Would you like to "
         "save your entries to a file for future reference?"},
        {m.LoadDlgForm().StartNew, "Start New",
         "Use the default settings.\nSelect this option if this is the first time your ran this wizard, or if you "
         "didn't save your previous work."},
        // A caption of its own: no row to tell, its tool tip is all.
        {m.QuestionDlgForm().Check1[1], "Specify the Ethernet transmission speed",
         m.QuestionDlgForm().Check1[1].toolTip().c_str()},
    });
}

TEST_F(QuillonAccess, DisableChosenFromTheOpenListGreysTheTextKeysAndTheirInstruction) {
    auto& page = module->WEPphraseDlgForm();
    page.show();
    auto* list = widgetAs<QComboBox>(page.DefaultKey);
    list->showPopup();
    QTest::keyClick(list->view(), Qt::Key_Up);  // from "Key 1" to "Disable"
    QTest::keyClick(list->view(), Qt::Key_Return);
    world->clock.advance(100);
    world->pump.doEvents();
    ASSERT_EQ(page.DefaultKey.listIndex(), 0);
    const ui::Control* greyed[] = {&page.Label2, &page.KeyText[0], &page.ShowChk[3]};
    for (const ui::Control* c : greyed) EXPECT_FALSE(ui::widgetOf(*c)->isEnabled()) << c->name();
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
    guitest::expectEscapeAsksBeforeLeaving(pages, world->messages);
}

TEST_F(QuillonAccess, EnterOnAFocusedButtonPressesThatButton) {
    auto& m = *module;
    const guitest::EnterOnButton rows[] = {
        {m.KAEIntroForm(), m.KAEIntroForm().Exit, "Caution Exiting Wizard", "KAEIntro"},
        {m.LoadDlgForm(), m.LoadDlgForm().Prev, nullptr, "KAEIntro"},
    };
    guitest::expectEnterPressesTheFocusedButton(rows, world->app, world->messages);
}

TEST_F(QuillonAccess, ANoticeAboutABoxLeavesTheFocusThereWithItsTextSelected) {
    using netcfg::QuillonModule;
    struct Case {
        const char* notice;                                   // its first line
        std::function<ui::TextBox&(QuillonModule&)> prepare;  // fills the page, returns the box refused
        std::function<ui::Control&(QuillonModule&)> enterIn;  // where Enter is pressed
    };
    const Case cases[] = {
        {"Passphrase too short.",
         [](QuillonModule& m) -> ui::TextBox& {
             m.WPADlgForm().PassPhrase.setText("gate");
             m.WPADlgForm().ConfirmTxt.setText("gate");
             return m.WPADlgForm().PassPhrase;
         },
         [](QuillonModule& m) -> ui::Control& { return m.WPADlgForm().ConfirmTxt; }},
        {"Invalid key size.",
         [](QuillonModule& m) -> ui::TextBox& {
             m.WEPkeyDlgForm().KeyText[1].setText("A7F3-0C9E");
             return m.WEPkeyDlgForm().KeyText[1];
         },
         [](QuillonModule& m) -> ui::Control& { return m.WEPkeyDlgForm().ConfirmTxt[1]; }},
        {"Invalid Gateway Address format.",
         [](QuillonModule& m) -> ui::TextBox& {
             auto& wired = m.WiredDlgForm();
             wired.useStaticIP.setValue(true);
             wired.IPAddr.setText("127.1.1.1");
             wired.Gateway.setText("127.1.1");
             return wired.Gateway;
         },
         [](QuillonModule& m) -> ui::Control& { return m.WiredDlgForm().SubMask; }},
        {"IP Address cannot be empty when the TCP port option is selected.",
         [](QuillonModule& m) -> ui::TextBox& {
             m.PortSelectForm().PortTCP.setValue(true);
             return m.PortSelectForm().IPAddr;
         },
         [](QuillonModule& m) -> ui::Control& { return m.PortSelectForm().PortTCP; }},
        {"Error Invalid Password.",
         [this](QuillonModule& m) -> ui::TextBox& {
             auto& dialog = m.DialogForm();
             dialog.Password.setText("right");
             m.SaveWizardSettings(work.file("saved.qlz"));
             dialog.FileName.setText(work.file("saved.qlz"));
             dialog.Password.setText("wrong");
             dialog.ConfirmTxt.setText("wrong");
             return dialog.Password;
         },
         [](QuillonModule& m) -> ui::Control& { return m.DialogForm().ConfirmTxt; }},
    };
    for (const Case& c : cases) {
        ui::TextBox& refused = c.prepare(*module);
        ui::Form& page = refused.form();
        page.show();
        world->messages.clear();
        QWidget* start = ui::widgetOf(c.enterIn(*module));
        start->setFocus();
        QTest::keyClick(start, Qt::Key_Return);
        ASSERT_GE(world->messages.count(), 1u) << c.notice;
        EXPECT_EQ(world->messages.last().text.substr(0, std::string(c.notice).size()), c.notice);
        auto* box = widgetAs<QLineEdit>(refused);
        EXPECT_EQ(ui::windowOf(page)->focusWidget(), box) << c.notice;
        EXPECT_EQ(box->selectedText().toStdString(), refused.text()) << c.notice;
        page.hide();
    }
}

}  // namespace
