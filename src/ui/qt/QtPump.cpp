#include "ui/qt/QtPump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#include "ui/Form.h"

namespace ui {

QtPump::QtPump(Application& app, int tickMs) : app_(app), ctx_(std::make_unique<QObject>()) {
    app_.setPump(*this);
    // Hiding the last window does not end the program; the model does.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    timer_ = new QTimer(ctx_.get());
    timer_->setInterval(tickMs);
    // The tick is posted, so a nested loop inside a timer handler (a modal
    // form, a message box) does not hold the timer up.
    QObject::connect(timer_, &QTimer::timeout, ctx_.get(), [this] {
        if (tickPosted_) return;
        tickPosted_ = true;
        QMetaObject::invokeMethod(
            ctx_.get(), [this] { tick(); }, Qt::QueuedConnection);
    });
    timer_->start();
    if (auto* d = QAbstractEventDispatcher::instance())
        QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, ctx_.get(), [this] { check(); });
}

QtPump::~QtPump() = default;

void QtPump::tick() {
    tickPosted_ = false;
    app_.pollIo();
    app_.fireDueTimers();
    check();
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
