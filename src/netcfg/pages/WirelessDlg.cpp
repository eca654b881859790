#include "netcfg/pages/WirelessDlg.h"

namespace netcfg {

WirelessDlg::WirelessDlg(QuillonModule& module) : Page(module, "WirelessDlg", "Configure Wireless Network") {}

void WirelessDlg::SetDefaultState() {}

}  // namespace netcfg
