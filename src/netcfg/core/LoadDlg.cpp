#include "netcfg/core/LoadDlg.h"

#include "foundation/KAEIntro.h"
#include "netcfg/core/Dialog.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/core/ReadSettings.h"

namespace netcfg {

LoadDlg::LoadDlg(QuillonModule& module)
    : Page(module, "LoadDlg", "Load Wizard Settings"),
      Label1(*this, "Label1", "Load Network Adapter Wizard Settings "),
      Label6(*this, "Label6",
             "Please specify if you would like to retrieve the wizard settings you made in a previous session or "
             "start new."),
      StartNew(*this, "StartNew", "&Start New"),
      Label2(*this, "Label2", "Use the default settings."),
      Load(*this, "Load", "&Load Previously Saved Wizard Settings "),
      Label3(*this, "Label3", "Use the wizard settings you previously saved to a file."),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel"),
      Timer1(*this, "Timer1", 0, false) {
    Label1.setFont(ui::HeadingFont);
    StartNew.setToolTip(
        "Select this option if this is the first time your ran this wizard, or if you didn't save your previous "
        "work.");
    Load.setToolTip(
        "Select this option if you want to use the settings from your previous session with this wizard that you "
        "saved to file.");
    Next.setDefault(true);
    Cancel.setCancel(true);
    StartNew.setValue(true);

    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
}

void LoadDlg::Form_Load() { StoreInitialSettings(m_); }

void LoadDlg::Next_Click() {
    m_.KAEIntroForm.unload();
    if (StartNew.value()) {
        hide();
        m_.PortSelectForm().show();
    } else if (Load.value()) {
        // Always a load, whatever an earlier save request left in the flag.
        auto& dialog = m_.DialogForm();
        dialog.dialogFlag = 0;
        dialog.Open();
        hide();
        Timer1.setInterval(PollMs);
        Timer1.setEnabled(true);
    }
}

void LoadDlg::Timer1_Timer() {
    switch (m_.DialogResult) {
        case 1:
            Timer1.setEnabled(false);
            hide();
            m_.PortSelectForm().show();
            break;
        case -1:
            Timer1.setEnabled(false);
            StartNew.setValue(true);
            show();
            break;
        default:
            break;  // still open: the timer goes on
    }
}

void LoadDlg::Prev_Click() {
    if (m_.StartedWithGo) {
        m_.UnloadAllForms();
        return;
    }
    m_.KAEIntroForm().show();
    hide();
}

void LoadDlg::Cancel_Click() { m_.ConfirmCancel(); }

}  // namespace netcfg
