#pragma once
// Page not built yet.

#include "printercfg/core/Page.h"

namespace printercfg {

class CustomDialog : public Page {
public:
    explicit CustomDialog(MarrowbyModule& module);
};

}  // namespace printercfg
