#pragma once
// Page not built yet: the Ignore boxes of its save and power-up operations,
// which the print-settings page sets, and the emulation rule it applies when
// that page shows it.

#include "printercfg/core/Page.h"
#include "ui/Control.h"

namespace printercfg {

class FinishDialog : public Page {
public:
    explicit FinishDialog(MarrowbyModule& module);

    ui::CheckBox SaveCfgCB;
    ui::CheckBox SetPwrUpCB;

    // An emulation change needs both operations: their boxes are unchecked.
    void SetComboBoxes();
};

}  // namespace printercfg
