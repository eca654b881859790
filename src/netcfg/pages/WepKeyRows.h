#pragma once
// What the two WEP key pages share: the four key rows, each a masked key
// with its confirmation and "show" box, and the lists of the default key and
// the authentication method above them. The controls are the pages' own.

#include <string>
#include <vector>

#include "netcfg/core/MaskedEntry.h"
#include "ui/ControlArray.h"

namespace netcfg {

class QuillonModule;

class WepKeyRows {
public:
    // Creates the rows' controls, row by row, in the page's order.
    void create(ui::ControlArray<ui::Label>& keyLabel, ui::ControlArray<ui::TextBox>& keyText,
                ui::ControlArray<ui::CheckBox>& showChk, ui::ControlArray<ui::Label>& confirmLabel,
                ui::ControlArray<ui::TextBox>& confirmTxt, const std::string& keyTip);
    // The caption and input columns of the rows, for the page's grid.
    std::vector<std::vector<ui::Control*>> grid() const;
    MaskedEntry& operator[](int i) { return rows_[static_cast<std::size_t>(i)]; }
    void setEnabled(bool on);
    void setMasking(bool masked);
    // The rows and the note above them: enabled unless the default key is "Disable".
    void followDefaultKey(const ui::ComboBox& defaultKey, ui::Label& note);
    // With WEP on (a default key chosen), reports when no key is entered or
    // the default key's row is empty; true when the keys can be sent.
    bool checkDefaultKey(QuillonModule& m, const ui::ComboBox& defaultKey);
    // Reports the first row whose confirmation differs (rows shown in clear
    // are skipped); true when all match.
    bool confirmAll(QuillonModule& m);

    // The lists' tool tips, with their captions as buddies.
    static void setUpLists(ui::Label& authCaption, ui::ComboBox& authMethod, ui::Label& keyCaption,
                           ui::ComboBox& defaultKey);
    // Fills the lists, with "Key 1" and "Shared" selected.
    static void fillLists(ui::ComboBox& defaultKey, ui::ComboBox& authMethod);

private:
    std::vector<MaskedEntry> rows_;
};

}  // namespace netcfg
