#include "netcfg/pages/WEPDlg.h"

namespace netcfg {

WEPDlg::WEPDlg(QuillonModule& module) : Page(module, "WEPDlg", "Configure Wireless Authentication") {}

}  // namespace netcfg
