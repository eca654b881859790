#include "printercfg/core/FinishDialog.h"

#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/core/ProgressDlg.h"
#include "printercfg/pages/PrinterSetup.h"

namespace printercfg {

using foundation::JoinLines;

FinishDialog::FinishDialog(MarrowbyModule& module)
    : Page(module, "FinishDialog", "Send Wizard Settings"),
      Label1(*this, "Label1", "Wizard Settings are Ready to be Sent"),
      Label3(*this, "Label3", "The wizard settings are ready to be sent to the printer listed below:"),
      SelectedPrinterName(*this, "SelectedPrinterName"),
      Label4(*this, "Label4",
             "Please select any additional operation you would like performed after the settings are sent to the "
             "printer. If \"Ignore\" is checked, that operation will not be performed."),
      Ignore(*this, "Ignore", "Ignore"),
      SaveCfgCB(*this, "SaveCfgCB"),
      Label2(*this, "Label2", "Save Settings to Printer Configuration"),
      SaveCombo(*this, "SaveCombo", ui::ComboBox::Style::DropDownList),
      Label6(*this, "Label6",
             "This option allows you to save up to eight unique printer settings to meet different print job "
             "requirements. This eliminates the need to change the printer settings for each new job. When this "
             "option is selected, the configurations are stored in memory and will not be lost if you turn off the "
             "printer. If the settings are not saved, they will be lost when the printer is turned off."),
      SetPwrUpCB(*this, "SetPwrUpCB"),
      Label5(*this, "Label5", "Set Power-Up Configuration to "),
      PowerUpCombo(*this, "PowerUpCombo", ui::ComboBox::Style::DropDownList),
      Label7(*this, "Label7",
             "You can specify any one of nine configurations (1-8 saved custom configurations or Factory) as the "
             "power-up configuration. The selected configuration will be loaded when the printer is turned on."),
      Back(*this, "Back", "< Back"),
      OKButton(*this, "OKButton", "Finish"),
      CancelButton(*this, "CancelButton", "Cancel") {
    Label1.setFont(ui::HeadingFont);
    Label2.setBuddy(&SaveCombo);
    Label5.setBuddy(&PowerUpCombo);
    OKButton.setDefault(true);
    CancelButton.setCancel(true);
    // The two operations line up; their explanations follow as paragraphs.
    layoutGrid({{&Ignore, nullptr, nullptr}, {&SaveCfgCB, &Label2, &SaveCombo}, {&SetPwrUpCB, &Label5, &PowerUpCombo}});
    SaveCfgCB.onClick = [this] { SaveCfgCB_Click(); };
    SetPwrUpCB.onClick = [this] { SetPwrUpCB_Click(); };
    OKButton.onClick = [this] { OKButton_Click(); };
    Back.onClick = [this] { Back_Click(); };
    CancelButton.onClick = [this] { CancelButton_Click(); };
}

bool FinishDialog::EmulationChanges() const {
    // A print-settings page that is not loaded has every box checked.
    const PrinterSetup* settings = m_.PrinterSetupForm.loaded();
    return settings && settings->EmulationCB.value() == 0;
}

void FinishDialog::Form_Load() {
    for (int i = 1; i <= 8; ++i) SaveCombo.addItem("Configuration " + std::to_string(i));
    SaveCombo.setListIndex(0);
    PowerUpCombo.addItem("Factory");
    for (int i = 1; i <= 8; ++i) PowerUpCombo.addItem("Configuration " + std::to_string(i));
    PowerUpCombo.setListIndex(0);
    SaveCfgCB.setValue(1);
    SetPwrUpCB.setValue(1);
    SaveCombo.setEnabled(false);
    PowerUpCombo.setEnabled(false);
    if (EmulationChanges()) {
        PowerUpCombo.setListIndex(SaveCombo.listIndex() + 1);
        SaveCfgCB.setValue(0);
        SetPwrUpCB.setValue(0);
    }
    SelectedPrinterName.setCaption(m_.SelectedPrinterName);
}

void FinishDialog::SetComboBoxes() {
    if (!EmulationChanges()) return;
    SaveCfgCB.setValue(0);
    SetPwrUpCB.setValue(0);
    SaveCombo.setEnabled(true);
    PowerUpCombo.setEnabled(true);
    PowerUpCombo.setListIndex(SaveCombo.listIndex() + 1);
}

void FinishDialog::SaveCfgCB_Click() {
    if (SaveCfgCB.value() == 1) {
        SaveCombo.setEnabled(false);
        SaveCombo.setListIndex(0);
    } else if (SaveCfgCB.value() == 0) {
        SaveCombo.setEnabled(true);
    }
}

void FinishDialog::SetPwrUpCB_Click() {
    if (SetPwrUpCB.value() == 1) {
        PowerUpCombo.setEnabled(false);
        PowerUpCombo.setListIndex(0);
    } else if (SetPwrUpCB.value() == 0) {
        PowerUpCombo.setEnabled(true);
    }
}

void FinishDialog::OKButton_Click() {
    if (SaveCfgCB.value() == 1 && EmulationChanges()) {
        m_.ShowNotice(JoinLines({"Changing the active emulation requires you to save the configuration.",
                                 "Please select a configuration number to hold this change."}));
        SaveCfgCB.setValue(0);
        show();
        return;
    }
    m_.CollectChangeFlags();
    if (m_.CalibrationNeeded && !ConfirmCalibration()) return;
    if (SaveCfgCB.value() == 0) {
        m_.SaveConfigRequested = true;
        m_.SaveConfigNumber = SaveCombo.listIndex() + 1;
        if (!ConfirmConfigOverwrite()) return;
    } else {
        m_.SaveConfigRequested = false;
    }
    if (SetPwrUpCB.value() == 0) {
        m_.PowerUpRequested = true;
        m_.PowerUpConfigNumber = PowerUpCombo.listIndex();
    } else {
        m_.PowerUpRequested = false;
    }
    m_.SetupSent = true;
    hide();
    auto& progress = m_.ProgressDlgForm();
    progress.show();
    progress.Start_Job();
}

bool FinishDialog::ConfirmCalibration() {
    const int answer = m_.ui().msgBox(
        JoinLines({"Warning! One or more of the settings you specified require calibration to be performed.",
                   "Calibration may interfere with current jobs sent to the printer.", "", "Do you want to continue?"}),
        ui::Buttons::YesNo, ui::Icon::Exclamation, 2, "Calibration Required");
    if (answer != ui::IDYES) {
        ShowDownloadAborted();
        m_.PrinterSetupForm().show();
        return false;
    }
    hide();
    return true;
}

bool FinishDialog::ConfirmConfigOverwrite() {
    const int answer = m_.ui().msgBox(JoinLines({"Warning! You may overwrite a previously saved configuration.",
                                                 "Are you sure you want to continue?"}),
                                      ui::Buttons::YesNo, ui::Icon::Exclamation, 2, "Configuration Overwrite Warning");
    if (answer != ui::IDYES) {
        ShowDownloadAborted();
        m_.PrinterSetupForm().show();
        return false;
    }
    m_.ProgressDlgForm().show();
    hide();
    return true;
}

void FinishDialog::ShowDownloadAborted() {
    m_.ui().msgBox("Setting download aborted. No printer settings were changed", ui::Buttons::OK, ui::Icon::Exclamation,
                   1, "Printer Setting Not Saved");
}

void FinishDialog::Back_Click() {
    hide();
    m_.PrinterSetupForm().show();
}

void FinishDialog::CancelButton_Click() { m_.ConfirmCancel(); }

}  // namespace printercfg
