#pragma once
// A masked entry: a box whose text is typed as "*", the confirmation box
// under it with its label, and the "show" box that displays the entry in
// clear and hides the confirmation. The controls stay members of their page,
// under the page's own names; this binds them and holds the common rules.

#include "ui/Control.h"

namespace netcfg {

class MaskedEntry {
public:
    // Masks both boxes, makes each label the buddy of its box, and lets both
    // boxes take only characters of the 8-bit code page.
    MaskedEntry(ui::Label& label, ui::TextBox& entry, ui::CheckBox& show, ui::Label& confirmLabel,
                ui::TextBox& confirm);

    // Clear: the entry shown as typed and the confirmation hidden; otherwise
    // masked with "*" and the confirmation shown. The show box is not touched.
    void reveal(bool clear);
    // What the show box's click does: follows its tick.
    void showClicked() { reveal(show.ticked()); }
    // Masked: the show box unticked, else ticked; then reveal() to match.
    void setMasking(bool masked);
    // The confirmation holds exactly the entry, or the show box is ticked.
    bool confirmed() const;
    // Greys or enables the label, both boxes (with their backgrounds), the
    // confirmation's label and the show box; values are kept.
    void setEnabled(bool on);

    ui::Label& label;
    ui::TextBox& entry;
    ui::CheckBox& show;
    ui::Label& confirmLabel;
    ui::TextBox& confirm;
};

// Number of characters of a UTF-8 text.
int CharCount(const std::string& utf8);

}  // namespace netcfg
