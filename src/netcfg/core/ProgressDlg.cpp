#include "netcfg/core/ProgressDlg.h"

namespace netcfg {

ProgressDlg::ProgressDlg(QuillonModule& module) : Page(module, "ProgressDlg", "Progress Monitor") {}

}  // namespace netcfg
