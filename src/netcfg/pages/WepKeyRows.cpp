#include "netcfg/pages/WepKeyRows.h"

#include <algorithm>

#include "netcfg/core/QuillonModule.h"

namespace netcfg {

void WepKeyRows::create(ui::ControlArray<ui::Label>& keyLabel, ui::ControlArray<ui::TextBox>& keyText,
                        ui::ControlArray<ui::CheckBox>& showChk, ui::ControlArray<ui::Label>& confirmLabel,
                        ui::ControlArray<ui::TextBox>& confirmTxt, const std::string& keyTip) {
    rows_.reserve(4);
    for (int i = 0; i <= 3; ++i) {
        auto& label = keyLabel.add(i, "Key " + std::to_string(i + 1) + ":");
        auto& key = keyText.add(i);
        auto& show = showChk.add(i, "Show Password");
        auto& confirmCaption = confirmLabel.add(i, "Confirm:");
        auto& confirm = confirmTxt.add(i);
        key.setToolTip(keyTip);
        show.setToolTip("Check to show encryption key entry during typing.");
        confirm.setToolTip("Encryption key re-entered for data entry verification.");
        rows_.emplace_back(label, key, show, confirmCaption, confirm);
    }
}

std::vector<std::vector<ui::Control*>> WepKeyRows::grid() const {
    std::vector<std::vector<ui::Control*>> g;
    for (const auto& r : rows_) {
        g.push_back({&r.label, &r.entry, &r.show});
        g.push_back({&r.confirmLabel, &r.confirm, nullptr});
    }
    return g;
}

void WepKeyRows::setEnabled(bool on) {
    for (auto& r : rows_) r.setEnabled(on);
}

void WepKeyRows::setMasking(bool masked) {
    for (auto& r : rows_) r.setMasking(masked);
}

void WepKeyRows::followDefaultKey(const ui::ComboBox& defaultKey, ui::Label& note) {
    const bool on = defaultKey.listIndex() != 0;
    note.setEnabled(on);
    setEnabled(on);
}

bool WepKeyRows::checkDefaultKey(QuillonModule& m, const ui::ComboBox& defaultKey) {
    const int chosen = defaultKey.listIndex();
    if (chosen <= 0) return true;
    const auto empty = [](const MaskedEntry& r) { return r.entry.text().empty(); };
    if (std::all_of(rows_.begin(), rows_.end(), empty)) {
        m.ShowNotice("At least one key must be entered.");
        rows_.front().entry.setFocus();
        return false;
    }
    const auto row = static_cast<std::size_t>(chosen) - 1;
    if (row < rows_.size() && empty(rows_[row])) {
        m.ShowNotice(foundation::JoinLines({"Key " + std::to_string(chosen) + " is the default key, but it is empty.",
                                            "The default key must be one of the keys entered."}));
        rows_[row].entry.setFocus();
        return false;
    }
    return true;
}

bool WepKeyRows::confirmAll(QuillonModule& m) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (!rows_[i].confirmed()) {
            m.AskYesNo("Inputs for Key " + std::to_string(i + 1) + " does not match, please re-enter the key again.",
                       "");
            rows_[i].confirm.setFocus();
            return false;
        }
    }
    return true;
}

void WepKeyRows::setUpLists(ui::Label& authCaption, ui::ComboBox& authMethod, ui::Label& keyCaption,
                            ui::ComboBox& defaultKey) {
    authMethod.setToolTip("Specify the authentication method: Open or Shared.");
    defaultKey.setToolTip("Specify which encryption key to use.");
    authCaption.setBuddy(&authMethod);
    keyCaption.setBuddy(&defaultKey);
}

void WepKeyRows::fillLists(ui::ComboBox& defaultKey, ui::ComboBox& authMethod) {
    for (const char* item : {"Disable", "Key 1", "Key 2", "Key 3", "Key 4"}) defaultKey.addItem(item);
    defaultKey.setListIndex(1);
    authMethod.addItem("Open");
    authMethod.addItem("Shared");
    authMethod.setListIndex(1);
}

}  // namespace netcfg
