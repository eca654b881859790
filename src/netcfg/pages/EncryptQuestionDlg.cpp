#include "netcfg/pages/EncryptQuestionDlg.h"

namespace netcfg {

EncryptQuestionDlg::EncryptQuestionDlg(QuillonModule& module) : Page(module, "EncryptQuestionDlg", "Configure Wireless Network") {}

}  // namespace netcfg
