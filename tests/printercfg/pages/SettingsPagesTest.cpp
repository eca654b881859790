// The media page and the print-settings page: their rows for each model,
// command tables, Ignore boxes, typed texts, shift display and routes.

#include <gtest/gtest.h>

#include "printercfg/core/Dialog.h"
#include "printercfg/core/FinishDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "support/MarrowbyWorld.h"

using testsupport::MarrowbyWorld;
using Strings = std::vector<std::string>;

namespace {

// A model's world with both settings pages loaded, the media page shown.
struct Pages {
    explicit Pages(int maxWidth = 4, int resolution = 2) {
        w.m.MaxMediaWidth = maxWidth;
        w.m.ResolutionClass = resolution;
        w.m.OperationForm().show();
        w.m.PrinterSetupForm();
    }
    MarrowbyWorld w;
    printercfg::Operation& media() { return w.m.OperationForm(); }
    printercfg::PrinterSetup& print() { return w.m.PrinterSetupForm(); }
    template <class T = ui::Control>
    T& get(const std::string& name) {
        ui::Control* c = media().find(name);
        return dynamic_cast<T&>(c ? *c : *print().find(name));
    }
};

std::string join(const auto& entries, std::size_t cut = 0) {
    std::string out;
    for (const std::string& e : entries) out += e.substr(0, e.size() - std::min(cut, e.size())) + "|";
    return out;
}

TEST(MediaPage, SizeRowsDefaultsAndCodesFollowTheModel) {
    const std::string widths = "1.5\" (38.1mm)|2.0\" (50.8mm)|2.5\" (63.5mm)|3.0\" (76.2mm)|4.0\" (101.6mm)|";
    const std::tuple<int, std::string, int, int> cases[] = {{0, widths, 5, 4},
                                                            {4, widths, 5, 4},
                                                            {6, widths + "6.0\" (152.4mm)|", 4, 5},
                                                            {8, widths + "6.0\" (152.4mm)|8.0\" (203.2mm)|", 5, 6}};
    for (const auto& [maxWidth, rows, lengthRow, widthRow] : cases) {
        Pages p(maxWidth);
        auto& op = p.media();
        EXPECT_EQ(join(op.LabelLengthCombo.items()),
                  "1.0\" (25.4mm)|1.5\" (38.1mm)|2.0\" (50.8mm)|3.0\" (76.2mm)|"
                  "4.0\" (101.6mm)|6.0\" (152.4mm)|8.0\" (203.2mm)|");
        EXPECT_EQ(join(op.LabelWidthCombo.items()), rows);
        EXPECT_EQ(op.LabelLengthCombo.listIndex(), lengthRow) << maxWidth;
        EXPECT_EQ(op.LabelWidthCombo.listIndex(), widthRow) << maxWidth;
        EXPECT_EQ(p.w.m.LastFixedLengthRow, 6);
        EXPECT_EQ(p.w.m.LastFixedWidthRow, op.LabelWidthCombo.listCount() - 1);
        // Every width code, also of rows this model does not list, and a spare entry.
        EXPECT_EQ(join(p.w.m.LabelWidthCodes), "01500|02000|02500|03000|04000|06000|08000||");
        EXPECT_EQ(join(p.w.m.LabelLengthCodes), "01000|01500|02000|03000|04000|06000|08000||");
    }
}

TEST(SettingsPages, ListsAndTheirCommandTables) {
    Pages p(6, 3);
    auto& m = p.w.m;
    const std::tuple<const char*, const char*, int, std::string, const char*> cases[] = {
        {"MediaTypeCombo", "Thermal Transfer|Direct Transfer|", 0, join(m.MediaTypeCmds, 2),
         "ENGINE-MODE;X|ENGINE-MODE;D||"},
        {"OrientationCombo", "Portrait|Landscape|Inverse Portrait|Inverse Landscape|", 0, join(m.OrientationCmds, 2),
         "~PAPER;ROTATE 0|~PAPER;ROTATE 90|~PAPER;ROTATE 180|~PAPER;ROTATE 270||"},
        {"DispenseCombo", "Continuous|Tear-off Strip|Peel-off|Cut|", 1, join(m.DispenseCmds, 2),
         "ENGINE-MEDIA_HANDLING;0|ENGINE-MEDIA_HANDLING;1|ENGINE-MEDIA_HANDLING;3|ENGINE-MEDIA_HANDLING;4|||"},
        {"PrintSpeedCombo",
         "1 in/sec (25.4 mm/sec)|2 in/sec (50.8 mm/sec)|3 in/sec (76.2 mm/sec)|4 in/sec (101.6 mm/sec)|"
         "5 in/sec (127 mm/sec)|6 in/sec (152.4 mm/sec)|7 in/sec (177.8 mm/sec)|8 in/sec (203.2 mm/sec)|",
         3, join(m.PrintSpeedCmds, 2),
         "~PAPER;SPEED IPS 1|~PAPER;SPEED IPS 2|~PAPER;SPEED IPS 3|~PAPER;SPEED IPS 4|~PAPER;SPEED IPS 5|"
         "~PAPER;SPEED IPS 6|~PAPER;SPEED IPS 7|~PAPER;SPEED IPS 8|~PAPER;SPEED IPS 9|~PAPER;SPEED IPS 10||"},
        {"GapCombo", "None (Continuous Media)|Gap|Mark|", 1, join(m.GapSensorCmds, 2),
         "~PAPER;LABELS 0|~PAPER;LABELS 2|~PAPER;LABELS 1|~PAPER;LABELS 3|~PAPER;LABELS 4||"},
        {"EmulationCombo", "KRN|TMR|FNZ|GQY|BRQN|JVW|XKPT|YLB|", 0, join(m.EmulationCmds, 2),
         "dvxswitch   .e  1   0x0|dvxswitch   .e  2   0x0|dvxswitch   .e  4   0x0|dvxswitch   .e  5   0x0|"
         "dvxswitch   .e  6   0x0|dvxswitch   .e  7   0x0|dvxswitch   .e  8   0x0|dvxswitch   .e  9   0x0|||"},
        {"HorzShiftUnit", "inch|mm|", 0, "", ""},
        {"VertShiftUnit", "inch|mm|", 0, "", ""},
    };
    for (const auto& [name, items, row, table, commands] : cases) {
        auto& list = p.get<ui::ComboBox>(name);
        EXPECT_EQ(join(list.items()), items);
        EXPECT_EQ(list.listIndex(), row) << name;
        EXPECT_EQ(table, commands);
    }
    EXPECT_EQ(join(Strings{m.MediaTypeCmds[0], m.EmulationCmds[7]}), "ENGINE-MODE;X\r\n|dvxswitch   .e  9   0x0\r\n|");
    // Frame captions leave room for an icon.
    EXPECT_EQ(join(Strings{p.media().Frame1.caption(), p.print().Frame2.caption(), p.print().Frame3.caption()}),
              "         Media Setup|         Sensor Setup|         Emulation Setup|");
}

TEST(PrintSettingsPage, SpeedRowsByModelClassAndTheIgnoreReset) {
    const std::tuple<int, int, int, int> cases[] = {{4, 2, 10, 6}, {4, 3, 10, 6}, {0, 0, 10, 6}, {6, 2, 10, 6},
                                                    {6, 3, 8, 6},  {8, 2, 8, 6},  {8, 3, 6, 3}};
    for (const auto& [width, resolution, rows, resetRow] : cases) {
        Pages p(width, resolution);
        auto& ps = p.print();
        EXPECT_EQ(ps.PrintSpeedCombo.listCount(), rows) << width << "/" << resolution;
        ps.PrintSpeedCB.click();
        ps.PrintSpeedCombo.userSelect(0);
        ps.PrintSpeedCB.click();
        EXPECT_EQ(ps.PrintSpeedCombo.listIndex(), resetRow) << width << "/" << resolution;
    }
}

TEST(SettingsPages, IgnoreBoxesGreyAndResetTheirSettings) {
    // Box, its inputs, and the inputs put back (list row or scroll value) when it is checked.
    const std::tuple<const char*, Strings, std::vector<std::pair<const char*, int>>> cases[] = {
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
    for (const auto& [name, inputs, resets] : cases) {
        Pages p(8);
        auto& box = p.get<ui::CheckBox>(name);
        auto enabled = [&, &inputs = inputs] {
            int n = 0;
            for (const auto& input : inputs) n += p.get(input).enabled();
            return n;
        };
        EXPECT_EQ(box.value(), 1) << name;
        EXPECT_EQ(enabled(), 0) << name;
        p.w.m.SettingsSavedToFile = true;
        box.click();
        EXPECT_EQ(enabled(), static_cast<int>(inputs.size())) << name;
        EXPECT_FALSE(p.w.m.SettingsSavedToFile) << name;
        // Every input away from its reset state, then ignored again.
        for (const auto& [input, value] : resets) {
            if (auto* list = dynamic_cast<ui::ComboBox*>(&p.get(input)))
                list->userSelect(value == 0 ? 1 : 0);
            else
                p.get<ui::ScrollBar>(input).userSet(37);
        }
        p.w.m.SettingsSavedToFile = true;
        box.click();
        EXPECT_EQ(enabled(), 0) << name;
        EXPECT_TRUE(p.w.m.SettingsSavedToFile) << name;
        for (const auto& [input, value] : resets) {
            auto* list = dynamic_cast<ui::ComboBox*>(&p.get(input));
            EXPECT_EQ(list ? list->listIndex() : p.get<ui::ScrollBar>(input).value(), value) << name << input;
        }
    }
}

TEST(SettingsPages, NextRefusesATypedTextThatSelectsNoRow) {
    auto notice = [](const std::string& s) {
        return "Invalid " + s + " entered manually.\r\nPlease use the drop down menu to specify the " + s;
    };
    const std::string size =
        "Invalid media size selected or media size entered manually.\r\n"
        "Please use the drop down menu or Customize button to specify the media size";
    // Box, list, typed text, the notice ("": the page goes on), the row selected afterwards.
    const std::tuple<const char*, const char*, const char*, std::string, int> cases[] = {
        {"MediaSizeCB", "LabelWidthCombo", "2.5\" (63.5mm)", "", 2},
        {"MediaSizeCB", "LabelWidthCombo", "2.5", size, 4},
        {"MediaSizeCB", "LabelLengthCombo", "7 in", size, 5},
        {"OrientationCB", "OrientationCombo", "Landscape", "", 1},
        {"OrientationCB", "OrientationCombo", "landscape", notice("orientation"), -1},
        {"DispenseCB", "DispenseCombo", "Tear off", notice("media handling"), -1},
        {"PrintSpeedCB", "PrintSpeedCombo", "5 in/sec (127 mm/sec)", "", 4},
        {"PrintSpeedCB", "PrintSpeedCombo", "5", notice("print speed"), -1},
        {"GapCB", "GapCombo", "Hole", notice("gap sensor type"), -1},
        {"EmulationCB", "EmulationCombo", "KRN ", notice("active emulation"), -1},
    };
    for (const auto& [box, name, typed, text, row] : cases) {
        Pages p;
        p.w.messages.answer(ui::IDNO);  // no save before the finish page
        p.get<ui::CheckBox>(box).click();
        auto& list = p.get<ui::ComboBox>(name);
        list.userType(typed);
        const bool media = p.media().find(box) != nullptr;
        ui::Form& page = media ? static_cast<ui::Form&>(p.media()) : p.print();
        page.show();
        (media ? p.media().Next : p.print().Finish).click();
        EXPECT_EQ(list.listIndex(), row) << typed;
        EXPECT_EQ(page.isVisible(), !text.empty()) << typed;
        if (!text.empty()) {
            EXPECT_EQ(p.w.messages.last().text, text);
        }
    }
}

TEST(SettingsPages, ShiftsAreShownInInchesOrMillimetres) {
    // Vertical, scroll value, unit row, decimal separator, text.
    const std::tuple<bool, int, int, const char*, const char*> cases[] = {
        {true, 1280, 0, ".", "12.80"}, {true, 1280, 1, ".", "325.12"}, {false, -37, 0, ".", "-0.37"},
        {false, -37, 1, ".", "-9.40"}, {false, 100, 1, ",", "25,40"},  {false, 0, 1, ".", "0.00"},
    };
    for (const auto& [vertical, value, unit, separator, text] : cases) {
        Pages p;
        p.w.m.DecimalSeparator = separator;
        auto& ps = p.print();
        (vertical ? ps.VertCB : ps.HorzCB).click();
        auto& bar = vertical ? ps.VertShiftHScroll : ps.HorzShiftHScroll;
        auto& units = vertical ? ps.VertShiftUnit : ps.HorzShiftUnit;
        bar.userSet(value + 1);
        bar.userSet(value);
        p.w.m.SettingsSavedToFile = true;
        units.userSelect(1 - unit);
        units.userSelect(unit);
        EXPECT_EQ((vertical ? ps.VertLabel : ps.HorzLabel).caption(), text) << value << " " << unit;
        EXPECT_FALSE(p.w.m.SettingsSavedToFile);
    }
    // A typed unit naming a row selects it; loading the page marks nothing unsaved.
    Pages p;
    p.print().HorzCB.click();
    p.print().HorzShiftHScroll.userSet(50);
    p.print().HorzShiftUnit.userType("mm");
    EXPECT_EQ(p.print().HorzLabel.caption(), "12.70");
    p.w.m.SettingsSavedToFile = true;
    p.w.m.PrinterSetupForm.unload();
    EXPECT_EQ(p.print().HorzLabel.caption(), "0.00");
    EXPECT_TRUE(p.w.m.SettingsSavedToFile);
}

TEST(PrintSettingsPage, NextAsksToSaveThenGoesToTheFinishPage) {
    // Box unchecked first ("": none), answer, the page shown afterwards.
    const std::tuple<const char*, int, const char*> cases[] = {
        {"", ui::IDYES, "PrinterSetup"}, {"GapCB", ui::IDYES, "Dialog"}, {"OrientationCB", ui::IDNO, "FinishDialog"}};
    for (const auto& [box, answer, shown] : cases) {
        Pages p;
        p.w.messages.answer(answer);
        if (*box) p.get<ui::CheckBox>(box).click();
        p.print().show();
        p.print().Finish.click();
        ASSERT_EQ(p.w.messages.count(), 1u);
        EXPECT_EQ(p.w.messages.last().text,
                  *box ? "Would you like to save the changes you made in the wizard\r\n"
                         "so you can use it the next time you run this wizard?"
                       : "No settings selected. Please select a setting to change or press cancel to exit");
        EXPECT_EQ(p.w.messages.last().title, *box ? "Save Wizard Settings" : "Notice");
        EXPECT_TRUE(p.w.isShown(shown)) << shown;
        // The settings dialog stands in for the page, as the finish page does.
        EXPECT_EQ(p.print().isVisible(), !*box) << shown;
        if (p.w.m.DialogForm.loaded()) {
            EXPECT_EQ(p.w.m.DialogForm().dialogFlag, 1);
        }
    }
}

TEST(PrintSettingsPage, AnEmulationChangeAsksTheFinishPageForBothOperations) {
    Pages p;
    auto& finish = p.w.m.FinishDialogForm();
    auto boxes = [&] { return std::make_pair(finish.SaveCfgCB.value(), finish.SetPwrUpCB.value()); };
    // Checking the Ignore box asks for both operations to be ignored again.
    p.print().EmulationCB.click();
    finish.SaveCfgCB.setValue(0);
    finish.SetPwrUpCB.setValue(0);
    p.print().EmulationCB.click();
    EXPECT_EQ(boxes(), std::make_pair(1, 1));
    // Next without saving re-applies the emulation rule of the finish page.
    p.print().EmulationCB.click();
    p.w.messages.answer(ui::IDNO);
    p.print().Finish.click();
    EXPECT_EQ(boxes(), std::make_pair(0, 0));
}

TEST(SettingsPages, ButtonsLeadOnAndCancelReadsExitOnceTheSetupWasSent) {
    // Button, the page shown afterwards, whether the page it was on stays shown.
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"Prev", "LoadDlg", false},
        {"Next", "PrinterSetup", false},
        {"CustomizeMedia", "CustomDialog", true},
        {"print Prev", "Operation", false},
    };
    for (const auto& [button, shown, stays] : cases) {
        Pages p;
        p.media().MediaSizeCB.click();
        const bool media = std::string(button) != "print Prev";
        ui::Form& from = media ? static_cast<ui::Form&>(p.media()) : p.print();
        from.show();
        (media ? p.get<ui::CommandButton>(button) : p.print().Prev).click();
        EXPECT_TRUE(p.w.isShown(shown)) << button;
        EXPECT_EQ(from.isVisible(), stays) << button;
    }
    for (bool sent : {false, true}) {
        Pages p;
        p.w.m.PrinterSetupForm.unload();
        p.w.m.SetupSent = sent;
        EXPECT_EQ(p.print().Cancel.caption(), sent ? "Exit" : "Cancel");
        p.w.messages.answer(ui::IDNO);
        p.print().Cancel.click();
        EXPECT_EQ(p.w.messages.count(), sent ? 0u : 1u);
        EXPECT_EQ(p.w.app.ended(), sent);
    }
}

}  // namespace
