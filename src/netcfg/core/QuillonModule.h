#pragma once
// The main module of the network-interface wizard: start-up, exit and the
// wizard's standard message boxes.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foundation/WizardModule.h"

namespace netcfg {

class Dialog;
class EncryptQuestionDlg;
class FinishDialog;
class LEAPDlg;
class LoadDlg;
class NetworkDlg;
class PortSelect;
class ProgressDlg;
class QuestionDlg;
class WEPDlg;
class WEPkeyDlg;
class WEPphraseDlg;
class WPADlg;
class WiredDlg;
class WirelessDlg;
class WirelessQuestionDlg;

foundation::ProgramTexts QuillonTexts();

class QuillonModule : public foundation::WizardModule {
public:
    QuillonModule(ui::Application& app, platform::Platform& platform, std::string programFolder);

    bool StartedWithGo = false;
    // The local port names read by GetPorts, in file order.
    std::vector<std::string> PortList;
    static constexpr int MaxPorts = 101;

    // The page records (see ReadSettings.h): as the pages were last read, and
    // the baseline that tells whether the user changed anything.
    static constexpr int RecordCount = 8;
    std::array<std::string, RecordCount> CurrentSettings;
    std::array<std::string, RecordCount> InitialSettings;
    // Set once a baseline has been taken (the load page's defaults or a
    // loaded settings file); until then there is nothing to compare with.
    bool BaselineTaken = false;
    // The records last written to a settings file: with SettingsSavedToFile,
    // leaving asks nothing while the pages still read as these.
    std::optional<std::array<std::string, RecordCount>> SavedSettings;
    // The network card's command lines, each ending with CR LF.
    std::string NicCommands;
    // The interface number the last command group named: 1 wired, 2 wireless.
    std::int16_t NicInterface = 0;
    // The printer's port that TCP/IP output connects to.
    std::uint16_t PrinterPort = 9100;
    // The settings dialog's outcome, polled by its opener: 0 pending, 1 the
    // file was saved or loaded, -1 cancelled.
    std::int16_t DialogResult = 0;

    // Program entry: reads the command line and shows the first page.
    void Main(const std::string& commandLine);

    bool ExitWizard() override;
    void WelcomeNext() override;

    // True when the user chose to save first (the settings dialog is then open).
    bool ConfirmExitWithoutSaving();
    void ShowError(const std::string& message, bool fatal, const std::string& title = {}) override;
    int AskYesNo(const std::string& message, const std::string& title);
    void UnloadAllForms();

    // The settings file with the settings dialog's password: false, after a
    // notice, when nothing was written or loaded (a declined overwrite gives
    // no notice).
    bool SaveWizardSettings(const std::string& path);
    bool LoadWizardSettings(const std::string& path);

    // Pages
    ui::FormSlot<Dialog> DialogForm;
    ui::FormSlot<EncryptQuestionDlg> EncryptQuestionDlgForm;
    ui::FormSlot<FinishDialog> FinishDialogForm;
    ui::FormSlot<NetworkDlg> NetworkDlgForm;
    ui::FormSlot<LEAPDlg> LEAPDlgForm;
    ui::FormSlot<LoadDlg> LoadDlgForm;
    ui::FormSlot<PortSelect> PortSelectForm;
    ui::FormSlot<ProgressDlg> ProgressDlgForm;
    ui::FormSlot<QuestionDlg> QuestionDlgForm;
    ui::FormSlot<WEPDlg> WEPDlgForm;
    ui::FormSlot<WEPkeyDlg> WEPkeyDlgForm;
    ui::FormSlot<WEPphraseDlg> WEPphraseDlgForm;
    ui::FormSlot<WiredDlg> WiredDlgForm;
    ui::FormSlot<WirelessDlg> WirelessDlgForm;
    ui::FormSlot<WirelessQuestionDlg> WirelessQuestionDlgForm;
    ui::FormSlot<WPADlg> WPADlgForm;
};

}  // namespace netcfg
