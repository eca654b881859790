// Both wizards under a real window manager: Xvfb with openbox (or the
// manager QUILL_WINDOW_MANAGER names: xfwm4, metacity), walked page by page
// with real mouse clicks and keys, on the real clock. From each click on, a
// thread reads the X server every few milliseconds: at no reading is no
// window of the program on screen, or one the step does not expect (its one
// wizard window, the same X window from the first page to the last; the
// dialogs the step opens; the one it closes, until the next page shows). The
// wizard window stands where it stood, a dialog centred over it from its first
// reading on; then the windows hold still. The window that opened a box, a
// file chooser or a dialog has the keyboard back once that goes, and a modal
// dialog keeps it when the user clicks the window it blocks.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "foundation/KAEIntro.h"
#include "netcfg/core/Dialog.h"
#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/LoadDlg.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WEPDlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "platform/cups/CupsSpooler.h"
#include "printercfg/core/Dialog.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "printercfg/pages/SelectDlg.h"
#include "printercfg/pages/Selection.h"
#include "support/CupsServer.h"
#include "support/MarrowbyGuiWorld.h"
#include "support/QuillonGuiWorld.h"
#include "support/XDisplay.h"
#include "ui/qt/QtServices.h"
#include "ui/qt/QtView.h"

namespace {

testsupport::XDisplay* display = nullptr;  // made by main, before the QApplication

using XWindow = testsupport::XDisplay::Window;

// How long the windows must hold still after a step, how long a step may take
// to show, and how often the X server is read meanwhile.
constexpr auto Hold = std::chrono::milliseconds(500);
constexpr auto Limit = std::chrono::seconds(10);
constexpr auto Reading = std::chrono::milliseconds(5);

constexpr std::uint32_t KeyEscape = 0xff1b;

// Lets real time pass in Qt's event loop, so that the program, the X server
// and the window manager act meanwhile.
void letTheServersAct(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The windows of this program on screen, bottom of the stack first.
std::vector<XWindow> ours() {
    std::vector<XWindow> out;
    for (XWindow& w : display->windows())
        if (w.pid == ::getpid()) out.push_back(std::move(w));
    return out;
}

std::string listed(const std::vector<XWindow>& windows) {
    std::ostringstream out;
    for (const auto& w : windows) out << " \"" << w.title << "\" #" << w.id << " at " << w.x << "," << w.y;
    return windows.empty() ? " nothing" : out.str();
}

QPoint centre(const XWindow& w) { return {w.x + w.width / 2, w.y + w.height / 2}; }

// Sees the release of a mouse button on a widget.
struct Released : QObject {
    bool seen = false;
    bool eventFilter(QObject*, QEvent* e) override {
        seen = seen || e->type() == QEvent::MouseButtonRelease;
        return false;
    }
};

// What a step shows: the wizard window with its page's title, and the
// dialogs over it.
struct Screen {
    std::string wizard;
    std::vector<std::string> dialogs = {};
};

// A walk through a wizard's pages, one step at a time.
class Walk {
public:
    // A real click in the middle of a control; returns once the control got it.
    void click(const ui::Control& c) {
        if (broken_) return;
        QPointer<QWidget> w = ui::widgetOf(c);
        if (!w || !w->isVisible()) {
            fail(c.name() + " is not on screen");
            return;
        }
        // Scrolled into sight first, as a user would.
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (auto* area = qobject_cast<QScrollArea*>(p)) area->ensureWidgetVisible(w, 0, 0);
        Released released;
        w->installEventFilter(&released);
        // An option or check box on its indicator, anything else in its middle.
        const bool ticked = qobject_cast<QAbstractButton*>(w) && static_cast<QAbstractButton*>(w.data())->isCheckable();
        const QPoint at = onRoot(w, ticked ? QPoint(std::min(8, w->width() / 2), w->height() / 2) : w->rect().center());
        display->click(at.x(), at.y());
        const auto deadline = std::chrono::steady_clock::now() + Limit;
        while (!released.seen && std::chrono::steady_clock::now() < deadline) letTheServersAct(10);
        if (w) w->removeEventFilter(&released);
        if (!released.seen) fail("the click missed " + c.name());
    }

    // Runs `act` (a click, a key) and waits until `form` is on screen as
    // `screen` says, with the wizard window at `at` (where it stood when
    // not given; on the first page, centred on the screen). Every reading of
    // the X server from before `act` on must show only windows the step
    // expects, each where it belongs; then the windows hold still.
    void step(const std::string& name, const std::function<void()>& act, const ui::Form& form, const Screen& screen,
              std::optional<QPoint> at = std::nullopt) {
        step(
            name, act, [&form] { return &form; }, screen, at);
    }
    // The same for a form that the step loads anew: `form` gives the loaded one.
    void step(const std::string& name, const std::function<void()>& act, const std::function<const ui::Form*()>& form,
              const Screen& screen, std::optional<QPoint> at = std::nullopt) {
        if (broken_) return;
        Watch watch(*this, name, screen, at);
        act();
        auto shown = [&] { return form() && form()->isVisible(); };
        const auto deadline = std::chrono::steady_clock::now() + Limit;
        while (!(watch.arrived() && shown()) && std::chrono::steady_clock::now() < deadline && !broken_)
            letTheServersAct(10);
        if (!watch.arrived() || !shown())
            watch.problem("expected \"" + screen.wizard + "\" and " + std::to_string(screen.dialogs.size()) +
                          " dialogs, on screen:" + listed(ours()) + "; mapped:" + display->describe());
        else
            letTheServersAct(static_cast<int>(Hold.count()));
        watch.stop();
    }

    // The X window that shows `form`.
    static std::uint32_t idOf(const ui::Form& form) {
        QWidget* w = ui::windowOf(form);
        return w ? static_cast<std::uint32_t>(w->winId()) : 0;
    }

    // Waits until the window of `form` is the active window and has the
    // keyboard focus, Qt's focus at `focus` (anywhere in that window when
    // null), and all of it holds for a while.
    void keyboardIn(const std::string& what, const ui::Form& form, QWidget* focus = nullptr) {
        if (broken_) return;
        const std::uint32_t id = idOf(form);
        QWidget* win = ui::windowOf(form);
        auto holds = [&] {
            QWidget* now = QApplication::focusWidget();
            return display->activeWindow() == id && display->focusWindow() == id && now &&
                   (focus ? now == focus : now->window() == win);
        };
        const auto deadline = std::chrono::steady_clock::now() + Limit;
        auto since = std::chrono::steady_clock::now();
        bool held = false;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto now = std::chrono::steady_clock::now();
            if (!holds())
                since = now;
            else if (now - since >= Hold)
                held = true;
            if (held) break;
            letTheServersAct(10);
        }
        if (held) return;
        QWidget* now = QApplication::focusWidget();
        fail(what + ": the keyboard is not in \"" + form.caption() + "\" #" + std::to_string(id) + " (active #" +
             std::to_string(display->activeWindow()) + ", focus #" + std::to_string(display->focusWindow()) +
             ", Qt's focus on " +
             (now ? now->objectName().toStdString() + " in \"" + now->window()->windowTitle().toStdString() + "\""
                  : std::string("nothing")) +
             "; on screen:" + listed(ours()) + ")");
    }

    // The user moves the window of `form` by `by`; returns once the
    // program knows where it went.
    void move(const ui::Form& form, const QPoint& by) {
        if (broken_) return;
        const std::uint32_t id = idOf(form);
        QWidget* win = ui::windowOf(form);
        std::optional<XWindow> w;
        for (const XWindow& x : ours())
            if (x.id == id) w = x;
        if (!w) {
            fail(form.name() + " is not on screen");
            return;
        }
        display->move(id, w->frameX + by.x(), w->frameY + by.y());
        const QPoint to = QPoint(w->x, w->y) + by;
        const auto deadline = std::chrono::steady_clock::now() + Limit;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto now = ours();
            const bool there = std::any_of(now.begin(), now.end(), [&](const XWindow& x) {
                return x.id == id && (QPoint(x.x, x.y) - to).manhattanLength() <= 2;
            });
            if (there && (onRoot(win, QPoint(0, 0)) - to).manhattanLength() <= 2) return;
            letTheServersAct(10);
        }
        fail("the move of " + form.name() + " did not take; on screen:" + listed(ours()));
    }

    // Where the window titled `title` stood after the last step (its inside).
    std::optional<QPoint> placeOf(const std::string& title) const {
        for (const auto& w : last_)
            if (w.title == title) return QPoint(w.x, w.y);
        return std::nullopt;
    }
    bool broken() const { return broken_; }

private:
    // The reader of the X server during one step.
    class Watch {
    public:
        Watch(Walk& walk, std::string name, Screen screen, std::optional<QPoint> at)
            : walk_(walk), name_(std::move(name)), screen_(std::move(screen)), at_(at) {
            std::sort(screen_.dialogs.begin(), screen_.dialogs.end());
            for (const XWindow& w : walk_.last_)
                if (w.id != walk_.wizard_) before_.insert(w.id);
            thread_ = std::thread([this] { run(); });
        }
        ~Watch() { stop(); }
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

        bool arrived() const { return arrived_; }
        void problem(const std::string& what) {
            std::lock_guard<std::mutex> held(lock_);
            if (problems_.size() < 5) problems_.push_back(what);
        }
        void stop() {
            if (!thread_.joinable()) return;
            {
                std::lock_guard<std::mutex> held(lock_);
                done_ = true;
            }
            wake_.notify_all();
            thread_.join();
            for (const std::string& p : problems_) walk_.fail(p);
            if (problems_.empty() && !walk_.broken_) {
                walk_.last_ = final_;
                walk_.wizardTitle_ = screen_.wizard;
                for (const XWindow& w : final_)
                    if (w.id == walk_.wizard_) walk_.place_ = QPoint(w.x, w.y);
            }
        }

    private:
        void run() {
            std::unique_lock<std::mutex> held(lock_);
            while (!done_) {
                held.unlock();
                const std::vector<XWindow> now = ours();
                held.lock();
                if (problems_.empty()) check(now);
                wake_.wait_for(held, Reading, [this] { return done_; });
            }
        }

        // One reading; called with the lock held.
        void check(const std::vector<XWindow>& now) {
            auto report = [&](const std::string& what) {
                problems_.push_back(name_ + ": " + what + ";" + listed(now));
            };
            if (now.empty()) {
                if (walk_.wizard_ != 0) report("no window of the program on screen");
                return;
            }
            std::uint32_t& wizard = walk_.wizard_;
            if (wizard == 0) wizard = now.front().id;  // the first page's window
            const auto w = std::find_if(now.begin(), now.end(), [&](const XWindow& x) { return x.id == wizard; });
            if (w == now.end()) return report("the wizard window #" + std::to_string(wizard) + " is gone");
            // The wizard window where it stood, or where the step puts it.
            const QPoint wizardAt(w->x, w->y);
            const std::optional<QPoint> target = at_ ? at_ : walk_.place_;
            if (target) {
                const bool there = (wizardAt - *target).manhattanLength() <= 1;
                const bool stayed = walk_.place_ && (wizardAt - *walk_.place_).manhattanLength() <= 1;
                if (!there && !stayed)
                    return report("the wizard window at " + std::to_string(wizardAt.x()) + "," +
                                  std::to_string(wizardAt.y()) + ", not at " + std::to_string(target->x()) + "," +
                                  std::to_string(target->y()));
            } else {
                const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
                const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
                const QPoint middle = (QPointF(screen.center()) * ratio).toPoint();
                if ((centre(*w) - middle).manhattanLength() > 2) return report("the first page is not centred");
            }
            std::vector<std::string> dialogs;
            std::vector<std::uint32_t> ids;
            for (const XWindow& x : now) {
                if (x.id == wizard) continue;
                const bool closing =
                    before_.count(x.id) && !std::binary_search(screen_.dialogs.begin(), screen_.dialogs.end(), x.title);
                if (!before_.count(x.id)) fresh_.insert(x.id);
                if (fresh_.size() > screen_.dialogs.size() || (closing && (arrived_ || pageCame(*w))))
                    return report("\"" + x.title + "\" #" + std::to_string(x.id) + " is not expected");
                if (closing) continue;
                // Placed before it was mapped, never moved after.
                if ((centre(x) - centre(*w)).manhattanLength() > 2)
                    return report("\"" + x.title + "\" is not centred over the wizard window");
                dialogs.push_back(x.title);
                ids.push_back(x.id);
            }
            std::sort(dialogs.begin(), dialogs.end());
            const bool expected = w->title == screen_.wizard && dialogs == screen_.dialogs &&
                                  ids.size() + 1 == now.size() &&
                                  (!target || (wizardAt - *target).manhattanLength() <= 1);
            if (arrived_ && !expected) return report("the windows changed after the step");
            if (expected && !arrived_) {
                arrived_ = true;
                final_ = now;
            }
        }

        // The wizard window shows the step's new page.
        bool pageCame(const XWindow& wizard) const {
            return wizard.title == screen_.wizard && walk_.wizardTitle_ != screen_.wizard;
        }

        Walk& walk_;
        const std::string name_;
        Screen screen_;
        const std::optional<QPoint> at_;
        std::set<std::uint32_t> before_;  // the dialogs on screen before the step
        std::set<std::uint32_t> fresh_;   // windows new in this step
        std::vector<XWindow> final_;
        std::atomic<bool> arrived_{false};
        std::vector<std::string> problems_;
        bool done_ = false;
        std::mutex lock_;
        std::condition_variable wake_;
        std::thread thread_;
    };

    // A point of a widget on the X server's root window, in device pixels.
    static QPoint onRoot(QWidget* w, const QPoint& p) {
        return (QPointF(w->mapToGlobal(p)) * w->devicePixelRatioF()).toPoint();
    }

    void fail(const std::string& what) {
        broken_ = true;  // the steps after it would only wait in vain
        ADD_FAILURE() << what;
    }

    bool broken_ = false;
    std::uint32_t wizard_ = 0;     // the wizard window
    std::optional<QPoint> place_;  // where it stands
    std::string wizardTitle_;
    std::vector<XWindow> last_;  // what the last step left on screen
};

// A box or file chooser, shown for real, that the test answers with Escape
// once the window manager made it the active window (or closes, failing,
// when it never does).
class EscapedBoxes {
public:
    EscapedBoxes(ui::ScriptedMessageBox& messages, ui::ScriptedFileDialog& files) {
        messages.onShow = [this](const ui::MessageRequest& box) { boxes_.show(box); };
        files.onShow = [this](const ui::FileDialogRequest& chooser) { choosers_.open(chooser); };
        QObject::connect(&answer_, &QTimer::timeout, [this] { answer(); });
        answer_.start(20);
    }

private:
    void answer() {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box || box == escaped_) return;
        if (box != seen_) {
            seen_ = box;
            since_ = std::chrono::steady_clock::now();
        }
        if (display->activeWindow() == box->winId() && display->focusWindow() == box->winId()) {
            escaped_ = box;
            display->key(KeyEscape);
        } else if (std::chrono::steady_clock::now() - since_ > Limit) {
            ADD_FAILURE() << "\"" << box->windowTitle().toStdString() << "\" never had the keyboard";
            escaped_ = box;
            box->reject();
        }
    }

    ui::QtMessageBox boxes_;
    ui::QtFileDialog choosers_;
    QTimer answer_;
    QPointer<QWidget> seen_, escaped_;
    std::chrono::steady_clock::time_point since_;
};

// Waits until `shown` boxes have come and gone.
bool boxesGone(const std::function<std::size_t()>& count, std::size_t shown) {
    const auto deadline = std::chrono::steady_clock::now() + Limit;
    while ((count() < shown || QApplication::activeModalWidget()) && std::chrono::steady_clock::now() < deadline)
        letTheServersAct(10);
    return count() == shown && !QApplication::activeModalWidget();
}

struct QuillonUnderAWindowManager : ::testing::Test, testsupport::BasicQuillonGuiWorld<guitest::RealTimeGuiWorld> {
    QuillonUnderAWindowManager() { listedPorts = "LPT1:\r\nFILE:\r\n"; }
    void SetUp() override { ASSERT_TRUE(display->started()) << display->error(); }

    // Welcome, then the load page over it.
    void toTheLoadPage() {
        module->Main("");
        auto& intro = module->KAEIntroForm();
        walk.step("Welcome", [] {}, intro, {"Welcome"});
        walk.step("load page", [&] { walk.click(intro.Next); }, module->LoadDlgForm(),
                  {"Welcome", {"Load Wizard Settings"}});
    }

    Walk walk;
};

TEST_F(QuillonUnderAWindowManager, OneWizardWindowKeepsItsPlacePageAfterPage) {
    toTheLoadPage();
    auto& load = module->LoadDlgForm();
    auto& ports = module->PortSelectForm();
    walk.step("port page", [&] { walk.click(load.Next); }, ports, {"Printer Port Selection"});

    auto& question = module->QuestionDlgForm();
    for (int round = 1; round <= 3; ++round) {
        const std::string r = " (round " + std::to_string(round) + ")";
        walk.step("Next to the settings choice" + r, [&] { walk.click(ports.Next); }, question, {"Configure Network"});
        walk.step("Back to the port page" + r, [&] { walk.click(question.Prev); }, ports, {"Printer Port Selection"});
    }

    // On through the wireless and security pages, and back.
    walk.step("settings choice", [&] { walk.click(ports.Next); }, question, {"Configure Network"});
    walk.click(question.Check1[6]);
    auto& wireless = module->WirelessQuestionDlgForm();
    walk.step("wireless choice", [&] { walk.click(question.Next); }, wireless, {"Configure Wireless Network"});
    walk.click(wireless.check[0]);
    auto& radio = module->WirelessDlgForm();
    walk.step("wireless radio", [&] { walk.click(wireless.Next); }, radio, {"Configure Wireless Network"});
    walk.step("back to the wireless choice", [&] { walk.click(radio.Prev); }, wireless, {"Configure Wireless Network"});
    walk.click(wireless.check[0]);
    walk.click(wireless.EncryptionCB);
    auto& security = module->EncryptQuestionDlgForm();
    walk.step("security choice", [&] { walk.click(wireless.Next); }, security, {"Configure Wireless Network"});
    walk.click(security.click[1]);
    auto& wep = module->WEPDlgForm();
    walk.step("WEP choice", [&] { walk.click(security.Next); }, wep, {"Configure Wireless Authentication"});
    walk.step("back to the security choice", [&] { walk.click(wep.Prev); }, security, {"Configure Wireless Network"});
    walk.step("back to the wireless choice", [&] { walk.click(security.Prev); }, wireless,
              {"Configure Wireless Network"});
    walk.step("back to the settings choice", [&] { walk.click(wireless.Prev); }, question, {"Configure Network"});
    walk.step("back to the port page", [&] { walk.click(question.Prev); }, ports, {"Printer Port Selection"});
}

// The load path: the settings dialog takes the wizard window, and after a
// saved file the page after it comes on the load page's timer; the wizard
// window waits for it, greyed.
TEST_F(QuillonUnderAWindowManager, TheSettingsDialogAndThePageAfterItComeInTheWizardWindow) {
    const std::string saved = work.file("saved.qlz");
    ASSERT_TRUE(module->SaveWizardSettings(saved));
    toTheLoadPage();
    auto& load = module->LoadDlgForm();
    walk.click(load.Load);
    auto& dialog = module->DialogForm();
    walk.step("settings dialog", [&] { walk.click(load.Next); }, dialog, {"Load Wizard Settings"});
    dialog.FileName.setText(saved);
    walk.step("the saved file's page", [&] { walk.click(dialog.OKButton); }, module->PortSelectForm(),
              {"Printer Port Selection"});
}

// A box over the load page, and a file chooser over the settings dialog over
// the finish page: once each goes, the window under it has the keyboard again.
TEST_F(QuillonUnderAWindowManager, TheWindowUnderABoxOrAFileChooserHasTheKeyboardBack) {
    EscapedBoxes escaped(world->messages, world->files);
    toTheLoadPage();
    auto& load = module->LoadDlgForm();
    QWidget* start = ui::widgetOf(load.StartNew);
    walk.keyboardIn("the load page", load, start);
    display->key(KeyEscape);  // "Caution Exiting Wizard": Escape answers No
    ASSERT_TRUE(walk.broken() || boxesGone([&] { return world->messages.count(); }, 1));
    walk.keyboardIn("the load page after the box", load, start);

    auto& finish = module->FinishDialogForm();
    walk.step("port page", [&] { walk.click(load.Next); }, module->PortSelectForm(), {"Printer Port Selection"});
    walk.step("finish page",
              [&] {
                  module->PortSelectForm().hide();
                  finish.show();
              },
              finish, {"Send Wizard Settings"});
    auto& dialog = module->DialogForm();
    walk.step("save dialog", [&] { walk.click(finish.SaveExit); }, dialog,
              {"Send Wizard Settings", {"Save Wizard Settings"}});
    QWidget* browse = ui::widgetOf(dialog.Browse);
    walk.click(dialog.Browse);  // the file chooser; Escape cancels it
    ASSERT_TRUE(walk.broken() || boxesGone([&] { return world->files.shown().size(); }, 1));
    walk.keyboardIn("the save dialog after the file chooser", dialog, browse);
}

struct MarrowbyUnderAWindowManager : ::testing::Test, testsupport::BasicMarrowbyGuiWorld<guitest::RealTimeGuiWorld> {
    void SetUp() override {
        ASSERT_TRUE(display->started()) << display->error();
        addPrinters();
    }

    // From the start to the operation choice, printer settings chosen; the
    // choice comes up over the welcome page.
    void toTheOperationChoice() {
        m->Main("");
        auto& intro = m->KAEIntroForm();
        walk.step("Welcome", [] {}, intro, {"Welcome"});
        walk.step("operation choice", [&] { walk.click(intro.Next); }, m->SelectDlgForm(),
                  {"Welcome", {"Select Operation"}});
        walk.click(m->SelectDlgForm().CfgPrinter);
    }

    // From the operation choice to the load page.
    void toTheLoadPage(std::optional<QPoint> at = std::nullopt) {
        auto& selection = m->SelectionForm();
        walk.step(
            "printer selection", [&] { walk.click(m->SelectDlgForm().Next); }, selection, {"Printer Selection"}, at);
        walk.step("load page", [&] { walk.click(selection.Next); }, m->LoadDlgForm(), {"Load Wizard Settings"});
    }

    Walk walk;
};

// The user moves the operation choice: the page after it opens there.
TEST_F(MarrowbyUnderAWindowManager, OneWizardWindowKeepsItsPlacePageAfterPage) {
    toTheOperationChoice();
    walk.move(m->SelectDlgForm(), QPoint(-150, -90));
    std::optional<QPoint> userPlace;
    for (const XWindow& w : ours())
        if (w.title == "Select Operation") userPlace = QPoint(w.x, w.y);
    ASSERT_TRUE(userPlace || walk.broken());
    toTheLoadPage(userPlace);
    auto& load = m->LoadDlgForm();
    walk.step(
        "page 1", [&] { walk.click(load.Next); }, [&] { return m->OperationForm.loaded(); },
        {"Printer Setup - Page 1"});

    auto& media = m->OperationForm();
    auto& print = m->PrinterSetupForm();
    for (int round = 1; round <= 3; ++round) {
        const std::string r = " (round " + std::to_string(round) + ")";
        walk.step("Next to page 2" + r, [&] { walk.click(media.Next); }, print, {"Printer Setup - Page 2"});
        walk.step("Back to page 1" + r, [&] { walk.click(print.Prev); }, media, {"Printer Setup - Page 1"});
    }
}

TEST_F(MarrowbyUnderAWindowManager, TheSettingsDialogAndThePageAfterItComeInTheWizardWindow) {
    const std::string saved =
        (std::filesystem::temp_directory_path() / ("quill-walk-" + std::to_string(::getpid()) + ".mqz")).string();
    ASSERT_TRUE(m->SaveWizardSettings(saved));
    toTheOperationChoice();
    toTheLoadPage();
    auto& load = m->LoadDlgForm();
    walk.click(load.Load);
    auto& dialog = m->DialogForm();
    walk.step("settings dialog", [&] { walk.click(load.Next); }, dialog, {"Load Wizard Settings"});
    dialog.FileName.setText(saved);
    walk.step(
        "the saved file's page", [&] { walk.click(dialog.OKButton); }, [&] { return m->OperationForm.loaded(); },
        {"Printer Setup - Page 1"});
    std::filesystem::remove(saved);
}

// A click on the media page that the custom size dialog blocks leaves the
// keyboard in the dialog; once the dialog goes, the page has it back, at the
// button that opened the dialog.
TEST_F(MarrowbyUnderAWindowManager, AModalDialogKeepsTheKeyboardAndGivesItBackToItsPage) {
    m->MaxMediaWidth = 4;
    auto& media = m->OperationForm();
    walk.step("page 1", [&] { media.show(); }, media, {"Printer Setup - Page 1"});
    walk.click(media.MediaSizeCB);
    auto& custom = m->CustomDialogForm();
    walk.step("custom size", [&] { walk.click(media.CustomizeMedia); }, custom,
              {"Printer Setup - Page 1", {"Custom Form Definition"}});
    walk.keyboardIn("the custom size dialog", custom);
    QWidget* inDialog = QApplication::focusWidget();
    QWidget* page = ui::windowOf(media);
    const QPoint blank =
        (QPointF(page->mapToGlobal(QPoint(page->width() / 2, 8))) * page->devicePixelRatioF()).toPoint();
    display->click(blank.x(), blank.y());
    walk.keyboardIn("the custom size dialog after a click on its page", custom, inDialog);
    walk.step("custom size cancelled", [] { display->key(KeyEscape); }, media, {"Printer Setup - Page 1"});
    walk.keyboardIn("page 1 after the custom size dialog", media, ui::widgetOf(media.CustomizeMedia));
}

// The print server stops answering when the user asks for the printers: the
// page the user acted on stays on screen while the call waits, then the
// print-server box comes, within the call's bound; at no moment is no window
// of the program on screen.
TEST_F(MarrowbyUnderAWindowManager, AStoppedPrintServerNeverLeavesTheUserWithoutAWindow) {
    testsupport::CupsServer server;
    testsupport::UseServer use(server.address());
    platform::CupsSpooler cups;
    os.spoolerBackend = &cups;
    toTheOperationChoice();
    auto& choice = m->SelectDlgForm();
    server.stopProcess();

    // The X server is read all along, from a thread of its own: the program's
    // thread waits on the print server meanwhile.
    std::mutex lock;
    std::condition_variable stop;
    bool done = false;
    int readings = 0, withoutWindows = 0;
    std::optional<std::chrono::steady_clock::duration> boxAfter;
    const auto start = std::chrono::steady_clock::now();
    std::thread watch([&] {
        std::unique_lock<std::mutex> held(lock);
        while (!done) {
            held.unlock();
            const auto windows = ours();
            const auto now = std::chrono::steady_clock::now();
            held.lock();
            ++readings;
            if (windows.empty()) ++withoutWindows;
            for (const auto& w : windows)
                if (w.title == "Printer Error" && !boxAfter) boxAfter = now - start;
            stop.wait_for(held, std::chrono::milliseconds(10), [&] { return done; });
        }
    });
    // The box shows as a real one, and is answered once the X server shows it.
    ui::QtMessageBox realBoxes;
    world->messages.onShow = [&](const ui::MessageRequest& box) { realBoxes.show(box); };
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        std::lock_guard<std::mutex> held(lock);
        if (box && boxAfter) box->button(QMessageBox::Ok)->click();
    });
    answer.start(20);
    walk.click(choice.Next);  // returns once the box was answered
    answer.stop();
    {
        std::lock_guard<std::mutex> held(lock);
        done = true;
    }
    stop.notify_all();
    watch.join();
    server.continueProcess();

    EXPECT_GT(readings, 10);  // all along the wait, however busy the machine
    EXPECT_EQ(withoutWindows, 0);
    ASSERT_EQ(world->messages.count(), 1u);
    EXPECT_EQ(world->messages.last().text.rfind("The print server ", 0), 0u) << world->messages.last().text;
    ASSERT_TRUE(boxAfter.has_value());
    EXPECT_LT(*boxAfter, std::chrono::seconds(11));
    // Back on the choice, in the wizard's window where it stood.
    walk.step("back on the operation choice", [] {}, choice, {"Select Operation"});
}

}  // namespace

// Xvfb and the window manager come up before the QApplication, which works on
// them; listing the tests (at build time) needs neither. A display that did
// not start fails every test; the program then runs on no screen at all.
int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i) listing = listing || std::string(argv[i]) == "--gtest_list_tests";
    ::testing::InitGoogleTest(&argc, argv);
    if (listing) return RUN_ALL_TESTS();
    const char* manager = std::getenv("QUILL_WINDOW_MANAGER");
    testsupport::XDisplay x(manager && *manager ? manager : "openbox");
    display = &x;
    if (x.started()) {
        qputenv("DISPLAY", QByteArray::fromStdString(x.name()));
        qputenv("QT_QPA_PLATFORM", "xcb");
        // No message bus started for the display, to outlive the test.
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
