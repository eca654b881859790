// System information: the machine, the versions of Qt and CUPS, and the
// installed print queues, in a window that only shows them.

#include <QApplication>
#include <QWidget>

#include "SummaryWindow.h"
#include "SystemSummary.h"
#include "platform/cups/CupsSpooler.h"
#include "ui/qt/QtWindowBoard.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("System Information"));

    platform::CupsSpooler spooler;
    const sysinfo::SystemSummary s = sysinfo::Collect(spooler, sysinfo::CupsServerVersion());
    const auto window = sysinfo::NewSummaryWindow(s);
    window->resize(640, 420);
    ui::centreOnScreen(window.get());
    window->show();
    return QApplication::exec();
}
