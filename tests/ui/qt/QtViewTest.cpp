// The Qt renderer against a form with every kind of control: model changes
// show on the widgets at once, input on the widgets reaches the model.

#include <gtest/gtest.h>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "Access.h"
#include "GuiWorld.h"
#include "Screens.h"
#include "ui/Control.h"
#include "ui/ControlArray.h"
#include "ui/Form.h"

namespace {

using guitest::GuiWorld;
using guitest::widgetAs;

class ControlsForm : public ui::Form {
public:
    explicit ControlsForm(ui::Application& app)
        : ui::Form(app, "frmControls", "Controls"),
          picLogo(*this, "picLogo", "logo"),
          lblIntro(*this, "lblIntro", "Set up the printer's network card.\r\nSecond line."),
          lblName(*this, "lblName", "Printer name:"),
          txtName(*this, "txtName"),
          txtPassword(*this, "txtPassword"),
          txtNotes(*this, "txtNotes"),
          chkDhcp(*this, "chkDhcp", "Use DHCP"),
          fraMode(*this, "fraMode", "Address mode"),
          optStatic(*this, "optStatic", "Static", -1, &fraMode),
          optDhcp(*this, "optDhcp", "DHCP", -1, &fraMode),
          optLoose(*this, "optLoose", "Outside the frame"),
          cboSpeed(*this, "cboSpeed"),
          cboHost(*this, "cboHost", ui::ComboBox::Style::DropDownCombo),
          prgSend(*this, "prgSend"),
          hsbDarkness(*this, "hsbDarkness", 0, 30),
          tmrPoll(*this, "tmrPoll", 0, false),
          cmdApply(*this, "cmdApply", "Apply"),
          cmdClose(*this, "cmdClose", "Close") {
        txtPassword.setPasswordChar('*');
        txtNotes.setMultiLine(true);
        layoutRow({&lblName, &txtName});
        txtName.onChange = [this] { ++nameChanges; };
        txtName.onKeyPress = [this](int& k) {
            keys.push_back(k);
            if (k >= 'a' && k <= 'z') k = std::toupper(k);
            if (k >= '0' && k <= '9') k = 0;
        };
        txtNotes.onChange = [this] { ++notesChanges; };
        chkDhcp.onClick = [this] { ++dhcpClicks; };
        optStatic.onClick = [this] { ++staticClicks; };
        optDhcp.onClick = [this] { ++dhcpOptionClicks; };
        cboSpeed.onClick = [this] { ++speedClicks; };
        cboSpeed.onDropDown = [this] {
            ++dropDowns;
            if (cboSpeed.listCount() == 3) cboSpeed.addItem("1000 Mbit/s");
        };
        cboHost.onChange = [this] { ++hostChanges; };
        hsbDarkness.setSteps(1, 5);
        hsbDarkness.onChange = [this] { ++darknessChanges; };
        cmdApply.onClick = [this] { ++applies; };
        cmdClose.onClick = [this] { ++closes; };
        for (const char* s : {"Auto", "10 Mbit/s", "100 Mbit/s"}) cboSpeed.addItem(s);
        cboHost.addItem("printer1");
        cboHost.addItem("printer2");
    }

    ui::Picture picLogo;
    ui::Label lblIntro;
    ui::Label lblName;
    ui::TextBox txtName;
    ui::TextBox txtPassword;
    ui::TextBox txtNotes;
    ui::CheckBox chkDhcp;
    ui::Frame fraMode;
    ui::OptionButton optStatic;
    ui::OptionButton optDhcp;
    ui::OptionButton optLoose;
    ui::ComboBox cboSpeed;
    ui::ComboBox cboHost;
    ui::ProgressBar prgSend;
    ui::ScrollBar hsbDarkness;
    ui::Timer tmrPoll;
    ui::CommandButton cmdApply;
    ui::CommandButton cmdClose;

    int nameChanges = 0, notesChanges = 0, dhcpClicks = 0, staticClicks = 0, dhcpOptionClicks = 0;
    int speedClicks = 0, dropDowns = 0, hostChanges = 0, darknessChanges = 0, applies = 0, closes = 0;
    std::vector<int> keys;
};

class QtView : public ::testing::Test {
protected:
    void SetUp() override {
        world = std::make_unique<GuiWorld>();
        form = std::make_shared<ControlsForm>(world->app);
        form->show();
    }
    void TearDown() override {
        form.reset();
        world.reset();
        guitest::flushDeletes();
    }
    std::unique_ptr<GuiWorld> world;
    std::shared_ptr<ControlsForm> form;
};

TEST_F(QtView, OneWindowPerFormWithOneWidgetPerControl) {
    QWidget* win = ui::windowOf(*form);
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(win->isVisible());
    EXPECT_TRUE(win->isWindow());
    EXPECT_EQ(win->windowTitle(), "Controls");
    EXPECT_GE(win->width(), 480);

    EXPECT_NE(widgetAs<QLabel>(form->lblIntro), nullptr);
    EXPECT_NE(widgetAs<QLineEdit>(form->txtName), nullptr);
    EXPECT_NE(widgetAs<QPlainTextEdit>(form->txtNotes), nullptr);
    EXPECT_NE(widgetAs<QCheckBox>(form->chkDhcp), nullptr);
    EXPECT_NE(widgetAs<QGroupBox>(form->fraMode), nullptr);
    EXPECT_NE(widgetAs<QRadioButton>(form->optStatic), nullptr);
    EXPECT_NE(widgetAs<QComboBox>(form->cboSpeed), nullptr);
    EXPECT_NE(widgetAs<QProgressBar>(form->prgSend), nullptr);
    EXPECT_NE(widgetAs<QScrollBar>(form->hsbDarkness), nullptr);
    EXPECT_NE(widgetAs<QPushButton>(form->cmdApply), nullptr);
    EXPECT_EQ(ui::widgetOf(form->tmrPoll), nullptr);

    auto* logo = widgetAs<QLabel>(form->picLogo);
    ASSERT_NE(logo, nullptr);
    EXPECT_FALSE(logo->pixmap().isNull());

    // Options of the frame live in the frame's widget.
    EXPECT_EQ(ui::widgetOf(form->optStatic)->parentWidget(), ui::widgetOf(form->fraMode));
    EXPECT_EQ(ui::widgetOf(form->optLoose)->parentWidget()->objectName(), "page");
    EXPECT_EQ(ui::widgetOf(form->optLoose)->window(), win);

    auto* intro = widgetAs<QLabel>(form->lblIntro);
    EXPECT_TRUE(intro->wordWrap());
    EXPECT_EQ(intro->text(), "Set up the printer's network card.\nSecond line.");
    EXPECT_EQ(widgetAs<QLineEdit>(form->txtPassword)->echoMode(), QLineEdit::Password);
    EXPECT_EQ(widgetAs<QLineEdit>(form->txtName)->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(widgetAs<QComboBox>(form->cboSpeed)->isEditable());
    EXPECT_TRUE(widgetAs<QComboBox>(form->cboHost)->isEditable());
    EXPECT_EQ(guitest::accessibleRole(ui::widgetOf(form->optStatic)), QAccessible::RadioButton);
    EXPECT_EQ(widgetAs<QComboBox>(form->cboSpeed)->count(), 3);
    EXPECT_EQ(widgetAs<QScrollBar>(form->hsbDarkness)->orientation(), Qt::Horizontal);
    EXPECT_EQ(widgetAs<QScrollBar>(form->hsbDarkness)->maximum(), 30);
    EXPECT_EQ(widgetAs<QScrollBar>(form->hsbDarkness)->pageStep(), 5);
    EXPECT_EQ(widgetAs<QProgressBar>(form->prgSend)->maximum(), 100);

    // The row sits side by side; the buttons sit at the bottom, right of the rest.
    QWidget* label = ui::widgetOf(form->lblName);
    QWidget* edit = ui::widgetOf(form->txtName);
    EXPECT_LT(label->geometry().right(), edit->geometry().left());
    EXPECT_LT(qAbs(label->geometry().center().y() - edit->geometry().center().y()), 8);
    QWidget* apply = ui::widgetOf(form->cmdApply);
    QWidget* close = ui::widgetOf(form->cmdClose);
    EXPECT_LT(apply->geometry().right(), close->geometry().left());
    EXPECT_GT(apply->geometry().top(), ui::widgetOf(form->hsbDarkness)->geometry().bottom());
    EXPECT_GT(close->geometry().right(), win->width() - 40);
}

TEST_F(QtView, ModelChangesShowAtOnce) {
    form->txtName.setEnabled(false);
    EXPECT_FALSE(ui::widgetOf(form->txtName)->isEnabled());
    form->txtName.setEnabled(true);
    EXPECT_TRUE(ui::widgetOf(form->txtName)->isEnabled());

    form->lblName.setCaption("Host name:");
    EXPECT_EQ(widgetAs<QLabel>(form->lblName)->text(), "Host name:");
    form->cmdApply.setCaption("&Send");
    EXPECT_EQ(widgetAs<QPushButton>(form->cmdApply)->text(), "&Send");
    form->fraMode.setCaption("Mode");
    EXPECT_EQ(widgetAs<QGroupBox>(form->fraMode)->title(), "Mode");
    form->setCaption("Network Settings");
    EXPECT_EQ(ui::windowOf(*form)->windowTitle(), "Network Settings");

    form->chkDhcp.setValue(1);
    EXPECT_EQ(widgetAs<QCheckBox>(form->chkDhcp)->checkState(), Qt::Checked);
    form->chkDhcp.setValue(2);
    EXPECT_EQ(widgetAs<QCheckBox>(form->chkDhcp)->checkState(), Qt::PartiallyChecked);
    form->chkDhcp.setValue(0);
    EXPECT_EQ(widgetAs<QCheckBox>(form->chkDhcp)->checkState(), Qt::Unchecked);
    EXPECT_EQ(form->dhcpClicks, 3);  // the model's handler only, no echo from the widget

    form->cboSpeed.setListIndex(1);
    EXPECT_EQ(widgetAs<QComboBox>(form->cboSpeed)->currentIndex(), 1);
    EXPECT_EQ(form->speedClicks, 1);
    form->cboSpeed.removeItem(0);
    EXPECT_EQ(widgetAs<QComboBox>(form->cboSpeed)->count(), 2);
    EXPECT_EQ(widgetAs<QComboBox>(form->cboSpeed)->currentIndex(), 0);
    form->cboHost.setText("printer9");
    EXPECT_EQ(widgetAs<QComboBox>(form->cboHost)->currentText(), "printer9");

    form->txtName.setText("ZEBRA-1");
    EXPECT_EQ(widgetAs<QLineEdit>(form->txtName)->text(), "ZEBRA-1");
    EXPECT_EQ(form->nameChanges, 1);
    form->txtNotes.setText("one\r\ntwo");
    EXPECT_EQ(widgetAs<QPlainTextEdit>(form->txtNotes)->toPlainText(), "one\ntwo");
    EXPECT_EQ(form->notesChanges, 1);

    form->txtName.setVisible(false);
    EXPECT_TRUE(ui::widgetOf(form->txtName)->isHidden());
    form->txtName.setVisible(true);
    EXPECT_FALSE(ui::widgetOf(form->txtName)->isHidden());

    form->txtName.setToolTip("The printer's name");
    EXPECT_EQ(ui::widgetOf(form->txtName)->toolTip(), "The printer's name");

    QWidget* edit = ui::widgetOf(form->txtName);
    const QColor normal = edit->palette().color(QPalette::Base);
    form->txtName.setBackColor(ui::GreyedColour);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QApplication::palette(edit).color(QPalette::Button));
    form->txtName.setBackColor(ui::EnabledColour);
    EXPECT_EQ(edit->palette().color(QPalette::Base), normal);

    form->txtPassword.setPasswordChar(0);
    EXPECT_EQ(widgetAs<QLineEdit>(form->txtPassword)->echoMode(), QLineEdit::Normal);

    form->prgSend.setValue(40);
    EXPECT_EQ(widgetAs<QProgressBar>(form->prgSend)->value(), 40);
    form->hsbDarkness.setValue(12);
    EXPECT_EQ(widgetAs<QScrollBar>(form->hsbDarkness)->value(), 12);
    EXPECT_EQ(form->darknessChanges, 1);
    form->hsbDarkness.setRange(0, 10);
    EXPECT_EQ(widgetAs<QScrollBar>(form->hsbDarkness)->maximum(), 10);
    EXPECT_EQ(widgetAs<QScrollBar>(form->hsbDarkness)->value(), 10);

    form->cboHost.setStyle(ui::ComboBox::Style::DropDownList);
    EXPECT_FALSE(widgetAs<QComboBox>(form->cboHost)->isEditable());

    form->chkDhcp.setFocus();
    EXPECT_EQ(ui::windowOf(*form)->focusWidget(), ui::widgetOf(form->chkDhcp));
}

TEST_F(QtView, TypingGoesThroughTheKeyPressHandler) {
    auto* edit = widgetAs<QLineEdit>(form->txtName);
    QTest::keyClicks(edit, "ab1c");
    // The handler turns letters upper case and swallows digits.
    EXPECT_EQ(form->txtName.text(), "ABC");
    EXPECT_EQ(edit->text(), "ABC");
    EXPECT_EQ(form->nameChanges, 3);
    EXPECT_EQ(form->keys, (std::vector<int>{'a', 'b', '1', 'c'}));

    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(form->txtName.text(), "AB");
    EXPECT_EQ(form->keys.back(), 8);

    // The handler sees characters as codes of the Windows code page.
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString::fromUtf8("\xE2\x82\xAC"), Qt::NoModifier);
    EXPECT_EQ(form->keys.back(), 0x80);
    EXPECT_EQ(form->txtName.text(), "AB\xE2\x82\xAC");
    QTest::keyClick(edit, Qt::Key_Backspace);

    // No default button on this form: Enter is a key press of 13.
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(form->keys.back(), 13);
    EXPECT_EQ(form->txtName.text(), "AB");
    EXPECT_EQ(form->applies, 0);
}

TEST_F(QtView, TypingWithoutHandlerAndLimits) {
    auto* pw = widgetAs<QLineEdit>(form->txtPassword);
    form->txtPassword.setMaxLength(4);
    form->txtPassword.setPasswordChar('*');  // already set: no notification
    QTest::keyClicks(pw, "secret");
    EXPECT_EQ(form->txtPassword.text(), "secr");

    auto* notes = widgetAs<QPlainTextEdit>(form->txtNotes);
    QTest::keyClicks(notes, "a");
    QTest::keyClick(notes, Qt::Key_Return);
    QTest::keyClicks(notes, "b");
    EXPECT_EQ(form->txtNotes.text(), "a\r\nb");

    // A locked text box takes no typing.
    form->txtNotes.setLocked(true);
    form->txtNotes.setText("fixed");
    EXPECT_TRUE(notes->isReadOnly());
    QTest::keyClicks(notes, "x");
    EXPECT_EQ(form->txtNotes.text(), "fixed");
}

TEST_F(QtView, ClicksOnCheckBoxesAndButtonsReachTheModel) {
    auto* box = widgetAs<QCheckBox>(form->chkDhcp);
    box->click();
    EXPECT_EQ(form->chkDhcp.value(), 1);
    EXPECT_EQ(form->dhcpClicks, 1);
    EXPECT_EQ(box->checkState(), Qt::Checked);
    box->click();
    EXPECT_EQ(form->chkDhcp.value(), 0);
    EXPECT_EQ(form->dhcpClicks, 2);

    // A greyed box ticks on a click, as the model says.
    form->chkDhcp.setValue(2);
    box->click();
    EXPECT_EQ(form->chkDhcp.value(), 1);
    EXPECT_EQ(box->checkState(), Qt::Checked);

    widgetAs<QPushButton>(form->cmdApply)->click();
    EXPECT_EQ(form->applies, 1);

    // A control the model disabled does not take clicks.
    form->cmdApply.setEnabled(false);
    widgetAs<QPushButton>(form->cmdApply)->click();
    EXPECT_EQ(form->applies, 1);
}

TEST_F(QtView, OptionButtonsStayExclusiveThroughTheModel) {
    auto* st = widgetAs<QRadioButton>(form->optStatic);
    auto* dh = widgetAs<QRadioButton>(form->optDhcp);
    auto* loose = widgetAs<QRadioButton>(form->optLoose);
    form->optLoose.setValue(true);
    EXPECT_TRUE(loose->isChecked());

    st->click();
    EXPECT_TRUE(form->optStatic.value());
    EXPECT_TRUE(st->isChecked());
    EXPECT_EQ(form->staticClicks, 1);

    dh->click();
    EXPECT_TRUE(form->optDhcp.value());
    EXPECT_FALSE(form->optStatic.value());
    EXPECT_TRUE(dh->isChecked());
    EXPECT_FALSE(st->isChecked());
    EXPECT_EQ(form->dhcpOptionClicks, 1);

    // A second click on the selected option keeps it selected.
    dh->click();
    EXPECT_TRUE(dh->isChecked());
    EXPECT_TRUE(form->optDhcp.value());
    EXPECT_EQ(form->dhcpOptionClicks, 1);

    // The option outside the frame is a group of its own.
    EXPECT_TRUE(form->optLoose.value());
    EXPECT_TRUE(loose->isChecked());

    form->optStatic.setValue(true);
    EXPECT_TRUE(st->isChecked());
    EXPECT_FALSE(dh->isChecked());
}

// However a tick changes (an accessibility action, an arrow key, Space), it
// goes through the model: one option of a group stays ticked and the
// handler runs once.
TEST_F(QtView, TicksChangedAnyWayRunTheirHandlerOnce) {
    auto toggle = [](const ui::Control& c) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(ui::widgetOf(c));
        ASSERT_NE(a, nullptr);
        ASSERT_NE(a->actionInterface(), nullptr);
        a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    toggle(form->chkDhcp);
    EXPECT_EQ(form->chkDhcp.value(), 1);
    EXPECT_EQ(form->dhcpClicks, 1);

    form->optLoose.setValue(true);
    auto* st = widgetAs<QRadioButton>(form->optStatic);
    auto* dh = widgetAs<QRadioButton>(form->optDhcp);
    toggle(form->optDhcp);
    EXPECT_TRUE(form->optDhcp.value());
    EXPECT_EQ(form->dhcpOptionClicks, 1);
    toggle(form->optDhcp);  // the chosen option stays chosen
    EXPECT_TRUE(dh->isChecked());
    EXPECT_EQ(form->dhcpOptionClicks, 1);

    ui::windowOf(*form)->activateWindow();
    QCoreApplication::processEvents();
    dh->setFocus();
    QTest::keyClick(dh, Qt::Key_Up);
    EXPECT_TRUE(form->optStatic.value());
    EXPECT_FALSE(form->optDhcp.value());
    EXPECT_EQ(form->staticClicks, 1);
    EXPECT_EQ(QApplication::focusWidget(), st);
    EXPECT_FALSE(dh->isChecked());
    QTest::keyClick(st, Qt::Key_Down);
    EXPECT_TRUE(form->optDhcp.value());
    EXPECT_EQ(form->dhcpOptionClicks, 2);

    form->optStatic.setValue(true);
    QTest::keyClick(dh, Qt::Key_Space);
    EXPECT_TRUE(form->optDhcp.value());
    EXPECT_TRUE(dh->isChecked());
    EXPECT_FALSE(st->isChecked());
    EXPECT_EQ(form->dhcpOptionClicks, 3);
    // The option outside the frame is a group of its own.
    EXPECT_TRUE(form->optLoose.value());
    EXPECT_TRUE(widgetAs<QRadioButton>(form->optLoose)->isChecked());
}

// Tab stops once in a group of options, at its chosen one; the arrow keys
// move the choice within the group.
TEST_F(QtView, TabStopsOncePerOptionGroupAndArrowsMoveWithinIt) {
    form->optDhcp.setValue(true);
    ui::windowOf(*form)->activateWindow();
    QCoreApplication::processEvents();
    ui::widgetOf(form->chkDhcp)->setFocus();
    auto press = [&](Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key);
        return form->focused() ? form->focused()->name() : "?";
    };
    std::vector<std::string> order;
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Up,
                        Qt::Key_Tab, Qt::Key_Backtab})
        order.push_back(press(key));
    EXPECT_EQ(order, (std::vector<std::string>{"optDhcp", "optLoose", "cboSpeed", "optLoose", "optDhcp", "optStatic",
                                               "optLoose", "optStatic"}));
    EXPECT_TRUE(form->optStatic.value());
}

TEST_F(QtView, ComboSelectionTypingAndDropDown) {
    auto* speed = widgetAs<QComboBox>(form->cboSpeed);
    form->cboSpeed.setListIndex(0);
    form->speedClicks = 0;
    QTest::keyClick(speed, Qt::Key_Down);
    EXPECT_EQ(form->cboSpeed.listIndex(), 1);
    EXPECT_EQ(form->cboSpeed.text(), "10 Mbit/s");
    EXPECT_EQ(form->speedClicks, 1);

    // Opening the list runs the drop-down handler first, which may fill the list.
    speed->showPopup();
    EXPECT_EQ(form->dropDowns, 1);
    EXPECT_EQ(speed->count(), 4);
    EXPECT_EQ(speed->itemText(3), "1000 Mbit/s");
    speed->hidePopup();

    auto* host = widgetAs<QComboBox>(form->cboHost);
    QTest::keyClicks(host->lineEdit(), "prn");
    EXPECT_EQ(form->cboHost.text(), "prn");
    EXPECT_EQ(form->cboHost.listIndex(), -1);
    EXPECT_EQ(form->hostChanges, 3);
}

TEST_F(QtView, ScrollBarInputReachesTheModel) {
    auto* bar = widgetAs<QScrollBar>(form->hsbDarkness);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(form->hsbDarkness.value(), 5);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form->hsbDarkness.value(), 6);
    EXPECT_EQ(form->darknessChanges, 2);
}

TEST_F(QtView, UserFocusIsTheModelsFocus) {
    ui::windowOf(*form)->activateWindow();
    ui::widgetOf(form->cboSpeed)->setFocus();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), ui::widgetOf(form->cboSpeed));
    EXPECT_EQ(form->focused(), &form->cboSpeed);
    ui::widgetOf(form->txtName)->setFocus();
    EXPECT_EQ(form->focused(), &form->txtName);
}

TEST_F(QtView, ControlsMadeAfterLoadGetWidgets) {
    ui::ControlArray<ui::Label> lines(*form, "lblLine");
    auto& l = lines.add(1, "first");
    EXPECT_EQ(ui::widgetOf(l), nullptr);
    l.setCaption("added later");
    auto* w = widgetAs<QLabel>(l);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->text(), "added later");
    EXPECT_EQ(w->objectName(), "lblLine(1)");
}

// ---------------------------------------------------------------------------

class NestedForm : public ui::Form {
public:
    explicit NestedForm(ui::Application& app)
        : ui::Form(app, "frmNested", "Nested"),
          fraOuter(*this, "fraOuter", "Outer"),
          fraInner(*this, "fraInner", "Inner", -1, &fraOuter),
          chkIn(*this, "chkIn", "Inside", -1, &fraInner),
          cmdTest(*this, "cmdTest", "Test", -1, &fraOuter),
          picBoard(*this, "picBoard", "icon"),
          lblOnPicture(*this, "lblOnPicture", "On the picture", -1, &picBoard),
          cmdDone(*this, "cmdDone", "Done") {
        chkIn.onClick = [this] { ++clicks; };
        cmdTest.onClick = [this] { ++tests; };
    }
    ui::Frame fraOuter;
    ui::Frame fraInner;
    ui::CheckBox chkIn;
    ui::CommandButton cmdTest;
    ui::Picture picBoard;
    ui::Label lblOnPicture;
    ui::CommandButton cmdDone;
    int clicks = 0, tests = 0;
};

TEST(QtViewContainers, ControlsLiveInTheirContainersWidgets) {
    GuiWorld world;
    auto form = std::make_shared<NestedForm>(world.app);
    form->show();
    QWidget* outer = ui::widgetOf(form->fraOuter);
    QWidget* inner = ui::widgetOf(form->fraInner);
    EXPECT_EQ(inner->parentWidget(), outer);
    EXPECT_EQ(ui::widgetOf(form->chkIn)->parentWidget(), inner);
    // A button inside a frame stays in the frame, not in the button bar.
    EXPECT_EQ(ui::widgetOf(form->cmdTest)->parentWidget(), outer);
    QWidget* board = ui::widgetOf(form->picBoard);
    EXPECT_EQ(ui::widgetOf(form->lblOnPicture)->parentWidget(), board);
    auto* image = board->findChild<QLabel*>("image");
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->pixmap().isNull());
    EXPECT_EQ(ui::widgetOf(form->cmdDone)->parentWidget(), ui::qtView(*form)->page());

    // A disabled container disables what it holds, on the model and the widgets.
    form->fraOuter.setEnabled(false);
    EXPECT_FALSE(ui::widgetOf(form->chkIn)->isEnabled());
    widgetAs<QCheckBox>(form->chkIn)->click();
    widgetAs<QPushButton>(form->cmdTest)->click();
    EXPECT_EQ(form->clicks, 0);
    EXPECT_EQ(form->tests, 0);
    form->fraOuter.setEnabled(true);
    widgetAs<QCheckBox>(form->chkIn)->click();
    EXPECT_EQ(form->clicks, 1);

    const std::string dir = QUILL_SCREENS_DIR;
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(ui::grabToPng(*form, dir + "/nested.png"));
    form.reset();
    guitest::flushDeletes();
}

TEST(QtViewContainers, RemovedControlsLoseTheirWidgets) {
    GuiWorld world;
    auto form = std::make_shared<NestedForm>(world.app);
    form->show();
    QPointer<QWidget> w;
    {
        ui::ControlArray<ui::CheckBox> extra(*form, "chkExtra");
        auto& c = extra.add(0, "Extra");
        c.setValue(1);
        w = ui::widgetOf(c);
        ASSERT_FALSE(w.isNull());
    }
    EXPECT_TRUE(w->isHidden());
    guitest::flushDeletes();
    EXPECT_TRUE(w.isNull());
    form.reset();
    guitest::flushDeletes();
}

class DialogForm : public ui::Form {
public:
    explicit DialogForm(ui::Application& app)
        : ui::Form(app, "frmDialog", "Dialog"),
          txtValue(*this, "txtValue"),
          cmdOK(*this, "cmdOK", "OK"),
          cmdCancel(*this, "cmdCancel", "Cancel") {
        cmdOK.setDefault(true);
        cmdCancel.setCancel(true);
        txtValue.onKeyPress = [this](int& k) { keys.push_back(k); };
        cmdOK.onClick = [this] { ++oks; };
        cmdCancel.onClick = [this] { ++cancels; };
    }
    ui::TextBox txtValue;
    ui::CommandButton cmdOK;
    ui::CommandButton cmdCancel;
    int oks = 0, cancels = 0;
    std::vector<int> keys;
};

TEST(QtViewKeys, EnterAndEscapeReachDefaultAndCancelButtons) {
    GuiWorld world;
    auto form = std::make_shared<DialogForm>(world.app);
    form->show();
    auto* edit = widgetAs<QLineEdit>(form->txtValue);
    EXPECT_TRUE(widgetAs<QPushButton>(form->cmdOK)->isDefault());

    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(form->oks, 1);
    EXPECT_TRUE(form->keys.empty());  // the default button takes Enter

    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(form->cancels, 1);

    // Without a usable default button, Enter is the text box's key.
    form->cmdOK.setEnabled(false);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(form->oks, 1);
    EXPECT_EQ(form->keys, std::vector<int>{13});
    form.reset();
    guitest::flushDeletes();
}

// ---------------------------------------------------------------------------

class SelfUnloadForm : public ui::Form {
public:
    explicit SelfUnloadForm(ui::Application& app)
        : ui::Form(app, "frmSelf", "Self"),
          txtKey(*this, "txtKey"),
          cboList(*this, "cboList"),
          chkBox(*this, "chkBox", "Box"),
          cmdClose(*this, "cmdClose", "&Close") {
        cmdClose.onClick = [this] { gone(); };
        chkBox.onClick = [this] { gone(); };
        cboList.onDropDown = [this] { gone(); };
        txtKey.onKeyPress = [this](int&) { gone(); };
    }
    void gone() {
        unload();
        if (onGone) onGone();
    }
    ui::TextBox txtKey;
    ui::ComboBox cboList;
    ui::CheckBox chkBox;
    ui::CommandButton cmdClose;
    std::function<void()> onGone;
};

class QtSelfUnload : public ::testing::TestWithParam<int> {};

TEST_P(QtSelfUnload, HandlerThatUnloadsItsFormFromAQtSignal) {
    GuiWorld world;
    auto form = std::make_shared<SelfUnloadForm>(world.app);
    std::weak_ptr<SelfUnloadForm> weak = form;
    form->show();
    QPointer<QWidget> win = ui::windowOf(*form);
    QPointer<QWidget> target;
    // The handler also drops the last owner of the form.
    form->onGone = [&form] { form.reset(); };
    auto* self = form.get();
    switch (GetParam()) {
        case 0:
            target = ui::widgetOf(self->cmdClose);
            static_cast<QPushButton*>(target.data())->click();
            break;
        case 1:
            target = ui::widgetOf(self->chkBox);
            static_cast<QCheckBox*>(target.data())->click();
            break;
        case 2:
            target = ui::widgetOf(self->cboList);
            static_cast<QComboBox*>(target.data())->showPopup();
            break;
        case 3:
            target = ui::widgetOf(self->txtKey);
            QTest::keyClick(target.data(), Qt::Key_A);
            break;
        case 4:
            // The access key of the button.
            target = ui::widgetOf(self->cmdClose);
            win->activateWindow();
            QCoreApplication::processEvents();
            QTest::keyClick(win.data(), Qt::Key_C, Qt::AltModifier);
            break;
    }
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(world.app.ended());
    ASSERT_FALSE(win.isNull());  // deleted later, not inside its own signal
    EXPECT_FALSE(win->isVisible());
    guitest::flushDeletes();
    EXPECT_TRUE(win.isNull());
    EXPECT_TRUE(target.isNull());
}

INSTANTIATE_TEST_SUITE_P(Signals, QtSelfUnload, ::testing::Values(0, 1, 2, 3, 4));

// ---------------------------------------------------------------------------

class GuardedForm : public ui::Form {
public:
    explicit GuardedForm(ui::Application& app) : ui::Form(app, "frmGuarded", "Guarded"), lbl(*this, "lbl", "Stay") {}
    ui::Label lbl;
    int asked = 0;
    bool allow = false;
    int lastMode = -1;

protected:
    void Form_QueryUnload(int& cancel, int mode) override {
        ++asked;
        lastMode = mode;
        if (!allow) cancel = 1;
    }
};

TEST(QtViewClose, CloseButtonAsksTheModel) {
    GuiWorld world;
    auto form = std::make_shared<GuardedForm>(world.app);
    form->show();
    QPointer<QWidget> win = ui::windowOf(*form);
    win->close();
    EXPECT_EQ(form->asked, 1);
    EXPECT_EQ(form->lastMode, ui::UnloadByUser);
    EXPECT_TRUE(form->isLoaded());
    EXPECT_TRUE(win->isVisible());

    form->allow = true;
    win->close();
    EXPECT_EQ(form->asked, 2);
    EXPECT_FALSE(form->isLoaded());
    guitest::flushDeletes();
    EXPECT_TRUE(win.isNull());
}

TEST(QtViewScreens, ControlsFormRendersToPng) {
    GuiWorld world;
    auto form = std::make_shared<ControlsForm>(world.app);
    form->show();
    form->cboSpeed.setListIndex(2);
    form->chkDhcp.setValue(1);
    form->optDhcp.setValue(true);
    form->prgSend.setValue(60);
    form->txtName.setText("LBL-PRINTER-7");
    form->txtPassword.setText("secret");
    form->txtNotes.setBackColor(ui::GreyedColour);
    const std::string path = (guitest::screensDir() / "controls.png").string();
    ASSERT_TRUE(ui::grabToPng(*form, path));
    QImage img(QString::fromStdString(path));
    EXPECT_EQ(img.size(), ui::windowOf(*form)->size() * ui::windowOf(*form)->devicePixelRatio());
    form.reset();
    guitest::flushDeletes();
}

}  // namespace
