#pragma once
// What every page of the network-interface wizard shares: its module, and a
// title-bar close that leaves through ExitWizard.

#include <string>

#include "ui/Form.h"

namespace netcfg {

class QuillonModule;

class Page : public ui::Form {
public:
    Page(QuillonModule& module, std::string name, std::string caption);

    QuillonModule& module() const { return m_; }

protected:
    // A close by the user runs ExitWizard; when the wizard goes on (the user
    // chose to save first) the close is cancelled so the page keeps its values.
    void Form_QueryUnload(int& cancel, int unloadMode) override;

    QuillonModule& m_;
};

}  // namespace netcfg
