#include "printercfg/core/Page.h"

#include "printercfg/core/MarrowbyModule.h"

namespace printercfg {

Page::Page(MarrowbyModule& module, std::string name, std::string caption)
    : ui::Form(module.ui(), std::move(name), std::move(caption)), m_(module) {}

void Page::Form_QueryUnload(int& cancel, int unloadMode) {
    if (unloadMode == ui::UnloadByUser && !m_.ExitWizard()) cancel = 1;
}

void Page::ApplyIgnore(const ui::CheckBox& box, std::initializer_list<ui::Control*> inputs,
                       const std::function<void()>& reset) {
    if (box.value() == 1) {
        EnableInputs(inputs, false);
        reset();
    }
    if (box.value() == 0) {
        EnableInputs(inputs, true);
        m_.SettingsSavedToFile = false;
    }
}

void Page::EnableInputs(std::initializer_list<ui::Control*> inputs, bool on) {
    for (ui::Control* c : inputs) {
        c->setEnabled(on);
        if (c->kind() == ui::Kind::ComboBox || c->kind() == ui::Kind::TextBox)
            c->setBackColor(on ? ui::EnabledColour : ui::GreyedColour);
    }
}

bool Page::RefuseTypedText(const ui::CheckBox& box, ui::ComboBox& list, const std::string& setting) {
    if (box.value() != 0 || list.listIndex() >= 0) return false;
    m_.ShowNotice(foundation::JoinLines(
        {"Invalid " + setting + " entered manually.", "Please use the drop down menu to specify the " + setting}));
    list.setFocus();
    return true;
}

}  // namespace printercfg
