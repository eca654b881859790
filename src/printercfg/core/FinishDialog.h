#pragma once
// "Send Wizard Settings": names the printer, offers to save the resulting
// settings into one of the printer's eight configurations and to choose the
// configuration it loads at power-up, asks before a calibration and before
// overwriting a configuration, and starts the send.

#include "printercfg/core/Page.h"
#include "ui/Control.h"

namespace printercfg {

class FinishDialog : public Page {
public:
    explicit FinishDialog(MarrowbyModule& module);

    ui::Label Label1;
    ui::Label Label3;
    ui::Label SelectedPrinterName;
    ui::Label Label4;
    ui::Label Ignore;
    ui::CheckBox SaveCfgCB;
    ui::Label Label2;
    ui::ComboBox SaveCombo;
    ui::Label Label6;
    ui::CheckBox SetPwrUpCB;
    ui::Label Label5;
    ui::ComboBox PowerUpCombo;
    ui::Label Label7;
    ui::CommandButton Back;
    ui::CommandButton OKButton;
    ui::CommandButton CancelButton;

    // An emulation change needs both operations: their boxes are unchecked
    // and power-up follows the saved configuration.
    void SetComboBoxes();

    void SaveCfgCB_Click();
    void SetPwrUpCB_Click();
    void OKButton_Click();
    void Back_Click();
    void CancelButton_Click();

protected:
    void Form_Load() override;

private:
    bool ConfirmCalibration();
    bool ConfirmConfigOverwrite();
    void ShowDownloadAborted();
    // The print-settings page's emulation box is unchecked.
    bool EmulationChanges() const;
};

}  // namespace printercfg
