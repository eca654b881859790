#pragma once
// The main module of the network-interface wizard: start-up, exit and the
// wizard's standard message boxes.

#include <string>

#include "foundation/WizardModule.h"

namespace netcfg {

foundation::ProgramTexts QuillonTexts();

class QuillonModule : public foundation::WizardModule {
public:
    QuillonModule(ui::Application& app, platform::Platform& platform, std::string programFolder);

    bool StartedWithGo = false;

    // Program entry: reads the command line and shows the first page.
    void Main(const std::string& commandLine);

    bool ExitWizard() override;
    void ConfirmCancel() override;
    void WelcomeNext() override;

    bool ConfirmExitWithoutSaving();
    void ShowError(const std::string& message, bool fatal, const std::string& title = {}) override;
    int AskYesNo(const std::string& message, const std::string& title);
    void UnloadAllForms();

    // Whether the page records differ from the baseline.
    bool SettingsDiffer() const;
};

}  // namespace netcfg
