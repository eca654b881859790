#include "printercfg/core/FinishDialog.h"

namespace printercfg {

FinishDialog::FinishDialog(MarrowbyModule& module) : Page(module, "FinishDialog", "Send Wizard Settings") {}

}  // namespace printercfg
