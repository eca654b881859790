#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class LoadDlg : public Page {
public:
    explicit LoadDlg(QuillonModule& module);
};

}  // namespace netcfg
