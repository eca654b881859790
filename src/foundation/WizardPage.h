#pragma once
// What every page of both wizards shares: a title-bar close that leaves
// through the module's ExitWizard, the greying of inputs, and the making of
// control-array elements in their place among the page's members.

#include <initializer_list>
#include <string>
#include <utility>

#include "ui/Control.h"
#include "ui/ControlArray.h"
#include "ui/Form.h"

namespace foundation {

class WizardModule;

class WizardPage : public ui::Form {
public:
    WizardPage(WizardModule& module, std::string name, std::string caption);

    // Enables or greys controls; a text box or list also takes the matching
    // background.
    static void EnableInputs(std::initializer_list<ui::Control*> inputs, bool on);

protected:
    // A close by the user runs ExitWizard; when the wizard goes on (the user
    // chose to save first) the close is cancelled so the page keeps its values.
    void Form_QueryUnload(int& cancel, int unloadMode) override;

    // Controls take their place on the page and in the Tab order from the
    // order in which they are made. As the form argument of a member's
    // initialiser, this makes element `index` of a control array first, so
    // that it stands between the members before and after it.
    template <class T, class... Args>
    ui::Form& after(ui::ControlArray<T>& array, int index, Args&&... args) {
        array.add(index, std::forward<Args>(args)...);
        return *this;
    }

private:
    WizardModule& wizard_;
};

}  // namespace foundation
