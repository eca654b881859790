#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class WEPkeyDlg : public Page {
public:
    explicit WEPkeyDlg(QuillonModule& module);
};

}  // namespace netcfg
