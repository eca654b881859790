#include "printercfg/core/LoadDlg.h"

namespace printercfg {

LoadDlg::LoadDlg(MarrowbyModule& module) : Page(module, "LoadDlg", "Load Wizard Settings") {}

}  // namespace printercfg
