#pragma once
// Page not built yet.

#include "netcfg/core/Page.h"

namespace netcfg {

class PortSelect : public Page {
public:
    explicit PortSelect(QuillonModule& module);
};

}  // namespace netcfg
