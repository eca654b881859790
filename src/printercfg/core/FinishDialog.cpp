#include "printercfg/core/FinishDialog.h"

#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/pages/PrinterSetup.h"

namespace printercfg {

FinishDialog::FinishDialog(MarrowbyModule& module)
    : Page(module, "FinishDialog", "Send Wizard Settings"),
      SaveCfgCB(*this, "SaveCfgCB"),
      SetPwrUpCB(*this, "SetPwrUpCB") {
    SaveCfgCB.setValue(1);
    SetPwrUpCB.setValue(1);
}

void FinishDialog::SetComboBoxes() {
    const PrinterSetup* settings = m_.PrinterSetupForm.loaded();
    if (!settings || settings->EmulationCB.value() != 0) return;
    SaveCfgCB.setValue(0);
    SetPwrUpCB.setValue(0);
}

}  // namespace printercfg
