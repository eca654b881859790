// The system-information window for keyboard and screen-reader users.

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "SummaryWindow.h"
#include "ui/qt/Access.h"

namespace {

using guitest::accessibleRole;
using guitest::accessibleText;

TEST(SystemInfoWindow, AFrameNamedByItsTitleThatTabLeavesAndEnterOrEscapeCloses) {
    sysinfo::SystemSummary s;
    s.queues = {{"Label", "Tessivarn 7391-Q25 006", "socket://127.1.1.1:9100"}, {"Office", "", ""}};
    const auto window = sysinfo::NewSummaryWindow(s);
    EXPECT_EQ(accessibleRole(window.get()), QAccessible::Window);
    EXPECT_EQ(accessibleText(window.get(), QAccessible::Name), "System Information");
    auto* table = window->findChild<QTableWidget*>("printers");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(accessibleText(table, QAccessible::Name), "Installed printers");

    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        window->show();
        window->activateWindow();
        QCoreApplication::processEvents();
        table->setFocus();
        table->setCurrentCell(0, 0);
        QTest::keyClick(table, Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), table) << "Tab stays in the table";
        table->setFocus();
        QTest::keyClick(table, key);
        EXPECT_FALSE(window->isVisible()) << key;
    }
}

}  // namespace
