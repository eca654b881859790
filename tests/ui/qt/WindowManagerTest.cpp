// Both wizards under a real window manager: Xvfb with openbox (or the
// manager QUILL_WINDOW_MANAGER names: xfwm4, metacity), walked page by page
// with real mouse clicks. The welcome page stays under the page after it
// (Quillon's load page, Marrowby's operation choice) until the user moves on. After every step the X server, not Qt,
// says which windows are on screen and where: exactly the pages expected, the page in the place of the page it
// replaced, and all of it still so a second later.

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QScrollArea>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "foundation/KAEIntro.h"
#include "netcfg/core/LoadDlg.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WEPDlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "platform/cups/CupsSpooler.h"
#include "printercfg/core/LoadDlg.h"
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

// How long the windows must stay as they are after a step, and how long a
// step may take to show.
constexpr auto Hold = std::chrono::milliseconds(1000);
constexpr auto Limit = std::chrono::seconds(10);

// Lets real time pass in Qt's event loop, so that the program, the X server
// and the window manager act meanwhile.
void letTheServersAct(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

std::string listed(const std::vector<testsupport::XDisplay::Window>& windows) {
    std::ostringstream out;
    for (const auto& w : windows) out << " \"" << w.title << "\" at " << w.x << "," << w.y;
    return out.str();
}

// Sees the release of a mouse button on a widget.
struct Released : QObject {
    bool seen = false;
    bool eventFilter(QObject*, QEvent* e) override {
        seen = seen || e->type() == QEvent::MouseButtonRelease;
        return false;
    }
};

// A walk through a wizard's pages, one step at a time.
class Walk {
public:
    // A real click in the middle of a control; returns once the control got it.
    void click(const ui::Control& c) {
        if (broken_) return;
        QPointer<QWidget> w = ui::widgetOf(c);
        if (!w || !w->isVisible()) {
            broken_ = true;
            ADD_FAILURE() << c.name() << " is not on screen";
            return;
        }
        // Scrolled into sight first, as a user would.
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (auto* area = qobject_cast<QScrollArea*>(p)) area->ensureWidgetVisible(w, 0, 0);
        Released released;
        w->installEventFilter(&released);
        // The X server counts in device pixels.
        const QPointF at = QPointF(w->mapToGlobal(w->rect().center())) * w->devicePixelRatioF();
        display->click(qRound(at.x()), qRound(at.y()));
        const auto deadline = std::chrono::steady_clock::now() + Limit;
        while (!released.seen && std::chrono::steady_clock::now() < deadline) letTheServersAct(10);
        if (w) w->removeEventFilter(&released);
        if (!released.seen) {
            broken_ = true;
            ADD_FAILURE() << "the click missed " << c.name();
        }
    }

    // After a step: waits until exactly the windows titled `titles` are on
    // screen (`form`'s first) with that one where the page it replaced stood;
    // then the windows must stay as they are for a second.
    void expect(const std::string& step, const ui::Form& form, const std::vector<std::string>& titles) {
        expect(step, form, titles, here_ ? std::vector<QPoint>{*here_} : Anywhere);
    }
    // The same with `form`'s window at one of `places` (Anywhere: a window
    // that replaces none).
    static inline const std::vector<QPoint> Anywhere;
    void expect(const std::string& step, const ui::Form& form, const std::vector<std::string>& titles,
                const std::vector<QPoint>& places) {
        if (broken_) return;
        std::vector<std::string> wanted = titles;
        std::sort(wanted.begin(), wanted.end());
        auto onScreen = [&](const std::vector<testsupport::XDisplay::Window>& windows) {
            std::vector<std::string> seen;
            for (const auto& w : windows) seen.push_back(w.title);
            std::sort(seen.begin(), seen.end());
            return seen == wanted;
        };
        std::vector<testsupport::XDisplay::Window> windows;
        const auto deadline = std::chrono::steady_clock::now() + Limit;
        for (;;) {
            windows = display->windows();
            if (onScreen(windows) && form.isVisible()) break;
            if (std::chrono::steady_clock::now() > deadline) {
                broken_ = true;
                ADD_FAILURE() << step << ": expected " << titles.size() << " windows, on screen:" << listed(windows)
                              << "; mapped:" << display->describe();
                return;
            }
            letTheServersAct(20);
        }
        const auto page =
            std::find_if(windows.rbegin(), windows.rend(), [&](const auto& w) { return w.title == titles.front(); });
        const QPoint at(page->x, page->y);
        if (!places.empty()) {
            const bool inPlace = std::any_of(places.begin(), places.end(),
                                             [&](const QPoint& p) { return (p - at).manhattanLength() <= 1; });
            EXPECT_TRUE(inPlace) << step << ": \"" << titles.front() << "\" at " << at.x() << "," << at.y()
                                 << ", not where the page before it stood (" << places.front().x() << ","
                                 << places.front().y() << ")";
        }
        // A second later the same windows stand in the same places.
        const auto until = std::chrono::steady_clock::now() + Hold;
        while (std::chrono::steady_clock::now() < until) {
            letTheServersAct(50);
            const auto now = display->windows();
            if (!onScreen(now)) {
                broken_ = true;
                ADD_FAILURE() << step << ": the windows changed within a second:" << listed(now);
                return;
            }
            for (const auto& w : now) {
                const auto before =
                    std::find_if(windows.begin(), windows.end(), [&](const auto& b) { return b.title == w.title; });
                EXPECT_LE(std::abs(before->x - w.x) + std::abs(before->y - w.y), 1)
                    << step << ": \"" << w.title << "\" moved within a second from " << before->x << "," << before->y
                    << " to " << w.x << "," << w.y;
            }
        }
        here_ = at;
        last_ = windows;
    }

    std::optional<QPoint> here() const { return here_; }
    // Where the window titled `title` stood after the last step.
    std::optional<QPoint> placeOf(const std::string& title) const {
        for (const auto& w : last_)
            if (w.title == title) return QPoint(w.x, w.y);
        return std::nullopt;
    }

private:
    // A step that went wrong ends the walk: the steps after it would only wait in vain.
    bool broken_ = false;
    std::optional<QPoint> here_;  // where the window of the last step's form stands
    std::vector<testsupport::XDisplay::Window> last_;
};

struct QuillonUnderAWindowManager : ::testing::Test, testsupport::QuillonGuiWorld {
    QuillonUnderAWindowManager() { listedPorts = "LPT1:\r\nFILE:\r\n"; }
};

TEST_F(QuillonUnderAWindowManager, OneWizardWindowKeepsItsPlacePageAfterPage) {
    Walk walk;
    module->Main("");
    auto& intro = module->KAEIntroForm();
    walk.expect("Welcome", intro, {"Welcome"}, Walk::Anywhere);
    const QPoint welcome = *walk.here();

    // The load page comes up over the welcome page, which stays where it stood.
    walk.click(intro.Next);
    auto& load = module->LoadDlgForm();
    walk.expect("load page", load, {"Load Wizard Settings", "Welcome"}, Walk::Anywhere);
    EXPECT_EQ(walk.placeOf("Welcome"), welcome);
    const QPoint loadPlace = *walk.here();

    walk.click(load.Next);
    auto& ports = module->PortSelectForm();
    walk.expect("port page", ports, {"Printer Port Selection"}, {welcome, loadPlace});

    auto& question = module->QuestionDlgForm();
    for (int round = 1; round <= 20; ++round) {
        const std::string r = " (round " + std::to_string(round) + ")";
        walk.click(ports.Next);
        walk.expect("Next to the settings choice" + r, question, {"Configure Network"});
        walk.click(question.Prev);
        walk.expect("Back to the port page" + r, ports, {"Printer Port Selection"});
    }

    // On through the wireless and security pages, and back.
    walk.click(ports.Next);
    walk.expect("settings choice", question, {"Configure Network"});
    walk.click(question.Check1[6]);
    walk.click(question.Next);
    auto& wireless = module->WirelessQuestionDlgForm();
    walk.expect("wireless choice", wireless, {"Configure Wireless Network"});
    walk.click(wireless.check[0]);
    walk.click(wireless.Next);
    auto& radio = module->WirelessDlgForm();
    walk.expect("wireless radio", radio, {"Configure Wireless Network"});
    walk.click(radio.Prev);
    walk.expect("back to the wireless choice", wireless, {"Configure Wireless Network"});
    walk.click(wireless.check[0]);
    walk.click(wireless.EncryptionCB);
    walk.click(wireless.Next);
    auto& security = module->EncryptQuestionDlgForm();
    walk.expect("security choice", security, {"Configure Wireless Network"});
    walk.click(security.click[1]);
    walk.click(security.Next);
    auto& wep = module->WEPDlgForm();
    walk.expect("WEP choice", wep, {"Configure Wireless Authentication"});
    walk.click(wep.Prev);
    walk.expect("back to the security choice", security, {"Configure Wireless Network"});
    walk.click(security.Prev);
    walk.expect("back to the wireless choice", wireless, {"Configure Wireless Network"});
    walk.click(wireless.Prev);
    walk.expect("back to the settings choice", question, {"Configure Network"});
    walk.click(question.Prev);
    walk.expect("back to the port page", ports, {"Printer Port Selection"});
}

struct MarrowbyUnderAWindowManager : ::testing::Test, testsupport::MarrowbyGuiWorld {
    void SetUp() override { addPrinters(); }

    // From the start to the operation choice, printer settings chosen; the
    // choice comes up over the welcome page, which stays where it stood.
    void toTheOperationChoice() {
        m->Main("");
        auto& intro = m->KAEIntroForm();
        walk.expect("Welcome", intro, {"Welcome"}, Walk::Anywhere);
        welcome = walk.here().value_or(QPoint());
        walk.click(intro.Next);
        walk.expect("operation choice", m->SelectDlgForm(), {"Select Operation", "Welcome"}, Walk::Anywhere);
        EXPECT_EQ(walk.placeOf("Welcome"), welcome);
        choicePlace = walk.here().value_or(QPoint());
        walk.click(m->SelectDlgForm().CfgPrinter);
    }

    Walk walk;
    QPoint welcome, choicePlace;
};

TEST_F(MarrowbyUnderAWindowManager, OneWizardWindowKeepsItsPlacePageAfterPage) {
    toTheOperationChoice();
    walk.click(m->SelectDlgForm().Next);
    auto& selection = m->SelectionForm();
    walk.expect("printer selection", selection, {"Printer Selection"}, {welcome, choicePlace});
    walk.click(selection.Next);
    auto& load = m->LoadDlgForm();
    walk.expect("load page", load, {"Load Wizard Settings"});
    walk.click(load.Next);
    auto& media = m->OperationForm();
    walk.expect("page 1", media, {"Printer Setup - Page 1"});

    auto& print = m->PrinterSetupForm();
    for (int round = 1; round <= 10; ++round) {
        const std::string r = " (round " + std::to_string(round) + ")";
        walk.click(media.Next);
        walk.expect("Next to page 2" + r, print, {"Printer Setup - Page 2"});
        walk.click(print.Prev);
        walk.expect("Back to page 1" + r, media, {"Printer Setup - Page 1"});
    }
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
            const auto windows = display->windows();
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

    EXPECT_GT(readings, 100);
    EXPECT_EQ(withoutWindows, 0);
    ASSERT_EQ(world->messages.count(), 1u);
    EXPECT_EQ(world->messages.last().text.rfind("The print server ", 0), 0u) << world->messages.last().text;
    ASSERT_TRUE(boxAfter.has_value());
    EXPECT_LT(*boxAfter, std::chrono::seconds(11));
    // Back on the choice, in the wizard's window.
    walk.expect("back on the operation choice", choice, {"Select Operation"}, {welcome, choicePlace});
}

}  // namespace

// Xvfb and the window manager come up before the QApplication, which works on
// them; listing the tests (at build time) needs neither.
int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i) listing = listing || std::string(argv[i]) == "--gtest_list_tests";
    ::testing::InitGoogleTest(&argc, argv);
    if (listing) return RUN_ALL_TESTS();
    const char* manager = std::getenv("QUILL_WINDOW_MANAGER");
    testsupport::XDisplay x(manager && *manager ? manager : "openbox");
    display = &x;
    qputenv("DISPLAY", QByteArray::fromStdString(x.name()));
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
