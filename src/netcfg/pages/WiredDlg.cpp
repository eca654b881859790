#include "netcfg/pages/WiredDlg.h"

namespace netcfg {

WiredDlg::WiredDlg(QuillonModule& module) : Page(module, "WiredDlg", "Configure Network Settings") {}

}  // namespace netcfg
