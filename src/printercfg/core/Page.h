#pragma once
// What every page of the printer wizard shares: its module, the rules of
// every wizard page, and those of the settings pages' Ignore boxes and
// editable lists.

#include <array>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>

#include "foundation/WizardPage.h"
#include "ui/Control.h"

namespace printercfg {

class MarrowbyModule;

// The instruction of both settings pages.
inline constexpr const char* SettingsInstruction =
    "Please specify the value to be saved on the printer. If \"Ignore\" is checked, the value will not be changed "
    "on the printer. Note: The printer will perform a calibration when you change a setting with an asterisk.";

// What the Ignore boxes say about themselves.
inline constexpr const char* IgnoreToolTip = "Ignore: leave this setting unchanged on the printer";

// A row of a settings list and the printer command it stands for; a row
// without text has a command but is not listed.
struct ListRow {
    const char* text;
    const char* command;
};

class Page : public foundation::WizardPage {
public:
    Page(MarrowbyModule& module, std::string name, std::string caption);

    MarrowbyModule& module() const { return m_; }

protected:
    // The Ignore rule. Checked (1): the inputs and their captions are greyed
    // and `reset` puts the setting back to its fixed row. Unchecked (0): they
    // are enabled and the settings are no longer the saved ones.
    void ApplyIgnore(const ui::CheckBox& box, std::initializer_list<ui::Control*> inputs,
                     const std::function<void()>& reset);
    // A setting that is to be sent while its list holds a typed text that
    // selects no row: a notice, the focus on the list, and true.
    bool RefuseTypedText(const ui::CheckBox& box, ui::ComboBox& list, const std::string& setting);

    // Lists the first `listed` rows, selects `defaultRow`, then writes every
    // row's command with CR LF into the table from entry 0.
    template <std::size_t N>
    static void FillList(ui::ComboBox& list, std::span<const ListRow> rows, std::size_t listed, int defaultRow,
                         std::array<std::string, N>& table) {
        for (std::size_t i = 0; i < listed && i < rows.size(); ++i)
            if (rows[i].text) list.addItem(rows[i].text);
        list.setListIndex(defaultRow);
        for (std::size_t i = 0; i < rows.size() && i < N; ++i) table[i] = std::string(rows[i].command) + "\r\n";
    }

    MarrowbyModule& m_;
};

}  // namespace printercfg
