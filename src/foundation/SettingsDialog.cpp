#include "foundation/SettingsDialog.h"

#include "foundation/WizardModule.h"
#include "ui/Control.h"

namespace foundation {

namespace {

std::string trimBlanks(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

const char* SettingsDialogTitle(bool saving) { return saving ? "Save Wizard Settings" : "Load Wizard Settings"; }

const char* SettingsDialogInstruction(bool saving) {
    return saving ? "Please select a file to hold the wizard settings"
                  : "Please select the file that contains previously saved wizard settings";
}

std::optional<std::string> BrowseSettingsFile(WizardModule& module, bool saving, const std::string& filter,
                                              const std::string& extension) {
    ui::FileDialogRequest request;
    request.title = "File Browser";
    request.opening = !saving;
    request.filter = filter;
    request.initialDir = module.programFolder();
    const auto chosen = module.ui().files().open(request);
    if (!chosen) return std::nullopt;
    std::string path = trimBlanks(chosen->substr(0, chosen->find('\0')));
    if (path.empty()) return std::nullopt;
    if (path.find('.') == std::string::npos) path += extension;
    return path;
}

bool CheckSettingsFileName(WizardModule& module, ui::TextBox& fileName) {
    const std::string& name = fileName.text();
    if (!name.empty() && name != " " && name.back() != '/') return true;
    module.ShowNotice("Invalid file name. Please enter a valid file name.");
    fileName.setFocus();
    return false;
}

}  // namespace foundation
