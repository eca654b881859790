// Marrowby's settings files: the bytes of a save, a file written by hand
// loaded into the pages, and files that are refused without a change.

#include <gtest/gtest.h>

#include <numeric>

#include "printercfg/core/LabelSize.h"
#include "printercfg/core/SettingsFile.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "support/MarrowbyWorld.h"

using testsupport::readFile;
using testsupport::writeFile;

namespace {

// The records as the format lays them out.
std::string text(const std::string& s) { return std::string{8, 0, static_cast<char>(s.size()), 0} + s; }
std::string num(int v) { return std::string{2, 0, static_cast<char>(v & 255), static_cast<char>((v >> 8) & 255)}; }
std::string nums(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += num(v);
    return out;
}

struct Wizard : testsupport::MarrowbyWorld {
    explicit Wizard(int maxWidth) { m.MaxMediaWidth = maxWidth; }
    // The pages as a save sees them.
    std::string saved() {
        const std::string path = folder.file("snapshot-" + std::to_string(++snapshots) + ".mqz");
        return m.SaveWizardSettings(path) ? readFile(path) : "not saved";
    }
    int snapshots = 0;
};

TEST(MqzFiles, UntouchedPagesSaveAsTheTwentyTwoRecordsOfTheFormat) {
    Wizard w(4);
    EXPECT_EQ(w.saved(), std::string("\x08\x00\x04\x00V1.0", 8) +
                             nums({1, 0, 1, 0, 0, 5, 4, 1, 0, 1, 1, 1, 3, 1, 1, 1, 0, 1, 0, 1, 0}));
}

TEST(MqzFiles, AFileWrittenFromTheFormatLoadsAndSavesBackTheSameRecords) {
    // A 6-inch model: one custom row per list, the width row after the predefined 6.0 in.
    const std::string records = nums({0, 1, 0, 1, 1}) + text("12000") + text("12.0\" (304.8mm)") + text("05500") +
                                text("\x93Wide\x94") + nums({7, 6, 0, 3, 0, -1, 0, 9, 1, 1, 0, -37, 0, 1280, 0, 4});
    Wizard w(6);
    const std::string path = w.folder.file("by-hand.mqz");
    // A newer minor version, and what an older, longer file left behind.
    writeFile(path, text("V1.05") + records + "left behind");
    ASSERT_TRUE(w.m.LoadWizardSettings(path));
    ASSERT_TRUE(w.m.LoadWizardSettings(path));  // once more: the custom rows are not added twice
    // Saved back, the pages give the same records: every value reached its control.
    auto& op = w.m.OperationForm();
    EXPECT_EQ(op.LabelWidthCombo.text() + op.LabelLengthCombo.text(), "\u201cWide\u201d12.0\" (304.8mm)");
    EXPECT_EQ(w.m.LabelWidthCodes.at(6) + w.m.LabelLengthCodes.at(7), "0550012000");
    EXPECT_EQ(w.m.PrinterSetupForm().HorzLabel.caption(), "-0.37");
    EXPECT_EQ(w.saved(), text("V1.0") + records);
}

TEST(MqzFiles, TheWidestHorizontalShiftLoads) {
    Wizard w(4);
    const std::string path = w.folder.file("shift.mqz");
    const std::string records = nums({1, 0, 1, 0, 0, 5, 4, 1, 0, 1, 1, 1, 3, 1, 1, 0, 100, 1, 0, 1, 0});
    writeFile(path, text("V1.0") + records);
    ASSERT_TRUE(w.m.LoadWizardSettings(path));
    EXPECT_EQ(w.saved(), text("V1.0") + records);
}

TEST(MqzFiles, ListsOfAsManyRowsAsTheyHoldLoad) {
    // The predefined rows (five widths on a 4-inch model) and these make the most a list holds.
    const int lengths = printercfg::MaxListRows - static_cast<int>(printercfg::LabelLengthRows().size());
    const int widths = printercfg::MaxListRows - 5;
    std::string rows;
    for (int i = 0; i < lengths; ++i) rows += text("02000") + text("2.0\"");
    for (int i = 0; i < widths; ++i) rows += text("01000") + text("1.0\"");
    Wizard w(4);
    const std::string path = w.folder.file("full.mqz");
    const int last = printercfg::MaxListRows - 1;
    writeFile(path, text("V1.0") + nums({1, 0, 0, lengths, widths}) + rows +
                        nums({last, last, 1, 0, 1, 1, 1, 3, 1, 1, 1, 0, 1, 0, 1, 0}));
    ASSERT_TRUE(w.m.LoadWizardSettings(path));
    for (const ui::ComboBox* list : {&w.m.OperationForm().LabelLengthCombo, &w.m.OperationForm().LabelWidthCombo}) {
        EXPECT_EQ(list->listCount(), printercfg::MaxListRows);
        EXPECT_EQ(list->listIndex(), last);
    }
}

TEST(MqzFiles, RefusedFilesShowTheirNoticeAndLeaveBothPagesAsTheyWere) {
    // A good file for a 4-inch model: one custom length row, no custom width row.
    std::vector<std::string> good = {text("V1.0")};
    for (int v : {1, 0, 0, 1, 0}) good.push_back(num(v));
    good.insert(good.end(), {text("03300"), text("3.3\" (83.8mm)")});
    for (int v : {7, 4, 1, 0, 1, 1, 1, 3, 1, 1, 1, 0, 1, 0, 1, 0}) good.push_back(num(v));
    // Five predefined width rows and these make one more than a list holds.
    const int widthRows = printercfg::MaxListRows - 4;
    std::string tooManyWidths;
    for (int i = 0; i < widthRows; ++i) tooManyWidths += text("01000") + text("1.0\"");
    const std::string incompatible = "Incompatible File Type Detected", damaged = "The file is incomplete or damaged",
                      unfit = "The settings do not fit the selected printer";
    struct Case {
        const char* name;
        std::vector<std::pair<std::size_t, std::string>> edits;  // record index, new bytes
        std::string reason;                                      // empty: no file at all
    };
    const Case cases[] = {
        {"no file", {}, ""},
        {"lower-case version", {{0, text("v1.0")}}, incompatible},
        {"version without V", {{0, text("1.0")}}, incompatible},
        {"Ignore value 2", {{1, num(2)}}, damaged},
        {"Ignore value -1", {{1, num(-1)}}, damaged},
        {"a text for a number", {{1, text("")}}, damaged},
        {"four-digit code", {{6, text("3300")}}, damaged},
        {"six-digit code", {{6, text("033000")}}, damaged},
        {"text outside the code page", {{7, text("\x81")}}, damaged},
        {"horizontal shift too far", {{19, num(101)}}, damaged},
        {"ends inside a record", {{23, std::string("\x02\x00\x01", 3)}}, damaged},
        {"no print mode row", {{2, num(-1)}}, unfit},
        {"6.0 in width on a 4-inch model", {{9, num(5)}}, unfit},
        {"eleventh speed", {{15, num(10)}}, unfit},
        {"more width rows than a list holds",
         {{5, num(widthRows)}, {7, text("3.3\" (83.8mm)") + tooManyWidths}},
         unfit},
    };
    for (const Case& c : cases) {
        Wizard w(4);
        auto& op = w.m.OperationForm();
        op.show();
        op.MediaSizeCB.click();
        op.CustomizeMedia.click();
        w.m.CustomDialogForm().WidthValueInch.userType("3.3");
        w.m.CustomDialogForm().OKButton.click();
        w.m.PrinterSetupForm().GapCB.click();
        const std::string before = w.saved();
        const std::string path = w.folder.file("refused.mqz");
        if (!c.reason.empty()) {
            auto records = good;
            for (const auto& [at, bytes] : c.edits) records[at] = bytes;
            writeFile(path, std::accumulate(records.begin(), records.end(), std::string{}));
        }
        if (w.m.LoadWizardSettings(path)) {
            ADD_FAILURE() << "loaded: " << c.name;
            continue;
        }
        EXPECT_EQ(w.messages.last().text,
                  c.reason.empty() ? "File not found. Please select another file."
                                   : "Error Reading File\r\n" + c.reason + "\r\nUnable to load the saved settings\r\n")
            << c.name;
        EXPECT_EQ(w.messages.last().title, "Notice");
        EXPECT_EQ(&w.m.OperationForm(), &op) << c.name;
        EXPECT_EQ(w.saved(), before) << c.name;
    }
}

}  // namespace
