#include "netcfg/pages/LEAPDlg.h"

namespace netcfg {

LEAPDlg::LEAPDlg(QuillonModule& module) : Page(module, "LEAPDlg", "Configure Wireless Authentication") {}

}  // namespace netcfg
