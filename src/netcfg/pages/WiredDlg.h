#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class WiredDlg : public Page {
public:
    explicit WiredDlg(QuillonModule& module);
};

}  // namespace netcfg
