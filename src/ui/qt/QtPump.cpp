#include "ui/qt/QtPump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <climits>

#include "ui/Clocks.h"
#include "ui/Form.h"

namespace ui {

QtPump::QtPump(Application& app)
    : app_(app), virtualClock_(dynamic_cast<VirtualClock*>(&app.clock())), ctx_(std::make_unique<QObject>()) {
    app_.setPump(*this);
    // Hiding the last window does not end the program; the model does.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    timer_ = new QTimer(ctx_.get());
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_, &QTimer::timeout, ctx_.get(), [this] { fire(); });
    blind_ = new QTimer(ctx_.get());
    blind_->setInterval(BlindPollMs);
    QObject::connect(blind_, &QTimer::timeout, ctx_.get(), [this] {
        for (std::uint64_t id : app_.ioSourceIds())
            if (!app_.ioWait(id)) app_.pollIo(id);
        watch();
    });
    if (auto* d = QAbstractEventDispatcher::instance()) {
        // Every pass of the event loop starts with one of the two: the
        // notifiers follow the sources before the loop looks at descriptors,
        // and the timer is armed before it sleeps.
        QObject::connect(d, &QAbstractEventDispatcher::awake, ctx_.get(), [this] { watch(); });
        QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, ctx_.get(), [this] {
            watch(true);
            arm();
            check();
        });
    }
}

QtPump::~QtPump() = default;

void QtPump::fire() {
    app_.fireDueTimers();
    arm();
    check();
}

void QtPump::arm() {
    const long long wait = app_.msUntilNextTimer();
    if (wait < 0) {
        timer_->stop();
        return;
    }
    const std::uint32_t due = app_.clock().milliseconds() + static_cast<std::uint32_t>(wait);
    // Armed for that due time already, and not for later? (A virtual clock
    // may have moved on faster than the Qt timer counts.)
    if (timer_->isActive() && armedFor_ == due && timer_->remainingTime() <= wait + 1) return;
    armedFor_ = due;
    timer_->start(static_cast<int>(std::min<long long>(wait, INT_MAX)));
}

void QtPump::watch(bool blocking) {
    const std::vector<std::uint64_t> ids = app_.ioSourceIds();
    for (auto it = watches_.begin(); it != watches_.end();) {
        if (std::find(ids.begin(), ids.end(), it->first) == ids.end()) {
            unwatch(it->second);
            it = watches_.erase(it);
        } else {
            ++it;
        }
    }
    bool blind = false;
    for (std::uint64_t id : ids) {
        const std::optional<IoWait> wait = app_.ioWait(id);
        if (!wait) blind = true;
        const IoWait want = wait.value_or(IoWait{});
        Watch& w = watches_[id];
        auto follow = [&](QSocketNotifier*& n, QSocketNotifier::Type type, bool on) {
            if (!n) {
                if (!on || want.fd < 0) return;
                n = new QSocketNotifier(type, ctx_.get());
                QObject::connect(n, &QSocketNotifier::activated, ctx_.get(), [this, id] {
                    app_.pollIo(id);
                    watch();
                });
            }
            // A new descriptor: setSocket leaves the notifier disabled.
            if (w.fd != want.fd) n->setSocket(want.fd);
            n->setEnabled(on && want.fd >= 0);
        };
        follow(w.read, QSocketNotifier::Read, want.read);
        follow(w.write, QSocketNotifier::Write, want.write);
        w.fd = want.fd;
    }
    // Blind polls are for a loop that would otherwise sleep; doEvents polls
    // every source itself.
    if (!blind)
        blind_->stop();
    else if (blocking && !blind_->isActive())
        blind_->start();
}

void QtPump::unwatch(Watch& w) {
    // The source may be going away inside a notifier's own signal.
    for (QSocketNotifier* n : {w.read, w.write})
        if (n) {
            n->setEnabled(false);
            n->deleteLater();
        }
    w = Watch{};
}

void QtPump::check() {
    for (const Loop& l : loops_) {
        const bool done =
            l.form ? !l.form->isLoaded() || !l.form->isVisible() : quit_ || app_.ended() || app_.loadedForms().empty();
        if (done) l.loop->exit(0);
    }
}

void QtPump::doEvents() {
    QCoreApplication::processEvents();
    app_.pollIo();
    app_.fireDueTimers();
}

void QtPump::idle(std::uint32_t passMs, std::uint32_t limitMs) {
    if (virtualClock_) {
        virtualClock_->sleep(passMs);
        return;
    }
    if (limitMs == 0) return;
    // Wakes the loop at the limit, unless an event comes first.
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer);
    limit.start(static_cast<int>(std::min<std::uint32_t>(limitMs, INT_MAX)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtPump::run() {
    quit_ = false;
    // Without a loaded form nothing can happen any more.
    if (app_.ended() || app_.loadedForms().empty()) return;
    QEventLoop loop;
    loops_.push_back({&loop, nullptr});
    loop.exec();
    loops_.pop_back();
}

void QtPump::runModal(Form& form) {
    if (!form.isLoaded() || !form.isVisible()) return;
    QEventLoop loop;
    loops_.push_back({&loop, &form});
    loop.exec();
    for (auto it = loops_.begin(); it != loops_.end(); ++it)
        if (it->loop == &loop) {
            loops_.erase(it);
            break;
        }
}

void QtPump::quit() {
    quit_ = true;
    for (const Loop& l : loops_) l.loop->exit(0);
}

}  // namespace ui
