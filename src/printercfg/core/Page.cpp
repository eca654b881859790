#include "printercfg/core/Page.h"

#include "printercfg/core/MarrowbyModule.h"

namespace printercfg {

Page::Page(MarrowbyModule& module, std::string name, std::string caption)
    : foundation::WizardPage(module, std::move(name), std::move(caption)), m_(module) {}

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

bool Page::RefuseTypedText(const ui::CheckBox& box, ui::ComboBox& list, const std::string& setting) {
    if (box.value() != 0 || list.listIndex() >= 0) return false;
    m_.ShowNotice(foundation::JoinLines(
        {"Invalid " + setting + " entered manually.", "Please use the drop down menu to specify the " + setting}));
    list.setFocus();
    return true;
}

}  // namespace printercfg
