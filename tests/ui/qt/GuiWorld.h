#pragma once
// The forms layer wired to the Qt renderer, on a virtual clock (or the real
// one) with scripted message boxes and file dialogs; or only on the Qt pump,
// without windows.

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <memory>

#include "ui/Application.h"
#include "ui/Clocks.h"
#include "ui/Scripted.h"
#include "ui/qt/QtPump.h"
#include "ui/qt/QtView.h"

namespace guitest {

// The forms layer on the Qt pump and `Clock` (the real one, for a test that
// times the pump), without windows.
template <class Clock>
struct PumpWorld {
    ui::ScriptedMessageBox messages;
    ui::ScriptedFileDialog files;
    Clock clock;
    ui::Application app{messages, files, clock};
    ui::QtPump pump{app};
};

// With the Qt views, on `Clock`.
template <class Clock>
struct ViewWorld : PumpWorld<Clock> {
    ui::QtViewFactory views;
    ViewWorld() { this->app.setViews(&views); }
};
using GuiWorld = ViewWorld<ui::VirtualClock>;
// On the real clock: a program that real servers and a window manager act
// beside, whose timers run as a user's do.
using RealTimeGuiWorld = ViewWorld<ui::SystemClock>;

// Deletes the windows of destroyed views (they go with deleteLater).
inline void flushDeletes() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Lets the event loop go idle once, as it does while the program waits for
// the user: what waits for that (a wizard window left without a page) acts.
inline void idle() {
    QTimer::singleShot(0, [] {});  // wakes it at once
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Runs `action` once from the event loop as soon as `ready` holds; each try
// is a zero timer, so the wait is driven by events only.
inline void whenReady(std::function<bool()> ready, std::function<void()> action, int tries = 10000) {
    QTimer::singleShot(0, [ready = std::move(ready), action = std::move(action), tries]() mutable {
        if (ready()) {
            action();
        } else if (tries > 0) {
            whenReady(std::move(ready), std::move(action), tries - 1);
        }
    });
}

// The widget of a control as a given widget class.
template <class W>
W* widgetAs(const ui::Control& c) {
    return qobject_cast<W*>(ui::widgetOf(c));
}

}  // namespace guitest
