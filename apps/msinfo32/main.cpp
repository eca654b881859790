// System information: the machine, the versions of Qt and CUPS, and the
// installed print queues, in a window that only shows them.

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

#include "SystemSummary.h"
#include "platform/cups/CupsSpooler.h"
#include "ui/qt/QtWindows.h"

namespace {

QLabel* value(const std::string& text) {
    auto* l = new QLabel(QString::fromStdString(text.empty() ? std::string("(unknown)") : text));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    l->setWordWrap(true);
    return l;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("System Information"));

    platform::CupsSpooler spooler;
    const sysinfo::SystemSummary s = sysinfo::Collect(spooler, sysinfo::CupsServerVersion());

    QWidget window;
    window.setWindowTitle(QStringLiteral("System Information"));
    auto* root = new QVBoxLayout(&window);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Host name:"), value(s.host));
    form->addRow(QStringLiteral("Kernel:"), value(s.kernel));
    form->addRow(QStringLiteral("Distribution:"), value(s.distribution));
    form->addRow(QStringLiteral("Qt:"), value(s.qtVersion));
    form->addRow(QStringLiteral("CUPS:"), value(s.cupsVersion));
    root->addLayout(form);

    root->addWidget(new QLabel(QStringLiteral("Installed printers:")));
    auto* table = new QTableWidget(static_cast<int>(s.queues.size()), 3);
    table->setHorizontalHeaderLabels({QStringLiteral("Queue"), QStringLiteral("Driver"), QStringLiteral("Port")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < static_cast<int>(s.queues.size()); ++row) {
        const auto& q = s.queues[static_cast<std::size_t>(row)];
        table->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(q.name)));
        table->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(q.driver)));
        table->setItem(row, 2, new QTableWidgetItem(QString::fromStdString(q.port)));
    }
    table->resizeColumnsToContents();
    root->addWidget(table, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QWidget::close);
    root->addWidget(buttons);

    window.resize(640, 420);
    ui::centreOnScreen(&window);
    window.show();
    return QApplication::exec();
}
