#include "netcfg/core/Dialog.h"

namespace netcfg {

Dialog::Dialog(QuillonModule& module) : Page(module, "Dialog", "Load Wizard Settings") {}

}  // namespace netcfg
