#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class Dialog : public Page {
public:
    explicit Dialog(QuillonModule& module);
};

}  // namespace netcfg
