#pragma once
// Page not built yet: its Ignore boxes (all checked) and its label size lists.

#include "printercfg/core/Page.h"
#include "ui/Control.h"

namespace printercfg {

class Operation : public Page {
public:
    explicit Operation(MarrowbyModule& module);

    ui::CheckBox MediaTypeCB;
    ui::CheckBox MediaSizeCB;
    ui::ComboBox LabelLengthCombo;
    ui::ComboBox LabelWidthCombo;
    ui::CheckBox OrientationCB;
    ui::CheckBox DispenseCB;
};

}  // namespace printercfg
