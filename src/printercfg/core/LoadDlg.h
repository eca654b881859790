#pragma once
// Page not built yet.

#include "printercfg/core/Page.h"

namespace printercfg {

class LoadDlg : public Page {
public:
    explicit LoadDlg(MarrowbyModule& module);
};

}  // namespace printercfg
