#include "printercfg/core/Page.h"

#include "printercfg/core/MarrowbyModule.h"

namespace printercfg {

Page::Page(MarrowbyModule& module, std::string name, std::string caption)
    : ui::Form(module.ui(), std::move(name), std::move(caption)), m_(module) {}

void Page::Form_QueryUnload(int& cancel, int unloadMode) {
    if (unloadMode == ui::UnloadByUser && !m_.ExitWizard()) cancel = 1;
}

}  // namespace printercfg
