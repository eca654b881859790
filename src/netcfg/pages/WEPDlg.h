#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class WEPDlg : public Page {
public:
    explicit WEPDlg(QuillonModule& module);
};

}  // namespace netcfg
