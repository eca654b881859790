// The load page between the printer selection and the media page.

#include <gtest/gtest.h>

#include "printercfg/core/Dialog.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "support/MarrowbyWorld.h"

namespace {

TEST(LoadPage, RoutesOfItsChoicesAndButtons) {
    // Route, the page shown afterwards ("": the program ended).
    const std::pair<const char*, const char*> cases[] = {
        {"Start New", "Operation"}, {"Load", "Dialog"}, {"Back", "SelectDlg"}, {"Cancel", "LoadDlg"}, {"Close", ""}};
    for (const auto& [route, shown] : cases) {
        testsupport::MarrowbyWorld w;
        auto& page = w.m.LoadDlgForm();
        page.show();
        EXPECT_TRUE(page.StartNew.value());
        EXPECT_EQ(page.Label1.caption() + page.Load.caption(),
                  "Load Printer Wizard Settings &Load Previously Saved Wizard Settings ");
        // Settings changed earlier on both pages, with a custom width row; back on this page.
        auto& media = w.m.OperationForm();
        media.MediaSizeCB.click();
        media.LabelWidthCombo.addItem("4.1\" (104.1mm)");
        w.m.PrinterSetupForm().GapCB.click();
        media.Prev.click();
        w.messages.answer(ui::IDNO);
        const std::string r = route;
        if (r == "Load") page.Load.click();
        if (r == "Start New" || r == "Load") page.Next.click();
        if (r == "Back") page.Prev.click();
        if (r == "Cancel") page.Cancel.click();
        if (r == "Close") page.userClose();
        EXPECT_EQ(w.app.ended(), !*shown) << r;
        EXPECT_EQ(w.isShown(shown), *shown != 0) << r;
        EXPECT_EQ(page.isVisible(), r == "Cancel") << r;
        if (r == "Start New") {
            // Both settings pages start again from their defaults.
            EXPECT_EQ(w.m.PrinterSetupForm.loaded(), nullptr);
            EXPECT_EQ(w.m.OperationForm().MediaSizeCB.value(), 1);
            EXPECT_EQ(w.m.OperationForm().LabelWidthCombo.listCount(), 5);
        }
        if (r == "Load") {
            EXPECT_FALSE(w.m.OperationForm().isVisible());
            EXPECT_EQ(w.m.DialogForm().dialogFlag, 0);
        }
    }
}

}  // namespace
