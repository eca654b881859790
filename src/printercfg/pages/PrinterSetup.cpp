#include "printercfg/pages/PrinterSetup.h"

#include <charconv>

#include "printercfg/core/Dialog.h"
#include "printercfg/core/FinishDialog.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/core/ModelTable.h"
#include "printercfg/pages/Operation.h"

namespace printercfg {

namespace {

const ListRow PrintSpeedRows[] = {
    {"1 in/sec (25.4 mm/sec)", "~PAPER;SPEED IPS 1"},  {"2 in/sec (50.8 mm/sec)", "~PAPER;SPEED IPS 2"},
    {"3 in/sec (76.2 mm/sec)", "~PAPER;SPEED IPS 3"},  {"4 in/sec (101.6 mm/sec)", "~PAPER;SPEED IPS 4"},
    {"5 in/sec (127 mm/sec)", "~PAPER;SPEED IPS 5"},   {"6 in/sec (152.4 mm/sec)", "~PAPER;SPEED IPS 6"},
    {"7 in/sec (177.8 mm/sec)", "~PAPER;SPEED IPS 7"}, {"8 in/sec (203.2 mm/sec)", "~PAPER;SPEED IPS 8"},
    {"9 in/sec (228.6 mm/sec)", "~PAPER;SPEED IPS 9"}, {"10 in/sec (254 mm/sec)", "~PAPER;SPEED IPS 10"},
};

// Sensor numbers 3 and 4 have a command but no row.
const ListRow GapRows[] = {{"None (Continuous Media)", "~PAPER;LABELS 0"},
                           {"Gap", "~PAPER;LABELS 2"},
                           {"Mark", "~PAPER;LABELS 1"},
                           {nullptr, "~PAPER;LABELS 3"},
                           {nullptr, "~PAPER;LABELS 4"}};

const ListRow EmulationRows[] = {
    {"KRN", "dvxswitch   .e  1   0x0"},  {"TMR", "dvxswitch   .e  2   0x0"},  {"FNZ", "dvxswitch   .e  4   0x0"},
    {"GQY", "dvxswitch   .e  5   0x0"},  {"BRQN", "dvxswitch   .e  6   0x0"}, {"JVW", "dvxswitch   .e  7   0x0"},
    {"XKPT", "dvxswitch   .e  8   0x0"}, {"YLB", "dvxswitch   .e  9   0x0"},
};

const char* const Units[] = {"inch", "mm"};
constexpr int MillimetreRow = 1;

constexpr int PrintSpeedDefaultRow = 3;
constexpr int PrintSpeedResetRow = 6;
constexpr int GapDefaultRow = 1;

// A shift of `value` hundredths of an inch in the unit of `unitRow`, two decimals.
std::string ShiftText(int value, int unitRow, const std::string& separator) {
    double shift = value / 100.0;
    if (unitRow == MillimetreRow) shift *= 25.4;
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, shift, std::chars_format::fixed, 2);
    std::string s(buf, r.ptr);
    if (const auto point = s.find('.'); point != std::string::npos) s.replace(point, 1, separator);
    return s;
}

}  // namespace

PrinterSetup::PrinterSetup(MarrowbyModule& module)
    : Page(module, "PrinterSetup", "Printer Setup - Page 2"),
      Label1(*this, "Label1", "Printer Setup - Page 2"),
      Label2(*this, "Label2", SettingsInstruction),
      Frame1(*this, "Frame1", "         Media Setup"),
      IgnoreLabel(*this, "IgnoreLabel", "Ignore", -1, &Frame1),
      PrintSpeedCB(*this, "PrintSpeedCB", {}, -1, &Frame1),
      PrintSpeedCaption(*this, "PrintSpeedCaption", "Print Speed:", -1, &Frame1),
      PrintSpeedCombo(*this, "PrintSpeedCombo", ui::ComboBox::Style::DropDownCombo, -1, &Frame1),
      HorzCB(*this, "HorzCB", {}, -1, &Frame1),
      HorzCaption(*this, "HorzCaption", "Horizontal Image Shift:", -1, &Frame1),
      HorzShiftHScroll(*this, "HorzShiftHScroll", HorzShiftMin, HorzShiftMax, -1, &Frame1),
      HorzLabel(*this, "HorzLabel", "0", -1, &Frame1),
      HorzShiftUnit(*this, "HorzShiftUnit", ui::ComboBox::Style::DropDownCombo, -1, &Frame1),
      VertCB(*this, "VertCB", {}, -1, &Frame1),
      VertCaption(*this, "VertCaption", "Vertical Image Shift:", -1, &Frame1),
      VertShiftHScroll(*this, "VertShiftHScroll", VertShiftMin, VertShiftMax, -1, &Frame1),
      VertLabel(*this, "VertLabel", "0", -1, &Frame1),
      VertShiftUnit(*this, "VertShiftUnit", ui::ComboBox::Style::DropDownCombo, -1, &Frame1),
      Frame2(*this, "Frame2", "         Sensor Setup"),
      GapCB(*this, "GapCB", {}, -1, &Frame2),
      GapCaption(*this, "GapCaption", "*Gap Sensor Type:", -1, &Frame2),
      GapCombo(*this, "GapCombo", ui::ComboBox::Style::DropDownCombo, -1, &Frame2),
      Frame3(*this, "Frame3", "         Emulation Setup"),
      EmulationCB(*this, "EmulationCB", {}, -1, &Frame3),
      EmulationCaption(*this, "EmulationCaption", "Active Emulation:", -1, &Frame3),
      EmulationCombo(*this, "EmulationCombo", ui::ComboBox::Style::DropDownCombo, -1, &Frame3),
      Prev(*this, "Prev", "< Back"),
      Finish(*this, "Finish", "Next >"),
      Cancel(*this, "Cancel", "Cancel") {
    Label1.setFont(ui::HeadingFont);
    PrintSpeedCaption.setBuddy(&PrintSpeedCombo);
    HorzCaption.setBuddy(&HorzShiftHScroll);
    VertCaption.setBuddy(&VertShiftHScroll);
    GapCaption.setBuddy(&GapCombo);
    EmulationCaption.setBuddy(&EmulationCombo);
    for (ui::ScrollBar* bar : {&HorzShiftHScroll, &VertShiftHScroll}) {
        bar->setValue(0);
        bar->setSteps(1, 10);
        bar->setToolTip("Each step moves the printed image by 0.01 inch");
    }
    HorzShiftUnit.setToolTip("Unit of the horizontal image shift shown");
    VertShiftUnit.setToolTip("Unit of the vertical image shift shown");
    HorzShiftUnit.setSpokenName("Horizontal Image Shift unit");
    VertShiftUnit.setSpokenName("Vertical Image Shift unit");
    Finish.setDefault(true);
    Cancel.setCancel(true);
    // The speed list gets the frame's width; the shifts share their columns.
    layoutGrid({{&IgnoreLabel},
                {&PrintSpeedCB, &PrintSpeedCaption, &PrintSpeedCombo},
                {&HorzCB, &HorzCaption, &HorzShiftHScroll, &HorzLabel, &HorzShiftUnit},
                {&VertCB, &VertCaption, &VertShiftHScroll, &VertLabel, &VertShiftUnit}});
    layoutGrid({{&GapCB, &GapCaption, &GapCombo}});
    layoutGrid({{&EmulationCB, &EmulationCaption, &EmulationCombo}});

    // Every setting starts ignored, its inputs greyed.
    for (ui::CheckBox* box : {&PrintSpeedCB, &HorzCB, &VertCB, &GapCB, &EmulationCB}) {
        box->setValue(1);
        box->setToolTip(IgnoreToolTip);
    }
    EnableInputs({&PrintSpeedCaption, &PrintSpeedCombo, &HorzCaption, &HorzShiftHScroll, &HorzLabel, &HorzShiftUnit,
                  &VertCaption, &VertShiftHScroll, &VertLabel, &VertShiftUnit, &GapCaption, &GapCombo,
                  &EmulationCaption, &EmulationCombo},
                 false);

    PrintSpeedCB.onClick = [this] { PrintSpeedCB_Click(); };
    HorzCB.onClick = [this] { HorzCB_Click(); };
    VertCB.onClick = [this] { VertCB_Click(); };
    GapCB.onClick = [this] { GapCB_Click(); };
    EmulationCB.onClick = [this] { EmulationCB_Click(); };
    HorzShiftHScroll.onChange = [this] { HorzShiftHScroll_Change(); };
    VertShiftHScroll.onChange = [this] { VertShiftHScroll_Change(); };
    // A typed unit that names a row selects it, as a choice from the list does.
    HorzShiftUnit.onClick = HorzShiftUnit.onChange = [this] { HorzShiftUnit_Click(); };
    VertShiftUnit.onClick = VertShiftUnit.onChange = [this] { VertShiftUnit_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Finish.onClick = [this] { Finish_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

void PrinterSetup::Form_Load() {
    FillPrintSpeedList();
    FillGapList();
    settingUnit_ = true;
    FillHorzUnitList();
    FillVertUnitList();
    settingUnit_ = false;
    FillEmulationList();
    if (m_.SetupSent) Cancel.setCaption("Exit");
}

void PrinterSetup::FillPrintSpeedList() {
    const int rows = LimitsFor(m_.MaxMediaWidth).speedRows(m_.ResolutionClass);
    FillList(PrintSpeedCombo, PrintSpeedRows, static_cast<std::size_t>(rows), PrintSpeedDefaultRow, m_.PrintSpeedCmds);
}

void PrinterSetup::FillGapList() { FillList(GapCombo, GapRows, std::size(GapRows), GapDefaultRow, m_.GapSensorCmds); }

void PrinterSetup::FillHorzUnitList() {
    for (const char* unit : Units) HorzShiftUnit.addItem(unit);
    HorzShiftUnit.setListIndex(0);
}

void PrinterSetup::FillVertUnitList() {
    for (const char* unit : Units) VertShiftUnit.addItem(unit);
    VertShiftUnit.setListIndex(0);
}

void PrinterSetup::FillEmulationList() {
    FillList(EmulationCombo, EmulationRows, std::size(EmulationRows), 0, m_.EmulationCmds);
}

void PrinterSetup::PrintSpeedCB_Click() {
    ApplyIgnore(PrintSpeedCB, {&PrintSpeedCaption, &PrintSpeedCombo}, [this] {
        // A six-speed model has no row 6: its load default stands in.
        PrintSpeedCombo.setListIndex(PrintSpeedCombo.listCount() > PrintSpeedResetRow ? PrintSpeedResetRow
                                                                                      : PrintSpeedDefaultRow);
    });
}

void PrinterSetup::GapCB_Click() {
    ApplyIgnore(GapCB, {&GapCaption, &GapCombo}, [this] { GapCombo.setListIndex(GapDefaultRow); });
}

void PrinterSetup::EmulationCB_Click() {
    ApplyIgnore(EmulationCB, {&EmulationCaption, &EmulationCombo}, [this] {
        EmulationCombo.setListIndex(0);
        auto& finish = m_.FinishDialogForm();
        finish.SaveCfgCB.setValue(1);
        finish.SetPwrUpCB.setValue(1);
    });
}

void PrinterSetup::HorzCB_Click() {
    ApplyIgnore(HorzCB, {&HorzCaption, &HorzShiftHScroll, &HorzLabel, &HorzShiftUnit}, [this] {
        settingUnit_ = true;
        HorzShiftUnit.setListIndex(0);
        settingUnit_ = false;
        HorzShiftHScroll.setValue(0);
        HorzShiftHScroll_Change();
    });
}

void PrinterSetup::VertCB_Click() {
    ApplyIgnore(VertCB, {&VertCaption, &VertShiftHScroll, &VertLabel, &VertShiftUnit}, [this] {
        settingUnit_ = true;
        VertShiftUnit.setListIndex(0);
        settingUnit_ = false;
        VertShiftHScroll.setValue(0);
        VertShiftHScroll_Change();
    });
}

void PrinterSetup::HorzShiftHScroll_Change() {
    HorzLabel.setCaption(ShiftText(HorzShiftHScroll.value(), HorzShiftUnit.listIndex(), m_.DecimalSeparator));
}

void PrinterSetup::VertShiftHScroll_Change() {
    VertLabel.setCaption(ShiftText(VertShiftHScroll.value(), VertShiftUnit.listIndex(), m_.DecimalSeparator));
}

void PrinterSetup::HorzShiftUnit_Click() {
    HorzShiftHScroll_Change();
    if (!settingUnit_) m_.SettingsSavedToFile = false;
}

void PrinterSetup::VertShiftUnit_Click() {
    VertShiftHScroll_Change();
    if (!settingUnit_) m_.SettingsSavedToFile = false;
}

void PrinterSetup::Prev_Click() {
    m_.OperationForm().show();
    hide();
}

void PrinterSetup::Finish_Click() {
    m_.CollectChangeFlags();
    if (!m_.SettingsChanged) {
        m_.ShowNotice("No settings selected. Please select a setting to change or press cancel to exit");
        return;
    }
    if (RefuseTypedText(PrintSpeedCB, PrintSpeedCombo, "print speed")) return;
    if (RefuseTypedText(GapCB, GapCombo, "gap sensor type")) return;
    if (RefuseTypedText(EmulationCB, EmulationCombo, "active emulation")) return;
    if (AskSaveWizardSettings()) {
        ShowSaveDialog();
        return;
    }
    hide();
    auto& finish = m_.FinishDialogForm();
    finish.show();
    finish.SetComboBoxes();
}

void PrinterSetup::Cancel_Click() { m_.ConfirmCancel(); }

bool PrinterSetup::AskSaveWizardSettings() {
    return m_.ui().msgBox(foundation::JoinLines({"Would you like to save the changes you made in the wizard",
                                                 "so you can use it the next time you run this wizard?"}),
                          ui::Buttons::YesNo, ui::Icon::Question, 1, "Save Wizard Settings") == ui::IDYES;
}

void PrinterSetup::ShowSaveDialog() {
    auto& dialog = m_.DialogForm();
    dialog.dialogFlag = 1;
    dialog.Open();
}

}  // namespace printercfg
