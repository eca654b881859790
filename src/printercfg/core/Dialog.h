#pragma once
// Page not built yet.

#include "printercfg/core/Page.h"

namespace printercfg {

class Dialog : public Page {
public:
    explicit Dialog(MarrowbyModule& module);

    // What the opener asks: 1 save, 2 save and then exit, any other value load.
    int dialogFlag = 0;
};

}  // namespace printercfg
