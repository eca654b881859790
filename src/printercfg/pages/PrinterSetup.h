#pragma once
// "Printer Setup - Page 2", the print-settings page: print speed, the two
// image shifts, gap sensor and active emulation, each with its Ignore box.
// Loading it fills the module's speed, gap sensor and emulation tables.

#include "printercfg/core/Page.h"
#include "ui/Control.h"

namespace printercfg {

class PrinterSetup : public Page {
public:
    explicit PrinterSetup(MarrowbyModule& module);

    ui::Label Label1;
    ui::Label Label2;
    ui::Frame Frame1;
    ui::Label IgnoreLabel;
    ui::CheckBox PrintSpeedCB;
    ui::Label PrintSpeedCaption;
    ui::ComboBox PrintSpeedCombo;
    ui::CheckBox HorzCB;
    ui::Label HorzCaption;
    ui::ScrollBar HorzShiftHScroll;
    ui::Label HorzLabel;
    ui::ComboBox HorzShiftUnit;
    ui::CheckBox VertCB;
    ui::Label VertCaption;
    ui::ScrollBar VertShiftHScroll;
    ui::Label VertLabel;
    ui::ComboBox VertShiftUnit;
    ui::Frame Frame2;
    ui::CheckBox GapCB;
    ui::Label GapCaption;
    ui::ComboBox GapCombo;
    ui::Frame Frame3;
    ui::CheckBox EmulationCB;
    ui::Label EmulationCaption;
    ui::ComboBox EmulationCombo;
    ui::CommandButton Prev;
    ui::CommandButton Finish;
    ui::CommandButton Cancel;

    // Shift ranges, in hundredths of an inch.
    static constexpr int HorzShiftMin = -100, HorzShiftMax = 100;
    static constexpr int VertShiftMin = -100, VertShiftMax = 1280;

    void Prev_Click();
    void Finish_Click();
    void Cancel_Click();
    void PrintSpeedCB_Click();
    void GapCB_Click();
    void EmulationCB_Click();
    void HorzCB_Click();
    void VertCB_Click();
    void HorzShiftHScroll_Change();
    void VertShiftHScroll_Change();
    void HorzShiftUnit_Click();
    void VertShiftUnit_Click();

protected:
    void Form_Load() override;

private:
    void FillPrintSpeedList();
    void FillGapList();
    void FillHorzUnitList();
    void FillVertUnitList();
    void FillEmulationList();
    // True when the user chose to save the wizard settings first.
    bool AskSaveWizardSettings();
    void ShowSaveDialog();

    // Set while the page itself selects a unit (loading, an Ignore box):
    // only a user's choice of unit marks the settings unsaved.
    bool settingUnit_ = false;
};

}  // namespace printercfg
