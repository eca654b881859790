#include "printercfg/pages/Operation.h"

namespace printercfg {

Operation::Operation(MarrowbyModule& module)
    : Page(module, "Operation", "Printer Setup - Page 1"),
      MediaTypeCB(*this, "MediaTypeCB"),
      MediaSizeCB(*this, "MediaSizeCB"),
      LabelLengthCombo(*this, "LabelLengthCombo", ui::ComboBox::Style::DropDownCombo),
      LabelWidthCombo(*this, "LabelWidthCombo", ui::ComboBox::Style::DropDownCombo),
      OrientationCB(*this, "OrientationCB"),
      DispenseCB(*this, "DispenseCB") {
    for (ui::CheckBox* box : {&MediaTypeCB, &MediaSizeCB, &OrientationCB, &DispenseCB}) box->setValue(1);
}

}  // namespace printercfg
