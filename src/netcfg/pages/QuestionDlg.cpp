#include "netcfg/pages/QuestionDlg.h"

namespace netcfg {

QuestionDlg::QuestionDlg(QuillonModule& module) : Page(module, "QuestionDlg", "Configure Network") {}

}  // namespace netcfg
