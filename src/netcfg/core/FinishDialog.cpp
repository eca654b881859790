#include "netcfg/core/FinishDialog.h"

#include "netcfg/core/Dialog.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/ProgressDlg.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/core/ReadSettings.h"

namespace netcfg {

using foundation::JoinLines;

FinishDialog::FinishDialog(QuillonModule& module)
    : Page(module, "FinishDialog", "Send Wizard Settings"),
      Label1(*this, "Label1", "Wizard Settings are Ready to be Sent"),
      Label3(*this, "Label3", "The wizard settings are ready to be sent to the printer "),
      Label2(*this, "Label2"),
      Option1(after(Label2, 0,
                    "Your configuration settings for the network adapter are about to be sent to the printer. "
                    "Would you like to save your entries to a file for future reference?"),
              "Option1", "&Yes"),
      Option2(*this, "Option2", "&No"),
      Back(after(Label2, 1,
                 "Note: After sending the configuration changes for the network adapter, the printer will be "
                 "rebooted."),
           "Back", "< Back"),
      OKButton(*this, "OKButton", "Finish"),
      SaveExit(*this, "SaveExit", "Save and Exit"),
      CancelButton(*this, "CancelButton", "Exit"),
      Timer1(*this, "Timer1", 0, false) {
    Label1.setFont(ui::HeadingFont);
    OKButton.setDefault(true);
    CancelButton.setCancel(true);
    layoutRow({&Option1, &Option2});

    OKButton.onClick = [this] { OKButton_Click(); };
    SaveExit.onClick = [this] { SaveExit_Click(); };
    Back.onClick = [this] { Back_Click(); };
    CancelButton.onClick = [this] { CancelButton_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
}

void FinishDialog::Form_Load() {
    m_.WriteLog("in FinishDialog");
    BuildNicSettings(m_);
    ExitAfterSave = false;
    if (SettingsDiffer(m_))
        Option1.setValue(true);
    else
        Option2.setValue(true);
}

void FinishDialog::OpenDialog() {
    auto& dialog = m_.DialogForm();
    dialog.dialogFlag = 1;
    dialog.Open();
}

void FinishDialog::Arm() {
    Timer1.setInterval(PollMs);
    Timer1.setEnabled(true);
}

void FinishDialog::OKButton_Click() {
    // A Save and Exit whose dialog was cancelled does not make this an exit.
    ExitAfterSave = false;
    if (Option1.value())
        OpenDialog();
    else
        m_.DialogResult = 1;
    Arm();
}

void FinishDialog::SaveExit_Click() {
    ExitAfterSave = true;
    OpenDialog();
    Arm();
}

void FinishDialog::Timer1_Timer() {
    Timer1.setEnabled(false);
    switch (m_.DialogResult) {
        case 1:
            if (ExitAfterSave) {
                m_.ExitWizard();
                return;
            }
            show();
            if (!m_.PortSelectForm().PortFile.value() &&
                m_.AskYesNo(JoinLines({"Warning! The configuration changes are about to be sent to the printer.",
                                       "Afterwards, the printer will be rebooted, cancelling all pending print jobs.",
                                       "Do you want to continue?"}),
                            "Warning") == ui::IDNO)
                return;
            hide();
            m_.WriteLog("Calling ProgressDlg");
            m_.ProgressDlgForm().show();
            m_.WriteLog("Exit routine");
            return;
        case -1:
            show();
            return;
        default:
            Arm();
            return;
    }
}

void FinishDialog::Back_Click() {
    ui::Form* caller = Caller;
    unload();
    if (caller) caller->show();
}

void FinishDialog::CancelButton_Click() { m_.ConfirmCancel(); }

}  // namespace netcfg
