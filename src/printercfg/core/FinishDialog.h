#pragma once
// Page not built yet.

#include "printercfg/core/Page.h"

namespace printercfg {

class FinishDialog : public Page {
public:
    explicit FinishDialog(MarrowbyModule& module);
};

}  // namespace printercfg
