#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class LEAPDlg : public Page {
public:
    explicit LEAPDlg(QuillonModule& module);

    // The page that showed this one; Back shows it again.
    ui::Form* Caller = nullptr;
};

}  // namespace netcfg
