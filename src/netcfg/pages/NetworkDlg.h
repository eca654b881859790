#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class NetworkDlg : public Page {
public:
    explicit NetworkDlg(QuillonModule& module);

    // The page that showed this one; Back shows it again.
    ui::Form* Caller = nullptr;

    void InitForm();
};

}  // namespace netcfg
