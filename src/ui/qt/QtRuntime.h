#pragma once
// The forms run-time of a program whose pages are Qt windows: the real
// clock, the application with the given message boxes and file dialog, the
// Qt event pump and the Qt views; the windows get the programs' icon. Made
// after the QApplication.

#include <QApplication>

#include "ui/Application.h"
#include "ui/Clocks.h"
#include "ui/Services.h"
#include "ui/qt/QtPump.h"
#include "ui/qt/QtView.h"
#include "ui/qt/QtWindows.h"

namespace ui {

struct QtRuntime {
    QtRuntime(MessageBoxService& messages, FileDialogService& files) : app(messages, files, clock) {
        app.setViews(&views);
        QApplication::setWindowIcon(programIcon());
    }
    QtRuntime(const QtRuntime&) = delete;
    QtRuntime& operator=(const QtRuntime&) = delete;

    SystemClock clock;
    Application app;
    QtPump pump{app};
    QtViewFactory views;
};

}  // namespace ui
