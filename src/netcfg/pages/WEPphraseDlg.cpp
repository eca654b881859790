#include "netcfg/pages/WEPphraseDlg.h"

namespace netcfg {

WEPphraseDlg::WEPphraseDlg(QuillonModule& module) : Page(module, "WEPphraseDlg", "Configure Wireless Authentication") {}

}  // namespace netcfg
