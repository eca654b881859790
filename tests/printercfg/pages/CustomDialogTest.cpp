// The custom label size dialog: typed sizes in either unit, the model's
// limits, and the rows it selects or adds on the media page.

#include <gtest/gtest.h>

#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "support/MarrowbyWorld.h"

using printercfg::CustomDialog;
using testsupport::MarrowbyWorld;
using Strings = std::vector<std::string>;

namespace {

const char* const Exceeded =
    "Allowable Form Dimension(s) Exceeded!\r\n"
    "The dimension(s) have been changed to reflect the minimum/maximum allowable";
const char* const NoNumber =
    "Invalid Form Dimension(s) Entered!\r\nPlease enter each dimension as a number, in inches or in mm";

struct Custom {
    explicit Custom(int maxWidth) {
        w.m.MaxMediaWidth = maxWidth;
        w.m.OperationForm().show();
        w.m.OperationForm().MediaSizeCB.click();
    }
    MarrowbyWorld w;
    CustomDialog& open() {
        w.m.OperationForm().CustomizeMedia.click();
        return w.m.CustomDialogForm();
    }
    // Types the non-empty texts in the order width inch, width mm, length inch, length mm, then OK.
    void enter(const Strings& typed) {
        auto& d = open();
        ui::TextBox* boxes[] = {&d.WidthValueInch, &d.WidthValueMM, &d.HeightValueInch, &d.HeightValueMM};
        for (std::size_t i = 0; i < typed.size(); ++i)
            if (!typed[i].empty()) boxes[i]->userType(typed[i]);
        d.OKButton.click();
    }
    Strings boxes() {
        auto& d = w.m.CustomDialogForm();
        return {d.WidthValueInch.text(), d.WidthValueMM.text(), d.HeightValueInch.text(), d.HeightValueMM.text()};
    }
    // Text and code of the selected row of a size list.
    std::pair<std::string, std::string> selected(bool width) {
        auto& list = width ? w.m.OperationForm().LabelWidthCombo : w.m.OperationForm().LabelLengthCombo;
        const auto& codes = width ? w.m.LabelWidthCodes : w.m.LabelLengthCodes;
        return {list.text(), codes.at(static_cast<std::size_t>(list.listIndex()))};
    }
};

TEST(CustomSizes, AcceptedSizesSelectOrAddRowsAndOthersKeepTheDialogOpen) {
    struct Case {
        int maxWidth;
        const char* separator;
        Strings typed;
        const char* notice;  // nullptr: the dialog closes
        Strings boxes;       // shown when it stays; else the selected width and length rows and their codes
    };
    const Case cases[] = {
        {4, ".", {"", "101.6"}, nullptr, {"4.0\" (101.6mm)", "04000", "6.0\" (152.4mm)", "06000"}},
        {4, ".", {"", "50"}, nullptr, {"2.0\" (50.0mm)", "01969", "6.0\" (152.4mm)", "06000"}},
        {4, ".", {"2", "76.2"}, nullptr, {"3.0\" (76.2mm)", "03000", "6.0\" (152.4mm)", "06000"}},
        {4, ".", {"", "", "99.005"}, nullptr, {"4.0\" (101.6mm)", "04000", "99.0\" (2514.7mm)", "99005"}},
        {4, ".", {"", "", "99.01"}, nullptr, {"4.0\" (101.6mm)", "04000", "99.0\" (2514.9mm)", "99010"}},
        {4, ",", {"4,1", "", " 2.5 "}, nullptr, {"4.1\" (104.1mm)", "04100", "2.5\" (63.5mm)", "02500"}},
        {8, ".", {"8.1"}, nullptr, {"8.1\" (205.7mm)", "08100", "6.0\" (152.4mm)", "06000"}},
        {4, ".", {}, nullptr, {"4.0\" (101.6mm)", "04000", "6.0\" (152.4mm)", "06000"}},
        {4, ".", {"6"}, Exceeded, {"4.1", "104.14", "", ""}},
        {6, ".", {"6.2"}, Exceeded, {"6.1", "154.94", "", ""}},
        {0, ".", {"5"}, Exceeded, {"4.1", "104.14", "", ""}},
        {4, ".", {"0.5"}, Exceeded, {"0.8", "20.32", "", ""}},
        {4, ".", {"", "", "0.2"}, Exceeded, {"", "", "0.25", "6.35"}},
        {4, ".", {"", "", "", "3200"}, Exceeded, {"", "", "99", "2514.6"}},
        {4, ",", {"4.1", "", "-1"}, Exceeded, {"4,1", "104,14", "0,25", "6,35"}},
        {4, ".", {"abc", "", "3"}, NoNumber, {"abc", "", "3", ""}},
        {4, ".", {"4,1"}, NoNumber, {"4,1", "", "", ""}},
        {4, ".", {"", "", "", "+"}, NoNumber, {"", "", "", "+"}},
    };
    for (const auto& c : cases) {
        Custom t(c.maxWidth);
        t.w.m.DecimalSeparator = c.separator;
        t.enter(c.typed);
        const std::string what = c.typed.empty() ? "nothing" : c.typed[0] + "|" + c.typed.back();
        if (c.notice) {
            ASSERT_EQ(t.w.messages.count(), 1u) << what;
            EXPECT_EQ(t.w.messages.last().text, c.notice) << what;
            EXPECT_EQ(t.w.messages.last().title, "Notice");
            ASSERT_NE(t.w.m.CustomDialogForm.loaded(), nullptr) << what;
            EXPECT_EQ(t.boxes(), c.boxes) << what;
            continue;
        }
        EXPECT_EQ(t.w.messages.count(), 0u) << what;
        EXPECT_EQ(t.w.m.CustomDialogForm.loaded(), nullptr) << what;
        EXPECT_TRUE(t.w.m.OperationForm().isVisible());
        EXPECT_EQ(t.selected(true), std::make_pair(c.boxes[0], c.boxes[1])) << what;
        EXPECT_EQ(t.selected(false), std::make_pair(c.boxes[2], c.boxes[3])) << what;
    }
}

TEST(CustomSizes, ACorrectionKeepsUntypedDimensionsOutAndTheLastTypedBoxCounts) {
    Custom t(0);
    t.enter({"6"});
    EXPECT_EQ(t.w.m.MaxMediaWidth, 4);
    EXPECT_EQ(t.boxes(), (Strings{"4.1", "104.14", "", ""}));
    // The second OK takes the corrected width and nothing for the length.
    t.w.m.CustomDialogForm().OKButton.click();
    EXPECT_EQ(t.w.messages.count(), 1u);
    EXPECT_EQ(t.selected(true), std::make_pair(std::string("4.1\" (104.1mm)"), std::string("04100")));
    EXPECT_EQ(t.w.m.OperationForm().LabelWidthCombo.listCount(), 6);
    EXPECT_EQ(t.w.m.OperationForm().LabelLengthCombo.listCount(), 7);
    EXPECT_EQ(t.selected(false).second, "06000");
    // The same size again is found and selected, not added twice.
    t.w.m.OperationForm().LabelWidthCombo.userSelect(0);
    t.enter({"", "104.14"});
    EXPECT_EQ(t.w.m.OperationForm().LabelWidthCombo.listCount(), 6);
    EXPECT_EQ(t.w.m.OperationForm().LabelWidthCombo.listIndex(), 5);
    // After a correction a size typed into the millimetre box counts.
    t.enter({"9"});
    auto& d = t.w.m.CustomDialogForm();
    d.WidthValueMM.userType("100");
    d.OKButton.click();
    EXPECT_EQ(t.selected(true), std::make_pair(std::string("3.9\" (100.0mm)"), std::string("03937")));
    EXPECT_FLOAT_EQ(t.w.m.CustomWidthMM, 100.0f);
}

TEST(CustomSizes, ACodeBeyondTheListsRowsIsAddedAsANewRow) {
    Custom t(4);
    t.w.m.LabelLengthCodes[7] = "00300";  // left from an earlier list
    t.enter({"", "", "0.3"});
    EXPECT_EQ(t.w.m.OperationForm().LabelLengthCombo.listCount(), 8);
    EXPECT_EQ(t.selected(false), std::make_pair(std::string("0.3\" (7.6mm)"), std::string("00300")));
}

TEST(CustomSizes, CancelChangesNothing) {
    Custom t(4);
    auto& d = t.open();
    d.WidthValueInch.userType("2.2");
    d.CancelButton.click();
    EXPECT_EQ(t.w.m.CustomDialogForm.loaded(), nullptr);
    EXPECT_TRUE(t.w.m.OperationForm().isVisible());
    EXPECT_EQ(t.w.m.OperationForm().LabelWidthCombo.listCount(), 5);
    EXPECT_EQ(t.w.m.CustomWidthInch, 0.0f);
    // A fresh dialog opens with empty boxes.
    t.open();
    EXPECT_EQ(t.boxes(), (Strings{"", "", "", ""}));
}

}  // namespace
