#pragma once
// A minimal wizard module over the shared foundation.

#include "foundation/KAEAbout.h"
#include "foundation/KAEIntro.h"
#include "foundation/WizardModule.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"
#include "support/UiWorld.h"
#include "ui/Clocks.h"
#include "ui/Scripted.h"
#include "ui/VirtualPump.h"

namespace foundationtest {

inline foundation::ProgramTexts testTexts() {
    foundation::ProgramTexts t;
    t.title = "Tester";
    t.version = "9.99Z";
    t.successText = "Test Request Successfully Sent";
    t.documentName = "Tester Command";
    t.welcomeHeading = "Welcome to the Tester";
    t.welcomeText = "Tests things.";
    t.aboutDescription = "About the tester";
    t.legalNotice = "Notice";
    return t;
}

class TestModule : public foundation::WizardModule {
public:
    using WizardModule::WizardModule;
    bool ExitWizard() override {
        ++exits;
        if (!exitEnds) return false;
        KAEAboutForm.unload();
        KAEIntroForm.unload();
        return true;
    }
    void ConfirmCancel() override { ++cancels; }
    void ShowError(const std::string& m, bool, const std::string&) override { errors.push_back(m); }
    void WelcomeNext() override { ++nexts; }
    int exits = 0, cancels = 0, nexts = 0;
    bool exitEnds = true;
    std::vector<std::string> errors;
};

struct World : testsupport::UiWorld {
    testsupport::FakeProcesses processes;
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = nullptr};
    testsupport::TempDir folder;
    TestModule m{app, os, testTexts(), folder.str()};

    std::string log() const { return testsupport::readFile(folder.file("Log.txt")); }
};

}  // namespace foundationtest
