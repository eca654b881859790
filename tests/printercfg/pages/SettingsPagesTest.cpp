// The media page and the print-settings page: their rows for each model,
// command tables, Ignore boxes, typed texts, shift display and routes.

#include <gtest/gtest.h>

#include "printercfg/core/Dialog.h"
#include "printercfg/core/FinishDialog.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "support/MarrowbyWorld.h"

using printercfg::Operation;
using printercfg::PrinterSetup;
using testsupport::MarrowbyWorld;
using Strings = std::vector<std::string>;

namespace {

// A model's world with both settings pages loaded.
struct Pages {
    explicit Pages(int maxWidth = 4, int resolution = 2) {
        w.m.MaxMediaWidth = maxWidth;
        w.m.ResolutionClass = resolution;
        w.m.OperationForm().show();
        w.m.PrinterSetupForm();
    }
    MarrowbyWorld w;
    Operation& media() { return w.m.OperationForm(); }
    PrinterSetup& print() { return w.m.PrinterSetupForm(); }
    template <class T>
    T& get(const std::string& name) {
        ui::Control* c = media().find(name);
        if (!c) c = print().find(name);
        if (!c) throw std::invalid_argument(name);
        return dynamic_cast<T&>(*c);
    }
};

const char* const InchRows[] = {"1.0\" (25.4mm)", "1.5\" (38.1mm)", "2.0\" (50.8mm)", "2.5\" (63.5mm)",
                                "3.0\" (76.2mm)", "4.0\" (101.6mm)", "6.0\" (152.4mm)", "8.0\" (203.2mm)"};

TEST(MediaPage, SizeRowsDefaultsAndCodesFollowTheModel) {
    struct Case {
        int maxWidth, widthRows, lengthRow, widthRow;
    };
    const Case cases[] = {{0, 5, 5, 4}, {4, 5, 5, 4}, {6, 6, 4, 5}, {8, 7, 5, 6}};
    const Strings lengths{InchRows[0], InchRows[1], InchRows[2], InchRows[4], InchRows[5], InchRows[6], InchRows[7]};
    const Strings widths{InchRows[1], InchRows[2], InchRows[3], InchRows[4], InchRows[5], InchRows[6], InchRows[7]};
    for (const auto& c : cases) {
        Pages p(c.maxWidth);
        auto& op = p.media();
        EXPECT_EQ(op.LabelLengthCombo.items(), lengths) << c.maxWidth;
        EXPECT_EQ(op.LabelWidthCombo.items(), Strings(widths.begin(), widths.begin() + c.widthRows)) << c.maxWidth;
        EXPECT_EQ(op.LabelLengthCombo.listIndex(), c.lengthRow) << c.maxWidth;
        EXPECT_EQ(op.LabelWidthCombo.listIndex(), c.widthRow) << c.maxWidth;
        EXPECT_EQ(p.w.m.LastFixedLengthRow, 6);
        EXPECT_EQ(p.w.m.LastFixedWidthRow, c.widthRows - 1) << c.maxWidth;
        // Every width code, also of rows this model does not list, and a spare entry.
        EXPECT_EQ(p.w.m.LabelWidthCodes, (Strings{"01500", "02000", "02500", "03000", "04000", "06000", "08000", ""}));
        EXPECT_EQ(p.w.m.LabelLengthCodes, (Strings{"01000", "01500", "02000", "03000", "04000", "06000", "08000", ""}));
    }
}

TEST(SettingsPages, ListsAndTheirCommandTables) {
    Pages p(6, 3);
    auto& m = p.w.m;
    auto rows = [](const std::string& prefix, int n) {
        Strings out;
        for (int i = 1; i <= n; ++i) out.push_back(prefix + std::to_string(i));
        return out;
    };
    const Strings speeds{"1 in/sec (25.4 mm/sec)",  "2 in/sec (50.8 mm/sec)",  "3 in/sec (76.2 mm/sec)",
                         "4 in/sec (101.6 mm/sec)", "5 in/sec (127 mm/sec)",   "6 in/sec (152.4 mm/sec)",
                         "7 in/sec (177.8 mm/sec)", "8 in/sec (203.2 mm/sec)"};
    Strings speedCmds;
    for (const auto& s : rows("~PAPER;SPEED IPS ", 10)) speedCmds.push_back(s + "\r\n");
    speedCmds.push_back("");
    struct Case {
        const char* list;
        Strings items;
        int defaultRow;
        Strings table, expected;
    };
    auto crlf = [](Strings s) {
        for (auto& x : s)
            if (!x.empty()) x += "\r\n";
        return s;
    };
    const Case cases[] = {
        {"MediaTypeCombo", {"Thermal Transfer", "Direct Transfer"}, 0,
         Strings(m.MediaTypeCmds.begin(), m.MediaTypeCmds.end()), crlf({"ENGINE-MODE;X", "ENGINE-MODE;D", ""})},
        {"OrientationCombo", {"Portrait", "Landscape", "Inverse Portrait", "Inverse Landscape"}, 0,
         Strings(m.OrientationCmds.begin(), m.OrientationCmds.end()),
         crlf({"~PAPER;ROTATE 0", "~PAPER;ROTATE 90", "~PAPER;ROTATE 180", "~PAPER;ROTATE 270", ""})},
        {"DispenseCombo", {"Continuous", "Tear-off Strip", "Peel-off", "Cut"}, 1,
         Strings(m.DispenseCmds.begin(), m.DispenseCmds.end()),
         crlf({"ENGINE-MEDIA_HANDLING;0", "ENGINE-MEDIA_HANDLING;1", "ENGINE-MEDIA_HANDLING;3",
               "ENGINE-MEDIA_HANDLING;4", "", ""})},
        {"PrintSpeedCombo", speeds, 3, Strings(m.PrintSpeedCmds.begin(), m.PrintSpeedCmds.end()), speedCmds},
        {"GapCombo", {"None (Continuous Media)", "Gap", "Mark"}, 1,
         Strings(m.GapSensorCmds.begin(), m.GapSensorCmds.end()),
         crlf({"~PAPER;LABELS 0", "~PAPER;LABELS 2", "~PAPER;LABELS 1", "~PAPER;LABELS 3", "~PAPER;LABELS 4", ""})},
        {"EmulationCombo", {"KRN", "TMR", "FNZ", "GQY", "BRQN", "JVW", "XKPT", "YLB"}, 0,
         Strings(m.EmulationCmds.begin(), m.EmulationCmds.end()),
         crlf({"dvxswitch   .e  1   0x0", "dvxswitch   .e  2   0x0", "dvxswitch   .e  4   0x0",
               "dvxswitch   .e  5   0x0", "dvxswitch   .e  6   0x0", "dvxswitch   .e  7   0x0",
               "dvxswitch   .e  8   0x0", "dvxswitch   .e  9   0x0", "", ""})},
        {"HorzShiftUnit", {"inch", "mm"}, 0, {}, {}},
        {"VertShiftUnit", {"inch", "mm"}, 0, {}, {}},
    };
    for (const auto& c : cases) {
        auto& list = p.get<ui::ComboBox>(c.list);
        EXPECT_EQ(list.items(), c.items) << c.list;
        EXPECT_EQ(list.listIndex(), c.defaultRow) << c.list;
        EXPECT_EQ(c.table, c.expected) << c.list;
    }
    // Frame captions leave room for an icon.
    EXPECT_EQ(p.media().Frame1.caption(), "         Media Setup");
    EXPECT_EQ(p.print().Frame1.caption(), "         Media Setup");
    EXPECT_EQ(p.print().Frame2.caption(), "         Sensor Setup");
    EXPECT_EQ(p.print().Frame3.caption(), "         Emulation Setup");
    EXPECT_EQ(p.media().MediaTypeCombo.style(), ui::ComboBox::Style::DropDownList);
    EXPECT_EQ(p.media().OrientationCombo.style(), ui::ComboBox::Style::DropDownCombo);
}

TEST(PrintSettingsPage, SpeedRowsByModelClassAndTheIgnoreReset) {
    struct Case {
        int maxWidth, resolution, rows, resetRow;
    };
    const Case cases[] = {{4, 2, 10, 6}, {4, 3, 10, 6}, {0, 0, 10, 6}, {6, 2, 10, 6},
                          {6, 3, 8, 6},  {8, 2, 8, 6},   {8, 3, 6, 3}};
    for (const auto& c : cases) {
        Pages p(c.maxWidth, c.resolution);
        auto& ps = p.print();
        EXPECT_EQ(ps.PrintSpeedCombo.listCount(), c.rows) << c.maxWidth << "/" << c.resolution;
        ps.PrintSpeedCB.click();
        ps.PrintSpeedCombo.userSelect(0);
        ps.PrintSpeedCB.click();
        EXPECT_EQ(ps.PrintSpeedCombo.listIndex(), c.resetRow) << c.maxWidth << "/" << c.resolution;
    }
}

TEST(SettingsPages, IgnoreBoxesGreyAndResetTheirSettings) {
    struct Case {
        const char* box;
        Strings inputs;
        std::vector<std::pair<const char*, int>> resets;  // list row or scroll value after checking
    };
    const Case cases[] = {
        {"MediaTypeCB", {"MediaTypeCaption", "MediaTypeCombo"}, {{"MediaTypeCombo", 0}}},
        {"MediaSizeCB",
         {"LabelLengthCaption", "LabelLengthCombo", "LabelWidthCaption", "LabelWidthCombo", "CustomizeMedia"},
         {{"LabelLengthCombo", 5}, {"LabelWidthCombo", 4}}},
        {"OrientationCB", {"OrientationCaption", "OrientationCombo"}, {{"OrientationCombo", 0}}},
        {"DispenseCB", {"DispenseCaption", "DispenseCombo"}, {{"DispenseCombo", 1}}},
        {"PrintSpeedCB", {"PrintSpeedCaption", "PrintSpeedCombo"}, {{"PrintSpeedCombo", 6}}},
        {"GapCB", {"GapCaption", "GapCombo"}, {{"GapCombo", 1}}},
        {"EmulationCB", {"EmulationCaption", "EmulationCombo"}, {{"EmulationCombo", 0}}},
        {"HorzCB",
         {"HorzCaption", "HorzShiftHScroll", "HorzLabel", "HorzShiftUnit"},
         {{"HorzShiftUnit", 0}, {"HorzShiftHScroll", 0}}},
        {"VertCB",
         {"VertCaption", "VertShiftHScroll", "VertLabel", "VertShiftUnit"},
         {{"VertShiftUnit", 0}, {"VertShiftHScroll", 0}}},
    };
    for (const auto& c : cases) {
        Pages p(8);
        auto& box = p.get<ui::CheckBox>(c.box);
        auto inputsEnabled = [&](bool on) {
            for (const auto& name : c.inputs) EXPECT_EQ(p.get<ui::Control>(name).enabled(), on) << c.box << name;
        };
        EXPECT_EQ(box.value(), 1) << c.box;
        inputsEnabled(false);
        p.w.m.SettingsSavedToFile = true;
        box.click();
        inputsEnabled(true);
        EXPECT_FALSE(p.w.m.SettingsSavedToFile) << c.box;
        // Move every input away from its reset state, then ignore it again.
        for (const auto& [name, value] : c.resets) {
            if (auto* list = dynamic_cast<ui::ComboBox*>(&p.get<ui::Control>(name)))
                list->userSelect(value == 0 ? 1 : 0);
            else
                p.get<ui::ScrollBar>(name).userSet(37);
        }
        p.w.m.SettingsSavedToFile = true;
        box.click();
        inputsEnabled(false);
        EXPECT_TRUE(p.w.m.SettingsSavedToFile) << c.box;
        for (const auto& [name, value] : c.resets) {
            auto& control = p.get<ui::Control>(name);
            const int got = control.kind() == ui::Kind::ComboBox ? dynamic_cast<ui::ComboBox&>(control).listIndex()
                                                                 : dynamic_cast<ui::ScrollBar&>(control).value();
            EXPECT_EQ(got, value) << c.box << name;
        }
    }
}

TEST(SettingsPages, NextRefusesATypedTextThatSelectsNoRow) {
    const char* const sizeNotice =
        "Invalid media size selected or media size entered manually.\r\n"
        "Please use the drop down menu or Customize button to specify the media size";
    struct Case {
        const char* box;
        const char* list;
        const char* typed;
        const char* notice;  // nullptr: the page goes on with the row of that text
        int row;
    };
    const Case cases[] = {
        {"MediaSizeCB", "LabelWidthCombo", "2.5\" (63.5mm)", nullptr, 2},
        {"MediaSizeCB", "LabelWidthCombo", "2.5", sizeNotice, 4},
        {"MediaSizeCB", "LabelLengthCombo", "7 in", sizeNotice, 5},
        {"OrientationCB", "OrientationCombo", "Landscape", nullptr, 1},
        {"OrientationCB", "OrientationCombo", "landscape",
         "Invalid orientation entered manually.\r\nPlease use the drop down menu to specify the orientation", -1},
        {"DispenseCB", "DispenseCombo", "Cut", nullptr, 3},
        {"DispenseCB", "DispenseCombo", "Tear off",
         "Invalid media handling entered manually.\r\nPlease use the drop down menu to specify the media handling", -1},
        {"PrintSpeedCB", "PrintSpeedCombo", "5 in/sec (127 mm/sec)", nullptr, 4},
        {"PrintSpeedCB", "PrintSpeedCombo", "5",
         "Invalid print speed entered manually.\r\nPlease use the drop down menu to specify the print speed", -1},
        {"GapCB", "GapCombo", "Hole",
         "Invalid gap sensor type entered manually.\r\nPlease use the drop down menu to specify the gap sensor type",
         -1},
        {"EmulationCB", "EmulationCombo", "KRN ",
         "Invalid active emulation entered manually.\r\nPlease use the drop down menu to specify the active emulation",
         -1},
    };
    for (const auto& c : cases) {
        Pages p;
        p.w.messages.answer(ui::IDNO);  // no save before the finish page
        p.get<ui::CheckBox>(c.box).click();
        auto& list = p.get<ui::ComboBox>(c.list);
        list.userType(c.typed);
        const bool onMedia = p.media().find(c.box) != nullptr;
        ui::Form& page = onMedia ? static_cast<ui::Form&>(p.media()) : p.print();
        if (!onMedia) p.print().show();
        (onMedia ? p.media().Next : p.print().Finish).click();
        EXPECT_EQ(list.listIndex(), c.row) << c.typed;
        if (c.notice) {
            ASSERT_EQ(p.w.messages.count(), 1u) << c.typed;
            EXPECT_EQ(p.w.messages.last().text, c.notice);
            EXPECT_EQ(p.w.messages.last().title, "Notice");
            EXPECT_TRUE(page.isVisible()) << c.typed;
        } else {
            EXPECT_FALSE(page.isVisible()) << c.typed;
        }
    }
}

TEST(SettingsPages, ShiftsAreShownInInchesOrMillimetres) {
    struct Case {
        bool vertical;
        int value, unit;
        const char* separator;
        const char* text;
    };
    const Case cases[] = {
        {true, 1280, 0, ".", "12.80"}, {true, 1280, 1, ".", "325.12"}, {false, -37, 0, ".", "-0.37"},
        {false, -37, 1, ".", "-9.40"}, {false, 100, 1, ",", "25,40"},  {true, -100, 0, ".", "-1.00"},
        {false, 0, 1, ".", "0.00"},
    };
    for (const auto& c : cases) {
        Pages p;
        p.w.m.DecimalSeparator = c.separator;
        auto& ps = p.print();
        auto& box = c.vertical ? ps.VertCB : ps.HorzCB;
        auto& bar = c.vertical ? ps.VertShiftHScroll : ps.HorzShiftHScroll;
        auto& unit = c.vertical ? ps.VertShiftUnit : ps.HorzShiftUnit;
        auto& label = c.vertical ? ps.VertLabel : ps.HorzLabel;
        EXPECT_EQ(label.caption(), "0.00");  // drawn when the page selects its unit
        box.click();
        bar.userSet(c.value + 1);
        bar.userSet(c.value);
        p.w.m.SettingsSavedToFile = true;
        unit.userSelect(c.unit == 0 ? 1 : 0);
        unit.userSelect(c.unit);
        EXPECT_EQ(label.caption(), c.text) << c.value << " " << c.unit;
        EXPECT_FALSE(p.w.m.SettingsSavedToFile);
    }
    // Ranges; a typed unit naming a row selects it, any other shows inches.
    Pages p;
    auto& ps = p.print();
    EXPECT_EQ(ps.HorzShiftHScroll.min(), -100);
    EXPECT_EQ(ps.HorzShiftHScroll.max(), 100);
    EXPECT_EQ(ps.VertShiftHScroll.min(), -100);
    EXPECT_EQ(ps.VertShiftHScroll.max(), 1280);
    ps.HorzCB.click();
    ps.HorzShiftHScroll.userSet(50);
    ps.HorzShiftUnit.userType("mm");
    EXPECT_EQ(ps.HorzLabel.caption(), "12.70");
    ps.HorzShiftUnit.userType("cm");
    EXPECT_EQ(ps.HorzLabel.caption(), "0.50");
    // Loading the page selects its units without marking the settings unsaved.
    p.w.m.SettingsSavedToFile = true;
    p.w.m.PrinterSetupForm.unload();
    p.print();
    EXPECT_TRUE(p.w.m.SettingsSavedToFile);
}

TEST(PrintSettingsPage, NextAsksToSaveThenGoesToTheFinishPage) {
    struct Case {
        const char* box;  // nullptr: nothing to change
        int answer;
    };
    const Case cases[] = {{nullptr, ui::IDYES}, {"GapCB", ui::IDYES}, {"OrientationCB", ui::IDNO}};
    for (const auto& c : cases) {
        Pages p;
        p.w.messages.answer(c.answer);
        if (c.box) p.get<ui::CheckBox>(c.box).click();
        p.print().show();
        p.print().Finish.click();
        ASSERT_EQ(p.w.messages.count(), 1u);
        const auto& box = p.w.messages.last();
        if (!c.box) {
            EXPECT_EQ(box.text, "No settings selected. Please select a setting to change or press cancel to exit");
            EXPECT_EQ(box.title, "Notice");
            EXPECT_TRUE(p.print().isVisible());
            continue;
        }
        EXPECT_EQ(box.text,
                  "Would you like to save the changes you made in the wizard\r\n"
                  "so you can use it the next time you run this wizard?");
        EXPECT_EQ(box.title, "Save Wizard Settings");
        EXPECT_EQ(box.icon, ui::Icon::Question);
        EXPECT_EQ(box.buttons, ui::Buttons::YesNo);
        EXPECT_EQ(box.defaultButton, 1);
        const bool save = c.answer == ui::IDYES;
        EXPECT_EQ(p.print().isVisible(), save);
        ASSERT_EQ(p.w.m.DialogForm.loaded() != nullptr, save);
        if (save) {
            EXPECT_EQ(p.w.m.DialogForm().dialogFlag, 1);
            EXPECT_TRUE(p.w.m.DialogForm().isVisible());
        }
        ASSERT_EQ(p.w.m.FinishDialogForm.loaded() != nullptr, !save);
        if (!save) {
            EXPECT_TRUE(p.w.m.FinishDialogForm().isVisible());
        }
    }
}

TEST(PrintSettingsPage, AnEmulationChangeAsksTheFinishPageForBothOperations) {
    Pages p;
    auto& finish = p.w.m.FinishDialogForm();
    // Checking the box asks for both operations to be ignored again.
    p.print().EmulationCB.click();
    finish.SaveCfgCB.setValue(0);
    finish.SetPwrUpCB.setValue(0);
    p.print().EmulationCB.click();
    EXPECT_EQ(finish.SaveCfgCB.value(), 1);
    EXPECT_EQ(finish.SetPwrUpCB.value(), 1);
    // Next without saving re-applies the emulation rule of the finish page.
    p.print().EmulationCB.click();
    p.w.messages.answer(ui::IDNO);
    p.print().Finish.click();
    EXPECT_TRUE(finish.isVisible());
    EXPECT_EQ(finish.SaveCfgCB.value(), 0);
    EXPECT_EQ(finish.SetPwrUpCB.value(), 0);
    // A fresh finish page is loaded for the Ignore box.
    Pages q;
    q.print().EmulationCB.setValue(0);
    q.print().EmulationCB.setValue(1);
    EXPECT_NE(q.w.m.FinishDialogForm.loaded(), nullptr);
}

TEST(SettingsPages, ButtonsLeadOnAndCancelReadsExitOnceTheSetupWasSent) {
    struct Case {
        const char* action;
        const char* shown;
        bool stays;
    };
    const Case cases[] = {
        {"media Back", "LoadDlg", false},     {"media Next", "PrinterSetup", false},
        {"Customize", "CustomDialog", true}, {"Load_Click", "Dialog", true},
        {"print Back", "Operation", false},
    };
    for (const auto& c : cases) {
        Pages p;
        const std::string action = c.action;
        p.media().MediaSizeCB.click();
        const bool media = action != "print Back";
        ui::Form& from = media ? static_cast<ui::Form&>(p.media()) : p.print();
        from.show();
        if (action == "media Back") p.media().Prev.click();
        if (action == "media Next") p.media().Next.click();
        if (action == "Customize") p.media().CustomizeMedia.click();
        if (action == "Load_Click") p.media().Load_Click();
        if (action == "print Back") p.print().Prev.click();
        const ui::Form* shown = nullptr;
        for (const ui::Form* f : p.w.app.loadedForms())
            if (f->name() == c.shown) shown = f;
        ASSERT_NE(shown, nullptr) << action;
        EXPECT_TRUE(shown->isVisible()) << action;
        EXPECT_EQ(from.isVisible(), c.stays) << action;
        if (action == "Load_Click") {
            EXPECT_EQ(p.w.m.DialogForm().dialogFlag, 0);
        }
    }
    for (bool sent : {false, true}) {
        Pages p;
        p.w.m.PrinterSetupForm.unload();
        p.w.m.SetupSent = sent;
        EXPECT_EQ(p.print().Cancel.caption(), sent ? "Exit" : "Cancel");
        EXPECT_EQ(p.media().Cancel.caption(), "Cancel");
        p.w.messages.answer(ui::IDNO);
        p.print().Cancel.click();
        EXPECT_EQ(p.w.messages.count(), sent ? 0u : 1u);
        EXPECT_EQ(p.w.app.ended(), sent);
    }
}

TEST(MediaPage, SizesAreFoundByTheirCodeInTheWholeTable) {
    Pages p;
    p.w.m.LabelLengthCodes[7] = "00250";
    const std::tuple<bool, float, int> cases[] = {
        {true, 2.5f, 2}, {true, 2.54f, -1}, {true, 6.0f, 5}, {true, 8.0f, 6}, {false, 0.25f, 7}, {false, 1.0f, 0},
        {false, 5.0f, -1},
    };
    for (const auto& [width, inches, row] : cases)
        EXPECT_EQ(width ? p.media().LabelWidthExist(inches) : p.media().LabelLengthExist(inches), row) << inches;
}

}  // namespace
