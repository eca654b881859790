#include "netcfg/core/MaskedEntry.h"

#include "foundation/WizardPage.h"
#include "platform/CodePage.h"

namespace netcfg {

MaskedEntry::MaskedEntry(ui::Label& label_, ui::TextBox& entry_, ui::CheckBox& show_, ui::Label& confirmLabel_,
                         ui::TextBox& confirm_)
    : label(label_), entry(entry_), show(show_), confirmLabel(confirmLabel_), confirm(confirm_) {
    label.setBuddy(&entry);
    confirmLabel.setBuddy(&confirm);
    entry.setCharFilter(platform::isAnsi);
    confirm.setCharFilter(platform::isAnsi);
    entry.setPasswordChar('*');
    confirm.setPasswordChar('*');
}

void MaskedEntry::reveal(bool clear) {
    entry.setPasswordChar(clear ? 0 : '*');
    confirm.setVisible(!clear);
    confirmLabel.setVisible(!clear);
}

void MaskedEntry::setMasking(bool masked) {
    show.setValue(masked ? 0 : 1);
    reveal(!masked);
}

bool MaskedEntry::confirmed() const { return show.ticked() || entry.text() == confirm.text(); }

void MaskedEntry::setEnabled(bool on) {
    foundation::WizardPage::EnableInputs({&label, &entry, &show, &confirm, &confirmLabel}, on);
}

int CharCount(const std::string& utf8) {
    int n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace netcfg
