#include "netcfg/pages/WPADlg.h"

namespace netcfg {

WPADlg::WPADlg(QuillonModule& module) : Page(module, "WPADlg", "Configure Wireless Authentication") {}

}  // namespace netcfg
