#include "netcfg/core/FinishDialog.h"

namespace netcfg {

FinishDialog::FinishDialog(QuillonModule& module) : Page(module, "FinishDialog", "Send Wizard Settings") {}

}  // namespace netcfg
