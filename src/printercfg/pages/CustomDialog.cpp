#include "printercfg/pages/CustomDialog.h"

namespace printercfg {

CustomDialog::CustomDialog(MarrowbyModule& module) : Page(module, "CustomDialog", "Custom Form Definition") {}

}  // namespace printercfg
