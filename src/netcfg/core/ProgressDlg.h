#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class ProgressDlg : public Page {
public:
    explicit ProgressDlg(QuillonModule& module);
};

}  // namespace netcfg
