#pragma once
// What every page of the printer wizard shares: its module, and a title-bar
// close that leaves through ExitWizard.

#include <string>

#include "ui/Form.h"

namespace printercfg {

class MarrowbyModule;

class Page : public ui::Form {
public:
    Page(MarrowbyModule& module, std::string name, std::string caption);

    MarrowbyModule& module() const { return m_; }

protected:
    // A close by the user runs ExitWizard; when the wizard goes on (the user
    // chose to save first) the close is cancelled so the page keeps its values.
    void Form_QueryUnload(int& cancel, int unloadMode) override;

    MarrowbyModule& m_;
};

}  // namespace printercfg
