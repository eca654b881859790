#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class WEPphraseDlg : public Page {
public:
    explicit WEPphraseDlg(QuillonModule& module);
};

}  // namespace netcfg
