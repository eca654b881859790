// The Qt event pump: timers on the model's clock, the modal loop, quit;
// an idle loop that sleeps until the next event or due time.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QAbstractEventDispatcher>
#include <QTimer>

#include "GuiWorld.h"
#include "netcfg/core/QuillonModule.h"
#include "platform/Platform.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"
#include "ui/Clocks.h"
#include "ui/Control.h"
#include "ui/Form.h"

namespace {

using guitest::GuiWorld;

class TimerForm : public ui::Form {
public:
    TimerForm(ui::Application& app, int interval)
        : ui::Form(app, "frmTimer", "Timer"), lbl(*this, "lbl", "Waiting"), tmr(*this, "tmr", interval) {
        tmr.onTimer = [this] {
            ++ticks;
            if (onTick) onTick();
        };
    }
    ui::Label lbl;
    ui::Timer tmr;
    int ticks = 0;
    std::function<void()> onTick;
};

// The pump on the real clock, with the wake-ups of its event loop counted.
struct RealTimeWorld : guitest::PumpWorld<ui::SystemClock> {
    QObject counter;
    int wakeups = 0;
    RealTimeWorld() {
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, &counter,
                         [this] { ++wakeups; });
    }
};

TEST(QtPump, AttachesItselfToTheApplication) {
    GuiWorld world;
    EXPECT_EQ(&world.app.pump(), &world.pump);
    EXPECT_FALSE(world.pump.quitRequested());
    EXPECT_EQ(world.pump.depth(), 0);
}

TEST(QtPump, DoEventsFiresDueTimersOnTheModelsClock) {
    GuiWorld world;
    auto form = std::make_shared<TimerForm>(world.app, 100);
    form->show();
    world.pump.doEvents();
    EXPECT_EQ(form->ticks, 0);
    world.clock.advance(100);
    world.pump.doEvents();
    EXPECT_EQ(form->ticks, 1);
    world.pump.doEvents();
    EXPECT_EQ(form->ticks, 1);
    form.reset();
    guitest::flushDeletes();
}

TEST(QtPump, RunFiresTimersUntilTheLastFormUnloads) {
    GuiWorld world;
    auto form = std::make_shared<TimerForm>(world.app, 50);
    form->onTick = [&] {
        form->lbl.setCaption("Tick " + std::to_string(form->ticks));
        if (form->ticks == 3) form->unload();
    };
    form->show();
    // Virtual time moves on with every pass of the event loop.
    QTimer mover;
    mover.setInterval(0);
    QObject::connect(&mover, &QTimer::timeout, [&] { world.clock.advance(10); });
    mover.start();
    world.pump.run();
    mover.stop();
    EXPECT_EQ(form->ticks, 3);
    EXPECT_TRUE(world.app.ended());
    EXPECT_EQ(world.pump.depth(), 0);
    form.reset();
    guitest::flushDeletes();
}

// Real time passes: the ticks are Qt timers on the real clock.
TEST(QtPump, TimerTicksComeOnTimeAndAreAllThatWakesTheLoop) {
    RealTimeWorld world;
    auto form = std::make_shared<TimerForm>(world.app, 30);
    std::vector<std::uint32_t> at;
    form->onTick = [&] {
        at.push_back(world.clock.milliseconds());
        if (form->ticks == 4) form->unload();
    };
    const std::uint32_t start = world.clock.milliseconds();
    form->show();
    world.wakeups = 0;
    world.pump.run();
    ASSERT_EQ(at.size(), 4u);
    for (std::uint32_t k = 0; k < 4; ++k) EXPECT_GE(at[k] - start, 30 * (k + 1)) << k;
    // A loop that polls on a short timer wakes dozens of times in 120 ms.
    EXPECT_LE(world.wakeups, 12);
    form.reset();
    guitest::flushDeletes();
}

// Real time passes: an idle loop is measured over 150 ms.
TEST(QtPump, AnIdlePageDoesNotWakeTheLoop) {
    RealTimeWorld world;
    auto form = std::make_shared<TimerForm>(world.app, 0);
    form->show();
    guitest::flushDeletes();
    world.wakeups = 0;
    QTimer::singleShot(150, [&] { world.pump.quit(); });
    world.pump.run();
    EXPECT_LE(world.wakeups, 3);
    form.reset();
    guitest::flushDeletes();
}

// Real time passes: a 30 ms timer is enabled while one of 300 ms is armed.
TEST(QtPump, ATimerEnabledWhileALaterOneIsArmedFiresOnTime) {
    RealTimeWorld world;
    auto late = std::make_shared<TimerForm>(world.app, 300);
    auto soon = std::make_shared<TimerForm>(world.app, 0);
    std::uint32_t enabledAt = 0, firedAt = 0;
    soon->onTick = [&] {
        firedAt = world.clock.milliseconds();
        world.pump.quit();
    };
    late->onTick = [&] { world.pump.quit(); };
    late->show();
    soon->show();
    QTimer::singleShot(20, [&] {
        enabledAt = world.clock.milliseconds();
        soon->tmr.setInterval(30);
    });
    world.pump.run();
    EXPECT_EQ(soon->ticks, 1);
    EXPECT_EQ(late->ticks, 0);
    EXPECT_GE(firedAt - enabledAt, 30u);
    EXPECT_LT(firedAt - enabledAt, 150u);
    late.reset();
    soon.reset();
    guitest::flushDeletes();
}

// Real time passes: a page's wait of 60 ms in which nothing happens.
TEST(QtPump, AWaitWithNothingElseHappeningEndsAtItsLimit) {
    RealTimeWorld world;
    guitest::flushDeletes();
    QTimer stop;  // the end of a wait that no limit would end
    stop.setSingleShot(true);
    stop.start(2000);
    const std::uint32_t start = world.clock.milliseconds();
    int passes = 0;
    for (std::uint32_t waited = 0; waited < 60; waited = world.clock.milliseconds() - start, ++passes)
        world.app.idle(1, 60 - waited);
    EXPECT_LT(world.clock.milliseconds() - start, 1000u);
    EXPECT_LE(passes, 3);  // not one pass after another until the limit
}

// Real time passes: another process holds the log file for 50 ms.
TEST(QtPump, ALogLineHeldBackByABusyFileGoesOutFromTheEventLoop) {
    RealTimeWorld world;
    testsupport::FakeProcesses processes;
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = nullptr};
    testsupport::TempDir folder;
    netcfg::QuillonModule module(world.app, os, folder.str());
    module.DebugMode = true;
    const std::string log = folder.file("Log.txt");
    // flock locks belong to the open file: this one stands for the other process.
    int holder = ::open(log.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    QTimer::singleShot(50, [&] {
        ::close(holder);
        holder = -1;
    });
    const std::uint32_t start = world.clock.milliseconds();
    module.WriteLog("held back");
    EXPECT_EQ(testsupport::readFile(log), "");
    while (testsupport::readFile(log).empty() && world.clock.milliseconds() - start < 5000)
        world.app.idle(1, 5000 - (world.clock.milliseconds() - start));
    const std::uint32_t took = world.clock.milliseconds() - start;
    if (holder >= 0) ::close(holder);
    EXPECT_NE(testsupport::readFile(log).find(" - held back\r\n"), std::string::npos);
    EXPECT_GE(took, foundation::WizardModule::LogRetryMs);
    EXPECT_LT(took, 2 * foundation::WizardModule::LogRetryMs);
}

TEST(QtPump, RunEndsOnQuit) {
    GuiWorld world;
    auto form = std::make_shared<TimerForm>(world.app, 0);
    form->show();
    int depth = 0;
    QTimer::singleShot(0, [&] {
        depth = world.pump.depth();
        world.pump.quit();
    });
    world.pump.run();
    EXPECT_EQ(depth, 1);
    EXPECT_TRUE(world.pump.quitRequested());
    EXPECT_TRUE(form->isLoaded());
    form.reset();
    guitest::flushDeletes();
}

TEST(QtPump, RunReturnsAtOnceWithoutForms) {
    GuiWorld world;
    world.pump.run();
    EXPECT_EQ(world.pump.depth(), 0);
}

TEST(QtPump, ModalLoopEndsWhenTheFormIsHidden) {
    GuiWorld world;
    auto form = std::make_shared<TimerForm>(world.app, 0);
    bool wasModal = false;
    int depth = 0;
    QTimer::singleShot(0, [&] {
        wasModal = form->isModal() && form->isVisible();
        depth = world.pump.depth();
        form->hide();
    });
    form->showModal();
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(depth, 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->isLoaded());
    EXPECT_FALSE(form->isModal());
    form.reset();
    guitest::flushDeletes();
}

TEST(QtPump, ModalLoopFromATimerTickKeepsTimersGoing) {
    GuiWorld world;
    auto host = std::make_shared<TimerForm>(world.app, 10);
    auto dialog = std::make_shared<TimerForm>(world.app, 10);
    dialog->tmr.setEnabled(false);
    host->onTick = [&] {
        host->tmr.setEnabled(false);
        dialog->tmr.setEnabled(true);
        dialog->showModal();  // nested loop inside the host's tick
        host->unload();
    };
    dialog->onTick = [&] {
        if (dialog->ticks == 2) dialog->unload();
    };
    host->show();
    QTimer mover;
    mover.setInterval(0);
    QObject::connect(&mover, &QTimer::timeout, [&] { world.clock.advance(5); });
    mover.start();
    world.pump.run();
    mover.stop();
    EXPECT_EQ(host->ticks, 1);
    EXPECT_EQ(dialog->ticks, 2);
    EXPECT_TRUE(world.app.ended());
    host.reset();
    dialog.reset();
    guitest::flushDeletes();
}

}  // namespace
