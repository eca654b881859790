#pragma once
// What every page of the network-interface wizard shares: its module, and
// the rules of every wizard page.

#include <string>

#include "foundation/WizardPage.h"

namespace netcfg {

class QuillonModule;

class Page : public foundation::WizardPage {
public:
    Page(QuillonModule& module, std::string name, std::string caption);

    QuillonModule& module() const { return m_; }

protected:
    QuillonModule& m_;
};

}  // namespace netcfg
