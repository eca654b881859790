#include "netcfg/core/Page.h"

#include "netcfg/core/QuillonModule.h"

namespace netcfg {

Page::Page(QuillonModule& module, std::string name, std::string caption)
    : ui::Form(module.ui(), std::move(name), std::move(caption)), m_(module) {}

void Page::Form_QueryUnload(int& cancel, int unloadMode) {
    if (unloadMode == ui::UnloadByUser && !m_.ExitWizard()) cancel = 1;
}

}  // namespace netcfg
