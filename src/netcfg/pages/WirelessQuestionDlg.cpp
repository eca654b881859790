#include "netcfg/pages/WirelessQuestionDlg.h"

namespace netcfg {

WirelessQuestionDlg::WirelessQuestionDlg(QuillonModule& module) : Page(module, "WirelessQuestionDlg", "Configure Wireless Network") {}

}  // namespace netcfg
