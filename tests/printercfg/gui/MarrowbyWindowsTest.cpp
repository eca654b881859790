// Marrowby's windows among each other: the custom size dialog blocks the
// media page behind it, and the printer list shows every queue at once.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "printercfg/pages/Selection.h"
#include "support/MarrowbyGuiWorld.h"

namespace {

using guitest::widgetAs;

struct MarrowbyWindows : ::testing::Test, testsupport::MarrowbyGuiWorld {
    void SetUp() override { addPrinters(); }
    // A click the way the platform delivers it: to the window, which a modal
    // window may block.
    static void clickInWindow(const ui::Control& c) {
        QWidget* w = ui::widgetOf(c);
        QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {}, w->mapTo(w->window(), w->rect().center()));
    }
};

TEST_F(MarrowbyWindows, TheCustomSizeDialogBlocksTheMediaPageBehindIt) {
    m->MaxMediaWidth = 4;
    auto& media = m->OperationForm();
    media.show();
    widgetAs<QCheckBox>(media.MediaSizeCB)->click();
    click(media.CustomizeMedia);
    auto& custom = m->CustomDialogForm();
    ASSERT_TRUE(custom.isVisible());
    QWidget* dialogWin = ui::windowOf(custom);
    EXPECT_EQ(dialogWin->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialogWin->windowHandle()->transientParent(), ui::windowOf(media)->windowHandle());

    clickInWindow(media.Next);  // behind the dialog: nothing happens
    EXPECT_TRUE(media.isVisible());
    EXPECT_EQ(m->PrinterSetupForm.loaded(), nullptr);

    click(custom.CancelButton);
    EXPECT_EQ(m->CustomDialogForm.loaded(), nullptr);
    clickInWindow(media.Next);
    EXPECT_TRUE(m->PrinterSetupForm().isVisible());
}

TEST_F(MarrowbyWindows, ThePrinterListShowsEverySupportedQueueAtOnce) {
    auto& selection = m->SelectionForm();
    selection.show();
    auto* list = widgetAs<QListWidget>(selection.PrinterList);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(1))));
    EXPECT_EQ(list->currentRow(), 0);
    // The arrows move the choice, as a click does.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(selection.PrinterList.listIndex(), 1);
    EXPECT_EQ(m->SelectedPrinterName, "Warehouse 300 dpi");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(m->SelectedPrinterName, "Shipping Labels");
}

}  // namespace
