// Form windows among each other and on the screen: pages in place of the
// page before them, dialogs tied to their opener, message boxes centred on
// their page, the programs' icon, controls set in under an option, masked
// boxes, and pages that scroll on a small screen at double scale.

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Access.h"
#include "GuiWorld.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WEPkeyDlg.h"
#include "netcfg/pages/WPADlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "support/QuillonGuiWorld.h"
#include "ui/qt/QtControls.h"
#include "ui/qt/QtRuntime.h"
#include "ui/qt/QtServices.h"
#include "ui/qt/QtWindowBoard.h"
#include "ui/qt/QtWindows.h"

namespace {

using guitest::GuiWorld;
using guitest::widgetAs;

// A page of `lines` text rows and an OK button.
class PageForm : public ui::Form {
public:
    PageForm(ui::Application& app, std::string name, int lines)
        : ui::Form(app, name, name),
          lbl(*this, "lbl", std::string(static_cast<std::size_t>(lines - 1), '\n') + "end"),
          cmdOK(*this, "cmdOK", "OK") {}
    ui::Label lbl;
    ui::CommandButton cmdOK;
};

// The form windows on screen that a task bar lists: windows of their own.
int windowsOfTheirOwn() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowType() == Qt::Window) ++n;
    return n;
}

TEST(QtWindows, APageShownInPlaceOfAnotherTakesOverItsWindowInPlace) {
    GuiWorld world;
    auto first = std::make_shared<PageForm>(world.app, "frmFirst", 3);
    auto second = std::make_shared<PageForm>(world.app, "frmSecond", 12);
    first->show();
    QWidget* win = ui::windowOf(*first);
    win->move(win->screen()->availableGeometry().topLeft() + QPoint(8, 12));
    const QPoint place = win->pos();
    const int firstHeight = win->height();
    for (int walk = 0; walk < 2; ++walk) {
        // Next: this page hides, then the next one shows.
        first->hide();
        second->show();
        EXPECT_EQ(ui::windowOf(*second), win) << walk;
        EXPECT_EQ(win->windowTitle(), "frmSecond") << walk;
        EXPECT_GT(win->height(), firstHeight) << walk;
        // Back: the page before shows, then this one hides.
        first->show();
        second->hide();
        EXPECT_EQ(ui::windowOf(*first), win) << walk;
        EXPECT_EQ(win->windowTitle(), "frmFirst") << walk;
        EXPECT_TRUE(win->isVisible()) << walk;
        EXPECT_EQ(win->pos(), place) << walk;
        EXPECT_EQ(win->windowType(), Qt::Window) << walk;
        EXPECT_EQ(win->windowHandle()->transientParent(), nullptr) << walk;
        EXPECT_EQ(windowsOfTheirOwn(), 1) << walk;
    }
    first.reset();
    second.reset();
    guitest::flushDeletes();
}

// A page of a few lines whose timer polls, as a page that brings the next
// one on a tick.
class PolledForm : public PageForm {
public:
    PolledForm(ui::Application& app, std::string name) : PageForm(app, std::move(name), 3) {}
    ui::Timer poll{*this, "poll", 500};
};

// A page that goes before the next one comes (a page polled back by its
// timer) leaves the wizard window on screen, greyed, while a forms timer may
// bring the next page or a box is open; then it hides, to come back for the
// next page. A page shown again meanwhile is no longer greyed.
TEST(QtWindows, AWizardWindowLeftWithoutAPageWaitsWhileATimerMayBringTheNextOne) {
    GuiWorld world;
    auto first = std::make_shared<PageForm>(world.app, "frmFirst", 3);
    auto second = std::make_shared<PolledForm>(world.app, "frmSecond");
    first->show();
    second->load();
    QPointer<QWidget> win = ui::windowOf(*first);
    QWidget* firstOK = ui::widgetOf(first->cmdOK);
    first->hide();
    guitest::idle();
    EXPECT_TRUE(win->isVisible());
    EXPECT_FALSE(firstOK->isEnabled());
    first->show();
    EXPECT_EQ(ui::windowOf(*first), win);
    EXPECT_TRUE(firstOK->isEnabled());

    first->unload();
    guitest::idle();
    EXPECT_TRUE(win->isVisible());
    {
        ui::OpenBox box;
        second->poll.setEnabled(false);
        guitest::idle();
        EXPECT_TRUE(win->isVisible());
    }
    QCoreApplication::processEvents();
    guitest::idle();
    ASSERT_FALSE(win.isNull());
    EXPECT_FALSE(win->isVisible());
    second->show();
    EXPECT_EQ(ui::windowOf(*second), win);
    EXPECT_TRUE(win->isVisible());
    EXPECT_TRUE(ui::widgetOf(second->cmdOK)->isEnabled());
    EXPECT_EQ(windowsOfTheirOwn(), 1);
    second.reset();  // the last form: its window goes at once
    EXPECT_EQ(windowsOfTheirOwn(), 0);
    guitest::flushDeletes();
}

// The page under a dialog goes and the dialog's page stays (a welcome page
// unloaded under the page after it): the wizard window takes that page in.
TEST(QtWindows, AWizardWindowTakesInThePageOfADialogLeftOverIt) {
    GuiWorld world;
    auto page = std::make_shared<PageForm>(world.app, "frmPage", 3);
    auto over = std::make_shared<PageForm>(world.app, "frmOver", 5);
    page->show();
    QWidget* win = ui::windowOf(*page);
    over->show();
    ASSERT_EQ(ui::windowOf(*over)->windowType(), Qt::Dialog);
    page->unload();
    QCoreApplication::processEvents();
    EXPECT_EQ(ui::windowOf(*over), win);
    EXPECT_EQ(win->windowTitle(), "frmOver");
    EXPECT_EQ(windowsOfTheirOwn(), 1);
    int dialogs = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) dialogs += w->isVisible() && w->windowType() == Qt::Dialog;
    EXPECT_EQ(dialogs, 0);
    over.reset();
    guitest::flushDeletes();
}

// While a box is open the windows stay as they are; the page changes made
// meanwhile take effect once it is gone.
TEST(QtWindows, PageChangesUnderAnOpenBoxWaitForItToClose) {
    GuiWorld world;
    auto first = std::make_shared<PageForm>(world.app, "frmFirst", 3);
    auto second = std::make_shared<PageForm>(world.app, "frmSecond", 5);
    first->show();
    QWidget* win = ui::windowOf(*first);
    {
        ui::OpenBox box;
        first->hide();
        second->show();
        QCoreApplication::processEvents();
        EXPECT_EQ(win->windowTitle(), "frmFirst");
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(win->windowTitle(), "frmSecond");
    EXPECT_TRUE(win->isVisible());
    first.reset();
    second.reset();
    guitest::flushDeletes();
}

// A dialog page goes, the next page takes the wizard window and a box opens,
// all in one step: the box goes over the next page. Had the user moved the
// dialog page, the next page opens where the user put it.
TEST(QtWindows, ThePageAfterADialogPageHasTheBoxOfItsStepAndTheDialogsPlace) {
    GuiWorld world;
    for (const bool moved : {false, true}) {
        auto welcome = std::make_shared<PageForm>(world.app, "frmWelcome", 3);
        auto choice = std::make_shared<PageForm>(world.app, "frmChoice", 2);
        auto next = std::make_shared<PageForm>(world.app, "frmNext", 4);
        welcome->show();
        QWidget* wizard = ui::windowOf(*welcome);
        const QPoint stood = wizard->geometry().topLeft();
        choice->show();
        QWidget* dialog = ui::windowOf(*choice);
        ASSERT_NE(dialog, wizard);
        if (moved) dialog->move(dialog->pos() + QPoint(-30, 20));
        const QPoint userPlace = dialog->geometry().topLeft();
        QWidget* boxOver = nullptr;
        guitest::whenReady([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
                           [&] {
                               auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                               boxOver = b->parentWidget();
                               b->button(QMessageBox::Ok)->click();
                           });
        welcome->unload();
        choice->hide();
        next->show();
        ui::QtMessageBox messages;
        messages.show({"Notice", ui::Buttons::OK, ui::Icon::Information, 1, "T"});
        EXPECT_EQ(boxOver, wizard) << moved;
        EXPECT_EQ(ui::windowOf(*next), wizard) << moved;
        QCoreApplication::processEvents();
        EXPECT_EQ(wizard->geometry().topLeft(), moved ? userPlace : stood) << moved;
        EXPECT_EQ(windowsOfTheirOwn(), 1) << moved;
        choice.reset();
        next.reset();
        guitest::flushDeletes();
    }
}

TEST(QtWindows, DialogsBelongToTheirOpenerAndMessageBoxesAreCentredOnTheirPage) {
    GuiWorld world;
    auto page = std::make_shared<PageForm>(world.app, "frmPage", 12);
    page->show();
    QWidget* pageWin = ui::windowOf(*page);
    pageWin->move(pageWin->screen()->availableGeometry().topLeft() + QPoint(16, 10));
    auto dialog = std::make_shared<PageForm>(world.app, "frmDialog", 2);
    dialog->show();  // the page stays
    QCoreApplication::processEvents();
    QWidget* dialogWin = ui::windowOf(*dialog);
    EXPECT_EQ(dialogWin->windowType(), Qt::Dialog);
    EXPECT_EQ(dialogWin->windowHandle()->transientParent(), pageWin->windowHandle());
    EXPECT_EQ(guitest::accessibleRole(dialogWin), QAccessible::Dialog);
    EXPECT_EQ(guitest::accessibleRole(pageWin), QAccessible::Window);
    EXPECT_LE((dialogWin->geometry().center() - pageWin->geometry().center()).manhattanLength(), 1);
    EXPECT_EQ(windowsOfTheirOwn(), 1);

    dialog->hide();
    QRect box;
    guitest::whenReady([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
                       [&] {
                           auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                           box = b->geometry();
                           b->button(QMessageBox::Ok)->click();
                       });
    ui::QtMessageBox messages;
    messages.show(
        {"A message box with a few words and\r\na second line", ui::Buttons::OK, ui::Icon::Information, 1, "Notice"});
    EXPECT_LE((box.center() - pageWin->geometry().center()).manhattanLength(), 1);
    dialog.reset();
    page.reset();
    guitest::flushDeletes();
}

TEST(QtWindows, TheProgramsHaveAnIconAndASystemWindowCentredOnTheScreen) {
    GuiWorld world;
    ui::QtRuntime run(world.messages, world.files);
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_TRUE(QApplication::windowIcon().availableSizes().contains(QSize(32, 32)));

    QWidget system;
    system.resize(300, 200);
    ui::centreOnScreen(&system);
    const QRect free = system.screen()->availableGeometry();
    EXPECT_LE((system.geometry().center() - free.center()).manhattanLength(), 1);
    // One bigger than the screen fits it, title bar and all.
    system.resize(4000, 4000);
    ui::centreOnScreen(&system);
    EXPECT_LE(system.height(), free.height() - ui::frameAllowance(system.screen()).height());
    EXPECT_GE(system.y(), free.top() + ui::frameAllowance(system.screen()).height() / 2);
}

// A wizard window keeps its top-left while its page fits below it; a taller
// page moves it up just enough to show whole; only a page taller than the
// screen scrolls, with the window at the screen's top.
TEST(QtWindows, ATallerPageMovesTheWizardWindowUpJustEnough) {
    GuiWorld world;
    auto small = std::make_shared<PageForm>(world.app, "frmSmall", 3);
    small->show();
    QWidget* win = ui::windowOf(*small);
    const QRect free = win->screen()->availableGeometry();
    const int line = QFontMetrics(win->font()).lineSpacing();
    const int room = free.height() - ui::frameAllowance(win->screen()).height();
    auto taller = std::make_shared<PageForm>(world.app, "frmTaller", room / line - 8);
    auto tallest = std::make_shared<PageForm>(world.app, "frmTallest", 2 * room / line);
    win->move(win->x(), free.bottom() - win->height() - 40);
    const int left = win->x();
    auto scrolls = [](ui::Form& page) {
        return ui::windowOf(page)->findChild<QScrollArea*>()->verticalScrollBar()->maximum() > 0;
    };
    small->hide();
    taller->show();
    ASSERT_EQ(ui::windowOf(*taller), win);
    QCoreApplication::processEvents();
    EXPECT_FALSE(scrolls(*taller));
    EXPECT_LE(win->geometry().bottom(), free.bottom());
    EXPECT_GT(win->geometry().bottom(), free.bottom() - ui::frameAllowance(win->screen()).height());
    EXPECT_EQ(win->x(), left);
    taller->hide();
    tallest->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(scrolls(*tallest));
    EXPECT_GE(win->y(), free.top());
    EXPECT_LE(win->y(), free.top() + ui::frameAllowance(win->screen()).height());
    small.reset();
    taller.reset();
    tallest.reset();
    guitest::flushDeletes();
}

// ---------------------------------------------------------------------------

struct QuillonWindows : ::testing::Test, testsupport::QuillonGuiWorld {
    // A control's left edge in its window.
    static int left(const ui::Control& c) {
        QWidget* w = ui::widgetOf(c);
        return w->mapTo(w->window(), QPoint(0, 0)).x();
    }
};

TEST_F(QuillonWindows, ControlsSetInUnderTheirOptionStartAtItsCaption) {
    processes.failStarts = true;  // no port lister: the port page offers its default
    auto& ports = module->PortSelectForm();
    auto& wired = module->WiredDlgForm();
    auto& security = module->EncryptQuestionDlgForm();
    auto& network = module->NetworkDlgForm();
    struct Indent {
        ui::Control* under;
        std::vector<ui::Control*> controls;
    };
    const Indent indents[] = {{&ports.PortTCP, {&ports.IPAddrLabel}},
                              {&wired.useAutoIP, {&wired.BootP, &wired.DHCP}},
                              {&security.click[2], {&security.WPA, &security.EAP}},
                              {&network.Label2[5], {&network.Label3[0], &network.Label3[1]}}};
    for (const Indent& indent : indents) {
        indent.under->form().show();
        auto* option = qobject_cast<QAbstractButton*>(ui::widgetOf(*indent.under));
        for (const ui::Control* c : indent.controls) {
            if (option)
                EXPECT_EQ(left(*c), left(*indent.under) + ui::captionOffset(option)) << c->name();
            else
                EXPECT_GT(left(*c), left(*indent.under) + 10) << c->name();
        }
        indent.under->form().hide();
    }
    // Their neighbours in the rows stay lined up with the rows around them.
    EXPECT_EQ(left(network.Packet), left(network.Combo1[5]));
    EXPECT_EQ(left(ports.IPAddr), left(ports.LPTCombo));
}

TEST_F(QuillonWindows, MaskedBoxesShowAStarForEachCharacter) {
    auto& wpa = module->WPADlgForm();
    wpa.show();
    auto* phrase = widgetAs<QLineEdit>(wpa.PassPhrase);
    QTest::keyClicks(phrase, "harbour");
    EXPECT_EQ(wpa.PassPhrase.text(), "harbour");
    EXPECT_EQ(phrase->displayText(), "*******");
}

// Only in the run with QT_SCALE_FACTOR=2 on a 1280x800 screen (ctest's
// DoubleScale runs); the ordinary run does not list it.
TEST_F(QuillonWindows, AtDoubleScaleLongPagesScrollAboveTheirButtonRow) {
    EXPECT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 640, 400));
    // A page whose contents fit the screen shows them whole, with no scroll
    // bar and no Tab stop for its scroll area.
    auto& choice = module->QuestionDlgForm();
    choice.show();
    auto* fits = ui::windowOf(choice)->findChild<QScrollArea*>();
    EXPECT_EQ(fits->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(fits->focusPolicy(), Qt::NoFocus);
    choice.hide();
    for (auto& c : module->WirelessQuestionDlgForm().check) c.setValue(1);
    module->WirelessDlgForm().SetDefaultState();
    auto& keys = module->WEPkeyDlgForm();
    ui::Form* pages[] = {&module->WirelessQuestionDlgForm(), &module->WirelessDlgForm(), &keys};
    for (ui::Form* page : pages) {
        page->show();
        QWidget* win = ui::windowOf(*page);
        auto* scroller = win->findChild<QScrollArea*>();
        ASSERT_NE(scroller, nullptr) << page->name();
        EXPECT_GT(scroller->verticalScrollBar()->maximum(), 0) << page->name();
        EXPECT_EQ(scroller->horizontalScrollBar()->maximum(), 0) << page->name();
        page->hide();
    }
    // The last row comes into sight when it takes the focus.
    keys.show();
    QCoreApplication::processEvents();  // the window becomes the active one
    QWidget* last = ui::widgetOf(keys.ConfirmTxt[3]);
    last->setFocus();
    auto* scroller = ui::windowOf(keys)->findChild<QScrollArea*>();
    const QRect seen(last->mapTo(scroller->viewport(), QPoint(0, 0)), last->size());
    EXPECT_TRUE(scroller->viewport()->rect().contains(seen));
    // Its Next button is in sight.
    QWidget* next = ui::widgetOf(keys.Next);
    EXPECT_TRUE(QRect(QPoint(0, 0), ui::windowOf(keys)->size()).contains(next->geometry()));
    // The scroll area takes the focus, and Page Down brings on the texts
    // that no control leads to.
    EXPECT_EQ(scroller->focusPolicy(), Qt::StrongFocus);
    scroller->verticalScrollBar()->setValue(0);
    QTest::keyClick(scroller, Qt::Key_PageDown);
    EXPECT_GT(scroller->verticalScrollBar()->value(), 0);
}

// Measured once the box has taken every layout request, in the screen's
// own pixels: the box is as wide as its longest line and shows each line whole.
TEST(QtWindows, AtDoubleScaleMessageBoxesKeepTheirLinesWhole) {
    const char* const texts[] = {
        "You selected an European country code but didn't enable International Mode.\r\nDo you want to continue?",
        "Invalid IP Address format. Segment value must be between 1 and 254\r\nPlease enter a valid IP Address",
    };
    for (const char* text : texts) {
        GuiWorld world;
        qreal longest = 0, shown = 0;
        int lines = 0;
        guitest::whenReady([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
                           [&] {
                               auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                               QCoreApplication::sendPostedEvents();
                               auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                               const qreal ratio = box->devicePixelRatioF();
                               const QFontMetricsF metrics(label->font());
                               for (const QString& line : label->text().split(QChar('\n')))
                                   longest = std::max(longest, std::ceil(metrics.horizontalAdvance(line) * ratio));
                               shown = label->contentsRect().width() * ratio;
                               lines = qRound(label->height() / metrics.lineSpacing());
                               box->defaultButton()->click();
                           });
        ui::QtMessageBox messages;
        messages.show({text, ui::Buttons::YesNo, ui::Icon::Exclamation, 1, "Warning"});
        EXPECT_GE(shown, longest) << text;
        EXPECT_EQ(lines, 2) << text;
    }
}

}  // namespace
