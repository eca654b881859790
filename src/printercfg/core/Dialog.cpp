#include "printercfg/core/Dialog.h"

namespace printercfg {

Dialog::Dialog(MarrowbyModule& module) : Page(module, "Dialog", "Load Wizard Settings") {}

}  // namespace printercfg
