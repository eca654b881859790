// The custom label size dialog: typed sizes in either unit, the model's
// limits, and the rows it selects or adds on the media page.

#include <gtest/gtest.h>

#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "support/MarrowbyWorld.h"

using Strings = std::vector<std::string>;

namespace {

struct Custom {
    explicit Custom(int maxWidth) {
        w.m.MaxMediaWidth = maxWidth;
        w.m.OperationForm().show();
        w.m.OperationForm().MediaSizeCB.click();
    }
    testsupport::MarrowbyWorld w;
    printercfg::CustomDialog& d() { return w.m.CustomDialogForm(); }
    // Opens the dialog, types the non-empty texts (width inch, width mm, length inch, length mm) and clicks OK.
    void enter(const Strings& typed) {
        w.m.OperationForm().CustomizeMedia.click();
        ui::TextBox* boxes[] = {&d().WidthValueInch, &d().WidthValueMM, &d().HeightValueInch, &d().HeightValueMM};
        for (std::size_t i = 0; i < typed.size(); ++i)
            if (!typed[i].empty()) boxes[i]->userType(typed[i]);
        d().OKButton.click();
    }
    // The four boxes while the dialog is open, else the selected width and length rows with their codes.
    Strings outcome() {
        if (w.m.CustomDialogForm.loaded())
            return {d().WidthValueInch.text(), d().WidthValueMM.text(), d().HeightValueInch.text(),
                    d().HeightValueMM.text()};
        auto& op = w.m.OperationForm();
        const auto width = static_cast<std::size_t>(op.LabelWidthCombo.listIndex());
        const auto length = static_cast<std::size_t>(op.LabelLengthCombo.listIndex());
        return {op.LabelWidthCombo.text(), w.m.LabelWidthCodes.at(width), op.LabelLengthCombo.text(),
                w.m.LabelLengthCodes.at(length)};
    }
};

TEST(CustomSizes, AcceptedSizesSelectOrAddRowsAndOthersKeepTheDialogOpen) {
    const std::string exceeded =
        "Allowable Form Dimension(s) Exceeded!\r\n"
        "The dimension(s) have been changed to reflect the minimum/maximum allowable";
    const std::string noNumber =
        "Invalid Form Dimension(s) Entered!\r\n"
        "Please enter each dimension as a number, in inches or in mm";
    const Strings unchanged{"4.0\" (101.6mm)", "04000", "6.0\" (152.4mm)", "06000"};
    // Head width, decimal separator, typed texts, notice ("": none), outcome.
    const std::tuple<int, const char*, Strings, std::string, Strings> cases[] = {
        {4, ".", {"", "101.6"}, "", unchanged},
        {4, ".", {}, "", unchanged},
        {4, ".", {"", "50"}, "", {"2.0\" (50.0mm)", "01969", "6.0\" (152.4mm)", "06000"}},
        {4, ".", {"2", "76.2"}, "", {"3.0\" (76.2mm)", "03000", "6.0\" (152.4mm)", "06000"}},  // typed last counts
        {4, ".", {"", "", "99.005"}, "", {"4.0\" (101.6mm)", "04000", "99.0\" (2514.7mm)", "99005"}},
        {4, ",", {"4,1", "", " 2.5 "}, "", {"4.1\" (104.1mm)", "04100", "2.5\" (63.5mm)", "02500"}},
        {8, ".", {"8.1"}, "", {"8.1\" (205.7mm)", "08100", "6.0\" (152.4mm)", "06000"}},
        {4, ".", {"6"}, exceeded, {"4.1", "104.14", "", ""}},
        {6, ".", {"6.2"}, exceeded, {"6.1", "154.94", "", ""}},
        {0, ".", {"5"}, exceeded, {"4.1", "104.14", "", ""}},
        {4, ".", {"0.8"}, "", {"0.8\" (20.3mm)", "00800", "6.0\" (152.4mm)", "06000"}},
        {4, ".", {"0.5"}, exceeded, {"0.8", "20.32", "", ""}},
        {4, ",", {"4.1", "", "-1"}, exceeded, {"4,1", "104,14", "0,25", "6,35"}},
        {4, ".", {"", "", "", "3200"}, exceeded, {"", "", "99", "2514.6"}},
        {4, ".", {"abc", "", "3"}, noNumber, {"abc", "", "3", ""}},
        {4, ".", {"4,1"}, noNumber, {"4,1", "", "", ""}},
    };
    for (const auto& [maxWidth, separator, typed, notice, outcome] : cases) {
        Custom t(maxWidth);
        t.w.m.DecimalSeparator = separator;
        t.enter(typed);
        EXPECT_EQ(t.w.messages.count(), notice.empty() ? 0u : 1u);
        if (!notice.empty()) {
            EXPECT_EQ(t.w.messages.last().text, notice);
        }
        EXPECT_EQ(t.outcome(), outcome);
        EXPECT_EQ(t.w.m.MaxMediaWidth, std::max(maxWidth, 4));
    }
}

TEST(CustomSizes, ACorrectionKeepsUntypedDimensionsOutAndTheLastTypedBoxCounts) {
    Custom t(4);
    t.enter({"6"});
    // The second OK takes the corrected width and nothing for the length.
    t.d().OKButton.click();
    EXPECT_EQ(t.outcome(), (Strings{"4.1\" (104.1mm)", "04100", "6.0\" (152.4mm)", "06000"}));
    EXPECT_EQ(t.w.m.OperationForm().LabelLengthCombo.listCount(), 7);
    // The same size again is found, not added twice.
    t.enter({"", "104.14"});
    EXPECT_EQ(t.w.m.OperationForm().LabelWidthCombo.listCount(), 6);
    // After a correction a size typed into the millimetre box counts.
    t.enter({"9"});
    t.d().WidthValueMM.userType("100");
    t.d().OKButton.click();
    EXPECT_EQ(t.outcome()[1], "03937");
    // A code left beyond the list's rows is not found: the size gets a row of its own.
    t.w.m.LabelLengthCodes[7] = "00300";
    t.enter({"", "", "0.3"});
    EXPECT_EQ(t.outcome()[2], "0.3\" (7.6mm)");
    EXPECT_EQ(t.w.m.OperationForm().LabelLengthCombo.listIndex(), 7);
    // Cancel changes nothing.
    t.enter({});
    t.w.m.OperationForm().CustomizeMedia.click();
    t.d().WidthValueInch.userType("2.2");
    t.d().CancelButton.click();
    EXPECT_EQ(t.w.m.CustomDialogForm.loaded(), nullptr);
    EXPECT_EQ(t.w.m.OperationForm().LabelWidthCombo.listCount(), 7);
}

}  // namespace
