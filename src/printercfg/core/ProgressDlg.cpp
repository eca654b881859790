#include "printercfg/core/ProgressDlg.h"

namespace printercfg {

ProgressDlg::ProgressDlg(MarrowbyModule& module) : Page(module, "ProgressDlg", "Progress Monitor") {}

}  // namespace printercfg
