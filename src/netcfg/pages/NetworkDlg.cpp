#include "netcfg/pages/NetworkDlg.h"

namespace netcfg {

NetworkDlg::NetworkDlg(QuillonModule& module) : Page(module, "NetworkDlg", "Configure Network Settings") {}

void NetworkDlg::InitForm() {}

}  // namespace netcfg
