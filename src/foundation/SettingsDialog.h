#pragma once
// What the settings dialogs of both wizards share: their captions in save
// and load mode, the file browser, and the check of a typed file name.

#include <optional>
#include <string>

namespace ui {
class TextBox;
}

namespace foundation {

class WizardModule;

// The caption and heading of the dialog.
const char* SettingsDialogTitle(bool saving);
// The instruction under the heading.
const char* SettingsDialogInstruction(bool saving);

// The file browser over the program folder, a save or an open dialog: the
// name chosen, with the blanks around it trimmed and `extension` added when
// it has no "."; nothing when no name was chosen.
std::optional<std::string> BrowseSettingsFile(WizardModule& module, bool saving, const std::string& filter,
                                              const std::string& extension);

// False, after a notice that leaves the focus in the box, for a typed name
// that names no file.
bool CheckSettingsFileName(WizardModule& module, ui::TextBox& fileName);

}  // namespace foundation
