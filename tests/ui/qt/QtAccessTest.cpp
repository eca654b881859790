// What every page needs of the renderer: access keys, Tab order, names for
// assistive technology, heading fonts, grids whose columns line up, windows
// placed over their opener, and pictures of hidden forms.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GuiWorld.h"
#include "Screens.h"
#include "ui/Form.h"
#include "ui/qt/QtServices.h"

namespace {

using guitest::GuiWorld;
using guitest::widgetAs;

class SettingsForm : public ui::Form {
public:
    explicit SettingsForm(ui::Application& app)
        : ui::Form(app, "frmSettings", "Settings"),
          lblHeading(*this, "lblHeading", "Network Settings"),
          txtFirst(*this, "txtFirst"),
          txtSecond(*this, "txtSecond"),
          lblName(*this, "lblName", "&Printer name:"),
          txtName(*this, "txtName"),
          cmdHelp1(*this, "cmdHelp1", "What is this?"),
          lblPort(*this, "lblPort", "P&ort:"),
          cboPort(*this, "cboPort"),
          cmdHelp2(*this, "cmdHelp2", "What is this?"),
          lblLongCaption(*this, "lblLongCaption", "Subnet mask of the card:"),
          txtMask(*this, "txtMask"),
          lblPlain(*this, "lblPlain", "Tom && Jerry &quoted"),
          chkKeep(*this, "chkKeep", "&Keep settings"),
          cmdBack(*this, "cmdBack", "< &Back"),
          cmdNext(*this, "cmdNext", "&Next >"),
          txtNotes(*this, "txtNotes") {
        txtNotes.setMultiLine(true);
        lblHeading.setFont(ui::HeadingFont);
        lblName.setBuddy(&txtName);
        lblPort.setBuddy(&cboPort);
        lblLongCaption.setBuddy(&txtMask);
        // Declared first, built second: Tab still follows the declaration.
        layoutRow({&txtSecond, &txtFirst});
        layoutGrid(
            {{&lblName, &txtName, &cmdHelp1}, {&lblPort, &cboPort, &cmdHelp2}, {&lblLongCaption, &txtMask, nullptr}});
        cboPort.addItem("LPT1:");
        for (ui::CommandButton* help : {&cmdHelp1, &cmdHelp2})
            help->setToolTip("Shows a brief description of this option.");
        cmdNext.setDefault(true);
        cmdHelp1.onClick = [this] { ++helps; };
        cmdNext.onClick = [this] { ++nexts; };
        cmdBack.onClick = [this] { ++backs; };
    }
    ui::Label lblHeading;
    ui::TextBox txtFirst;
    ui::TextBox txtSecond;
    ui::Label lblName;
    ui::TextBox txtName;
    ui::CommandButton cmdHelp1;
    ui::Label lblPort;
    ui::ComboBox cboPort;
    ui::CommandButton cmdHelp2;
    ui::Label lblLongCaption;
    ui::TextBox txtMask;
    ui::Label lblPlain;
    ui::CheckBox chkKeep;
    ui::CommandButton cmdBack;
    ui::CommandButton cmdNext;
    ui::TextBox txtNotes;
    int helps = 0, nexts = 0, backs = 0;
};

class SmallForm : public ui::Form {
public:
    SmallForm(ui::Application& app, std::string name)
        : ui::Form(app, std::move(name), "Small"), lbl(*this, "lbl", "A small page"), cmdOK(*this, "cmdOK", "OK") {}
    ui::Label lbl;
    ui::CommandButton cmdOK;
};

class QtAccess : public ::testing::Test {
protected:
    void SetUp() override {
        world = std::make_unique<GuiWorld>();
        form = std::make_shared<SettingsForm>(world->app);
        form->show();
        win = ui::windowOf(*form);
        win->activateWindow();
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        form.reset();
        world.reset();
        guitest::flushDeletes();
    }
    std::unique_ptr<GuiWorld> world;
    std::shared_ptr<SettingsForm> form;
    QWidget* win = nullptr;
};

TEST_F(QtAccess, AccessKeysClickButtonsAndLabelsFocusTheirBuddy) {
    ASSERT_EQ(QApplication::activeWindow(), win);
    // Buttons and check boxes: the click reaches the model at once.
    QTest::keyClick(win, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(form->nexts, 1);
    QTest::keyClick(win, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(form->backs, 1);
    QTest::keyClick(win, Qt::Key_K, Qt::AltModifier);
    EXPECT_EQ(form->chkKeep.value(), 1);
    EXPECT_EQ(QApplication::focusWidget(), ui::widgetOf(form->chkKeep));
    // Labels move the focus to the control they name.
    const std::pair<Qt::Key, ui::Control*> labels[] = {{Qt::Key_P, &form->txtName}, {Qt::Key_O, &form->cboPort}};
    for (const auto& [key, target] : labels) {
        QTest::keyClick(win, key, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), ui::widgetOf(*target)) << target->name();
        EXPECT_EQ(form->focused(), target) << target->name();
    }
    // The model keeps captions as given; a label without buddy shows no marks.
    EXPECT_EQ(form->lblName.caption(), "&Printer name:");
    EXPECT_EQ(widgetAs<QLabel>(form->lblName)->buddy(), ui::widgetOf(form->txtName));
    EXPECT_EQ(widgetAs<QLabel>(form->lblPlain)->text(), "Tom & Jerry quoted");
}

TEST_F(QtAccess, TabFollowsTheOrderOfTheControls) {
    ui::widgetOf(form->txtFirst)->setFocus();
    std::vector<std::string> order;
    for (int i = 0; i < 9; ++i) {
        order.push_back(form->focused() ? form->focused()->name() : "?");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"txtFirst", "txtSecond", "txtName", "cmdHelp1", "cboPort", "cmdHelp2",
                                               "txtMask", "chkKeep", "cmdBack"}));
    EXPECT_EQ(form->focused(), &form->cmdNext);
    // Enter still goes to the default button.
    QTest::keyClick(ui::widgetOf(form->txtName), Qt::Key_Return);
    EXPECT_EQ(form->nexts, 1);
}

TEST_F(QtAccess, EnterPressesTheFocusedButtonElseTheDefaultOne) {
    form->cboPort.setStyle(ui::ComboBox::Style::DropDownCombo);
    struct Case {
        ui::Control& focus;
        int nexts, backs, helps;
        const char* notes;  // the multi-line box's text after the key
    };
    const Case cases[] = {
        {form->txtName, 1, 0, 0, ""},      {form->cboPort, 1, 0, 0, ""},  {form->chkKeep, 1, 0, 0, ""},
        {form->cmdBack, 0, 1, 0, ""},      {form->cmdHelp1, 0, 0, 1, ""}, {form->cmdNext, 1, 0, 0, ""},
        {form->txtNotes, 0, 0, 0, "\r\n"},
    };
    for (const Case& c : cases) {
        form->nexts = form->backs = form->helps = 0;
        form->txtNotes.setText("");
        ui::widgetOf(c.focus)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(form->nexts, c.nexts) << c.focus.name();
        EXPECT_EQ(form->backs, c.backs) << c.focus.name();
        EXPECT_EQ(form->helps, c.helps) << c.focus.name();
        EXPECT_EQ(form->txtNotes.text(), c.notes) << c.focus.name();
    }
    // Shown again, the form has the focus at its first input, not where it was left.
    form->hide();
    form->show();
    EXPECT_EQ(win->focusWidget(), ui::widgetOf(form->txtFirst));
    EXPECT_EQ(form->focused(), &form->txtFirst);
}

TEST_F(QtAccess, InputsAreNamedByTheirLabels) {
    QAccessibleInterface* name = QAccessible::queryAccessibleInterface(ui::widgetOf(form->txtName));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(QAccessible::Name), "Printer name");
    // A list shows its row as its name; the label is its labelling relation.
    QAccessibleInterface* port = QAccessible::queryAccessibleInterface(ui::widgetOf(form->cboPort));
    ASSERT_NE(port, nullptr);
    bool labelled = false;
    for (const auto& [other, relation] : port->relations(QAccessible::Label))
        labelled = labelled || other->object() == ui::widgetOf(form->lblPort);
    EXPECT_TRUE(labelled);
    form->txtName.setToolTip("The printer's name");
    EXPECT_EQ(ui::widgetOf(form->txtName)->toolTip(), "The printer's name");
}

TEST_F(QtAccess, HeadingsAreBoldTwelvePoint) {
    const QFont heading = ui::widgetOf(form->lblHeading)->font();
    EXPECT_TRUE(heading.bold());
    EXPECT_EQ(heading.pointSize(), 12);
    const QFont plain = ui::widgetOf(form->lblName)->font();
    EXPECT_FALSE(plain.bold());
    EXPECT_EQ(plain.pointSize(), QApplication::font().pointSize());
    form->lblHeading.setFont({});
    EXPECT_FALSE(ui::widgetOf(form->lblHeading)->font().bold());
}

TEST_F(QtAccess, GridColumnsLineUp) {
    auto left = [](const ui::Control& c) { return ui::widgetOf(c)->geometry().left(); };
    // Captions, inputs and help buttons each start at one x.
    EXPECT_EQ(left(form->lblName), left(form->lblPort));
    EXPECT_EQ(left(form->lblName), left(form->lblLongCaption));
    EXPECT_EQ(left(form->txtName), left(form->cboPort));
    EXPECT_EQ(left(form->txtName), left(form->txtMask));
    EXPECT_EQ(left(form->cmdHelp1), left(form->cmdHelp2));
    EXPECT_GT(left(form->txtName), ui::widgetOf(form->lblLongCaption)->geometry().right());
    // Inputs stretch up to the help buttons, which sit on the right.
    EXPECT_GT(left(form->cmdHelp1), ui::widgetOf(form->txtName)->geometry().right());
    EXPECT_EQ(ui::widgetOf(form->txtName)->width(), ui::widgetOf(form->txtMask)->width());
    EXPECT_GT(ui::widgetOf(form->cmdHelp1)->geometry().right(), win->width() - 40);
    // Rows sit one below the other, each caption level with its input.
    const QRect name = ui::widgetOf(form->txtName)->geometry(), port = ui::widgetOf(form->cboPort)->geometry();
    EXPECT_LT(name.bottom(), port.top());
    EXPECT_LT(qAbs(ui::widgetOf(form->lblPort)->geometry().center().y() - port.center().y()), 4);
    // The grid stands where its first control stands: after the row above it.
    EXPECT_GT(name.top(), ui::widgetOf(form->txtFirst)->geometry().bottom());
}

TEST_F(QtAccess, TypedCharactersTheModelRefusesDoNotShow) {
    form->txtName.setCharFilter([](const std::string& ch) { return ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9'; });
    form->txtName.setMaxLength(4);
    auto* edit = widgetAs<QLineEdit>(form->txtName);
    QTest::keyClicks(edit, "1a2b345");
    EXPECT_EQ(form->txtName.text(), "1234");
    EXPECT_EQ(edit->text(), "1234");
    // Typing in the middle keeps the cursor there when the key is refused.
    edit->setCursorPosition(2);
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(edit->text(), "1234");
    EXPECT_EQ(edit->cursorPosition(), 2);
}

// The failures the shared page check reports, caught rather than failing the test.
std::string accessFailures(ui::Form& form) {
    ::testing::TestPartResultArray results;
    {
        ::testing::ScopedFakeTestPartResultReporter catcher(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        guitest::expectAccessible(form);
    }
    std::string all;
    for (int i = 0; i < results.size(); ++i) all += results.GetTestPartResult(i).message();
    return all;
}

TEST_F(QtAccess, TheSharedCheckFindsAPageWithoutFocusOrAControlOutOfTheTabOrder) {
    EXPECT_EQ(accessFailures(*form), "");
    QWidget* mask = ui::widgetOf(form->txtMask);
    QWidget* parent = mask->parentWidget();
    {
        QWidget elsewhere;  // the last input of the grid leaves the window's focus chain
        mask->setParent(&elsewhere);
        EXPECT_NE(accessFailures(*form).find("txtMask is not in the Tab order"), std::string::npos);
        mask->setParent(parent);
    }
    EXPECT_EQ(accessFailures(*form), "");
    win->focusWidget()->clearFocus();
    EXPECT_NE(accessFailures(*form).find("frmSettings has no focus"), std::string::npos);
}

// ---------------------------------------------------------------------------

QPoint centre(QWidget* w) { return w->geometry().center(); }

TEST(QtPlacement, WindowsOpenOverTheirOpenerAndTheNextPageWhereTheLastOneWas) {
    GuiWorld world;
    auto opener = std::make_shared<SettingsForm>(world.app);
    opener->show();
    QWidget* openerWin = ui::windowOf(*opener);
    openerWin->move(40, 30);
    openerWin->activateWindow();
    QCoreApplication::processEvents();

    // A dialog: centred over its opener, which is its transient parent.
    auto dialog = std::make_shared<SmallForm>(world.app, "frmDialog");
    dialog->show();
    QWidget* dialogWin = ui::windowOf(*dialog);
    EXPECT_LE((centre(dialogWin) - centre(openerWin)).manhattanLength(), 2);
    EXPECT_EQ(dialogWin->windowHandle()->transientParent(), openerWin->windowHandle());

    // A message box over the window the user works in.
    QWidget* boxParent = nullptr;
    QPoint boxCentre;
    guitest::whenReady([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
                       [&] {
                           auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                           boxParent = box->parentWidget();
                           boxCentre = box->geometry().center();
                           box->button(QMessageBox::Ok)->click();
                       });
    ui::QtMessageBox messages;
    messages.show({"Notice", ui::Buttons::OK, ui::Icon::Information, 1, "T"});
    EXPECT_EQ(boxParent, dialogWin);
    EXPECT_LE((boxCentre - centre(dialogWin)).manhattanLength(), 40);

    // The next page of a wizard comes up as the page before it is hidden.
    dialogWin->move(120, 90);
    const QRect before = dialogWin->geometry();
    auto next = std::make_shared<SettingsForm>(world.app);
    dialog->hide();
    next->show();
    QWidget* nextWin = ui::windowOf(*next);
    EXPECT_EQ(nextWin->geometry().top(), before.top());
    EXPECT_LE(qAbs(nextWin->geometry().center().x() - before.center().x()), 1);

    dialog.reset();
    next.reset();
    opener.reset();
    guitest::flushDeletes();
}

// ---------------------------------------------------------------------------

TEST(QtScreens, HiddenFormsAreLaidOutAndRendered) {
    GuiWorld world;
    auto form = std::make_shared<SettingsForm>(world.app);
    form->load();  // never shown
    const auto path = guitest::saveScreen(*form, "renderer/settings-never-shown");
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(path.parent_path().filename(), "renderer");
    QImage img(QString::fromStdString(path.string()));
    EXPECT_GE(img.width(), 480);
    EXPECT_GT(ui::widgetOf(form->txtName)->width(), 40);
    EXPECT_GT(ui::widgetOf(form->cmdNext)->geometry().top(), ui::widgetOf(form->txtMask)->geometry().bottom());
    // Shown and hidden again: still rendered.
    form->show();
    form->hide();
    EXPECT_FALSE(guitest::saveScreen(*form, "renderer/settings-hidden").empty());
    form.reset();
    guitest::flushDeletes();
}

}  // namespace
