#include "foundation/WizardPage.h"

#include "foundation/WizardModule.h"

namespace foundation {

WizardPage::WizardPage(WizardModule& module, std::string name, std::string caption)
    : ui::Form(module.ui(), std::move(name), std::move(caption)), wizard_(module) {}

void WizardPage::Form_QueryUnload(int& cancel, int unloadMode) {
    if (unloadMode == ui::UnloadByUser && !wizard_.ExitWizard()) cancel = 1;
}

void WizardPage::EnableInputs(std::initializer_list<ui::Control*> inputs, bool on) {
    for (ui::Control* c : inputs) {
        c->setEnabled(on);
        if (c->kind() == ui::Kind::ComboBox || c->kind() == ui::Kind::TextBox)
            c->setBackColor(on ? ui::EnabledColour : ui::GreyedColour);
    }
}

}  // namespace foundation
