#include "netcfg/core/LoadDlg.h"

namespace netcfg {

LoadDlg::LoadDlg(QuillonModule& module) : Page(module, "LoadDlg", "Load Wizard Settings") {}

}  // namespace netcfg
