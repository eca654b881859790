#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class WirelessDlg : public Page {
public:
    explicit WirelessDlg(QuillonModule& module);

    void SetDefaultState();
};

}  // namespace netcfg
