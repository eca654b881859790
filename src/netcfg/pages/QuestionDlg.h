#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class QuestionDlg : public Page {
public:
    explicit QuestionDlg(QuillonModule& module);
};

}  // namespace netcfg
