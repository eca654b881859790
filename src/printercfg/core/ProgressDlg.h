#pragma once
// Page not built yet.

#include "printercfg/core/Page.h"

namespace printercfg {

class ProgressDlg : public Page {
public:
    explicit ProgressDlg(MarrowbyModule& module);
};

}  // namespace printercfg
