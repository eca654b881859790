#include "netcfg/core/Page.h"

#include "netcfg/core/QuillonModule.h"

namespace netcfg {

Page::Page(QuillonModule& module, std::string name, std::string caption)
    : foundation::WizardPage(module, std::move(name), std::move(caption)), m_(module) {}

}  // namespace netcfg
