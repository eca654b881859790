// The load page between the printer selection and the media page.

#include <gtest/gtest.h>

#include "printercfg/core/Dialog.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "printercfg/pages/SelectDlg.h"
#include "support/MarrowbyWorld.h"

using testsupport::MarrowbyWorld;

namespace {

TEST(LoadPage, RoutesOfItsChoicesAndButtons) {
    enum Route { StartNew, Load, Back, Cancel, Close };
    struct Case {
        Route route;
        const char* shown;  // visible afterwards; nullptr: the program ended
    };
    const Case cases[] = {{StartNew, "Operation"}, {Load, "Dialog"},        {Back, "SelectDlg"},
                          {Cancel, "LoadDlg"},     {Close, nullptr}};
    for (const auto& c : cases) {
        MarrowbyWorld w;
        w.m.MaxMediaWidth = 4;
        auto& page = w.m.LoadDlgForm();
        page.show();
        EXPECT_TRUE(page.StartNew.value());
        EXPECT_EQ(page.Label1.caption(), "Load Printer Wizard Settings ");
        EXPECT_EQ(page.Load.caption(), "&Load Previously Saved Wizard Settings ");
        // Settings changed earlier on both pages, with a custom width row.
        auto& media = w.m.OperationForm();
        media.MediaSizeCB.click();
        media.LabelWidthCombo.addItem("4.1\" (104.1mm)");
        w.m.PrinterSetupForm().GapCB.click();
        media.Prev.click();
        w.messages.answer(ui::IDNO);
        switch (c.route) {
            case StartNew: page.Next.click(); break;
            case Load:
                page.Load.click();
                page.Next.click();
                break;
            case Back: page.Prev.click(); break;
            case Cancel: page.Cancel.click(); break;
            case Close: page.userClose(); break;
        }
        if (!c.shown) {
            EXPECT_TRUE(w.app.ended());
            continue;
        }
        const ui::Form* shown = nullptr;
        for (const ui::Form* f : w.app.loadedForms())
            if (f->name() == c.shown && f->isVisible()) shown = f;
        EXPECT_NE(shown, nullptr) << c.shown;
        EXPECT_EQ(page.isVisible(), c.route == Cancel) << c.shown;
        if (c.route == Cancel) {
            EXPECT_EQ(w.messages.last().title, "Caution Exiting Wizard");
        }
        if (c.route == StartNew) {
            // Both settings pages start again from their defaults.
            EXPECT_EQ(w.m.PrinterSetupForm.loaded(), nullptr);
            auto& fresh = w.m.OperationForm();
            EXPECT_EQ(fresh.MediaSizeCB.value(), 1);
            EXPECT_EQ(fresh.LabelWidthCombo.listCount(), 5);
            EXPECT_FALSE(fresh.LabelWidthCombo.enabled());
        }
        if (c.route == Load) {
            EXPECT_FALSE(w.m.OperationForm().isVisible());
            EXPECT_EQ(w.m.DialogForm().dialogFlag, 0);
            EXPECT_NE(w.m.PrinterSetupForm.loaded(), nullptr);
        }
    }
}

}  // namespace
