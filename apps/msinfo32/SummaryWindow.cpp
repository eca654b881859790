#include "SummaryWindow.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace sysinfo {

namespace {

QLabel* value(const std::string& text) {
    auto* l = new QLabel(QString::fromStdString(text.empty() ? std::string("(unknown)") : text));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    l->setWordWrap(true);
    return l;
}

}  // namespace

std::unique_ptr<QWidget> NewSummaryWindow(const SystemSummary& s) {
    // A main window is a frame to assistive technology, named by its title.
    auto window = std::make_unique<QMainWindow>();
    window->setWindowTitle(QStringLiteral("System Information"));
    auto* central = new QWidget;
    window->setCentralWidget(central);
    auto* root = new QVBoxLayout(central);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Host name:"), value(s.host));
    form->addRow(QStringLiteral("Kernel:"), value(s.kernel));
    form->addRow(QStringLiteral("Distribution:"), value(s.distribution));
    form->addRow(QStringLiteral("Qt:"), value(s.qtVersion));
    form->addRow(QStringLiteral("CUPS:"), value(s.cupsVersion));
    root->addLayout(form);

    auto* caption = new QLabel(QStringLiteral("Installed printers:"));
    root->addWidget(caption);
    auto* table = new QTableWidget(static_cast<int>(s.queues.size()), 3);
    table->setObjectName(QStringLiteral("printers"));
    table->setAccessibleName(QStringLiteral("Installed printers"));
    caption->setBuddy(table);
    table->setTabKeyNavigation(false);  // Tab leaves the table; the arrows move in it
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
    QMainWindow* w = window.get();
    QObject::connect(buttons, &QDialogButtonBox::rejected, w, &QWidget::close);
    root->addWidget(buttons);
    for (const auto key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
        QObject::connect(new QShortcut(QKeySequence(key), w), &QShortcut::activated, w, &QWidget::close);
    return window;
}

}  // namespace sysinfo
