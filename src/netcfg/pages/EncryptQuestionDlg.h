#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class EncryptQuestionDlg : public Page {
public:
    explicit EncryptQuestionDlg(QuillonModule& module);

    // The page that showed this one; Back shows it again.
    ui::Form* Caller = nullptr;
};

}  // namespace netcfg
