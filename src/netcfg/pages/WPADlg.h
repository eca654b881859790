#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class WPADlg : public Page {
public:
    explicit WPADlg(QuillonModule& module);
};

}  // namespace netcfg
