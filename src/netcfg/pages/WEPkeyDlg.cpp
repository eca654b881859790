#include "netcfg/pages/WEPkeyDlg.h"

namespace netcfg {

WEPkeyDlg::WEPkeyDlg(QuillonModule& module) : Page(module, "WEPkeyDlg", "Configure Wireless Authentication") {}

}  // namespace netcfg
