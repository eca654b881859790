#include "printercfg/core/LoadDlg.h"

#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "printercfg/pages/SelectDlg.h"

namespace printercfg {

LoadDlg::LoadDlg(MarrowbyModule& module)
    : Page(module, "LoadDlg", "Load Wizard Settings"),
      Label1(*this, "Label1", "Load Printer Wizard Settings "),
      Label6(*this, "Label6",
             "Please specify if you would like to retrieve the wizard settings you made in a previous session or "
             "start new."),
      StartNew(*this, "StartNew", "&Start New"),
      Label2(*this, "Label2", "Use the default settings."),
      Load(*this, "Load", "&Load Previously Saved Wizard Settings "),
      Label3(*this, "Label3", "Use the wizard settings you previously saved to a file."),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel") {
    Label1.setFont(ui::HeadingFont);
    Next.setDefault(true);
    Cancel.setCancel(true);
    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

void LoadDlg::Form_Load() { StartNew.setValue(true); }

void LoadDlg::Next_Click() {
    m_.OperationForm().show();
    hide();
    if (StartNew.value()) {
        // Both settings pages come back with their defaults.
        m_.OperationForm.unload();
        m_.PrinterSetupForm.unload();
        m_.OperationForm().show();
    } else if (Load.value()) {
        Operation& media = m_.OperationForm();
        media.hide();
        media.Load_Click();
    }
}

void LoadDlg::Prev_Click() {
    m_.SelectDlgForm().show();
    hide();
}

void LoadDlg::Cancel_Click() { m_.ConfirmCancel(); }

}  // namespace printercfg
