#include "netcfg/core/QuillonModule.h"

#include "foundation/KAEAbout.h"
#include "foundation/KAEIntro.h"
#include "netcfg/core/Dialog.h"
#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/LoadDlg.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/ProgressDlg.h"
#include "netcfg/core/ReadSettings.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/LEAPDlg.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WEPDlg.h"
#include "netcfg/pages/WEPkeyDlg.h"
#include "netcfg/pages/WEPphraseDlg.h"
#include "netcfg/pages/WPADlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"

namespace netcfg {

foundation::ProgramTexts QuillonTexts() {
    foundation::ProgramTexts t;
    t.title = "Quillon";
    t.version = "1.00D";
    t.successText = "NIC Setup Request Successfully Sent";
    t.documentName = "Quillon Command";
    t.welcomeHeading = "Welcome to the Tessivarn Quillon";
    t.welcomeText =
        "This wizard will guide you through the process of configuring the basic settings of your printer's network "
        "interface card (NIC). Please refer to the user manual for additional information.";
    t.aboutDescription =
        "This application will help guide you through the process of configuring your printer's network interface "
        "card (NIC)";
    t.legalNotice = "Copyright (C) Tessivarn. All rights reserved.";
    t.cancelText = "NIC setting is not complete. If you quit";
    return t;
}

QuillonModule::QuillonModule(ui::Application& app, platform::Platform& platform, std::string programFolder)
    : WizardModule(app, platform, QuillonTexts(), std::move(programFolder)),
      DialogForm([this] { return std::make_shared<Dialog>(*this); }),
      EncryptQuestionDlgForm([this] { return std::make_shared<EncryptQuestionDlg>(*this); }),
      FinishDialogForm([this] { return std::make_shared<FinishDialog>(*this); }),
      NetworkDlgForm([this] { return std::make_shared<NetworkDlg>(*this); }),
      LEAPDlgForm([this] { return std::make_shared<LEAPDlg>(*this); }),
      LoadDlgForm([this] { return std::make_shared<LoadDlg>(*this); }),
      PortSelectForm([this] { return std::make_shared<PortSelect>(*this); }),
      ProgressDlgForm([this] { return std::make_shared<ProgressDlg>(*this); }),
      QuestionDlgForm([this] { return std::make_shared<QuestionDlg>(*this); }),
      WEPDlgForm([this] { return std::make_shared<WEPDlg>(*this); }),
      WEPkeyDlgForm([this] { return std::make_shared<WEPkeyDlg>(*this); }),
      WEPphraseDlgForm([this] { return std::make_shared<WEPphraseDlg>(*this); }),
      WiredDlgForm([this] { return std::make_shared<WiredDlg>(*this); }),
      WirelessDlgForm([this] { return std::make_shared<WirelessDlg>(*this); }),
      WirelessQuestionDlgForm([this] { return std::make_shared<WirelessQuestionDlg>(*this); }),
      WPADlgForm([this] { return std::make_shared<WPADlg>(*this); }) {}

void QuillonModule::Main(const std::string& commandLine) {
    StartedWithGo = false;
    if (ReadSwitches(commandLine).find("GO") != std::string::npos) {
        StartedWithGo = true;
        LoadDlgForm().show();
    } else {
        ShowWelcome();
    }
}

bool QuillonModule::ExitWizard() {
    // Without a baseline (before the load page) there is nothing to compare
    // with; with one, the pages are read afresh so that the comparison sees
    // them as they stand. A change since the last save counts as unsaved.
    if (BaselineTaken) {
        BuildNicSettings(*this);
        const bool saved = SettingsSavedToFile && (!SavedSettings || *SavedSettings == CurrentSettings);
        if (!saved && SettingsDiffer(*this) && ConfirmExitWithoutSaving()) return false;
    }
    CallSetupMenu("max");
    UnloadAllForms();
    return true;
}

bool QuillonModule::ConfirmExitWithoutSaving() {
    if (!AskSaveBeforeExit()) return false;
    auto& dialog = DialogForm();
    dialog.dialogFlag = 2;
    dialog.Open();
    return true;
}

void QuillonModule::ShowError(const std::string& message, bool fatal, const std::string& title) {
    std::string text = fatal ? message + "\r\nThe wizard will exit." : message;
    ui().msgBox(text, ui::Buttons::OK, ui::Icon::Critical, 1, title.empty() ? "Program Error" : title);
    if (fatal) ExitWizard();
}

int QuillonModule::AskYesNo(const std::string& message, const std::string& title) {
    if (title.empty()) return ui().msgBox(message, ui::Buttons::YesNo, ui::Icon::Critical, 1, "Error");
    return ui().msgBox(message, ui::Buttons::YesNo, ui::Icon::Exclamation, 1, title);
}

void QuillonModule::WelcomeNext() {
    // The welcome page stays behind the load page, which unloads it on Next.
    LoadDlgForm().show();
}

void QuillonModule::UnloadAllForms() {
    // The fixed order of the program's forms.
    DialogForm.unload();
    EncryptQuestionDlgForm.unload();
    FinishDialogForm.unload();
    KAEAboutForm.unload();
    KAEIntroForm.unload();
    NetworkDlgForm.unload();
    LEAPDlgForm.unload();
    LoadDlgForm.unload();
    PortSelectForm.unload();
    ProgressDlgForm.unload();
    QuestionDlgForm.unload();
    WEPDlgForm.unload();
    WEPkeyDlgForm.unload();
    WEPphraseDlgForm.unload();
    WiredDlgForm.unload();
    WirelessDlgForm.unload();
    WirelessQuestionDlgForm.unload();
    WPADlgForm.unload();
}

}  // namespace netcfg
