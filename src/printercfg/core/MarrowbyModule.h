#pragma once
// The main module of the printer wizard: start-up, exit, the change
// bookkeeping, the wizard's message boxes and the state its pages share.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/WizardModule.h"
#include "platform/Registry.h"

namespace printercfg {

class CustomDialog;
class Dialog;
class FinishDialog;
class LoadDlg;
class Operation;
class PrinterSetup;
class ProgressDlg;
class SelectDlg;
class Selection;

foundation::ProgramTexts MarrowbyTexts();

class MarrowbyModule : public foundation::WizardModule {
public:
    MarrowbyModule(ui::Application& app, platform::Platform& platform, std::string programFolder);
    ~MarrowbyModule() override;

    // Module state. DebugMode, CdMenuMode, CdMenuArgs, CdMenuProgram,
    // SettingsSavedToFile, SetupSent, SelectedPrinterPort and
    // SelectedDriverName are the foundation's.
    bool SettingsChanged = false;
    bool CalibrationNeeded = false;
    bool PrinterErrorSeen = false;
    // The chosen printer and its model classes.
    std::string SelectedPrinterName;
    int MaxMediaWidth = 0;    // 4, 6 or 8 inches; 0 until a supported driver was classified
    int ResolutionClass = 0;  // 2, or 3 for the 300-dpi models
    // Command tables of the settings pages (entry N: the command of list row N, with CR LF).
    std::array<std::string, 3> MediaTypeCmds;
    std::array<std::string, 5> OrientationCmds;
    std::array<std::string, 6> DispenseCmds;
    std::array<std::string, 11> PrintSpeedCmds;
    std::array<std::string, 6> GapSensorCmds;
    std::array<std::string, 10> EmulationCmds;
    // Label-size codes of the size list rows, and the last predefined rows.
    std::vector<std::string> LabelLengthCodes;
    std::vector<std::string> LabelWidthCodes;
    int LastFixedLengthRow = 0;
    int LastFixedWidthRow = 0;
    // The last custom label size of each dimension, in inches and millimetres.
    float CustomWidthInch = 0;
    float CustomWidthMM = 0;
    float CustomLengthInch = 0;
    float CustomLengthMM = 0;
    // The finish page's save and power-up requests.
    bool SaveConfigRequested = false;
    int SaveConfigNumber = 0;
    bool PowerUpRequested = false;
    int PowerUpConfigNumber = 0;
    // The user's decimal separator: typed sizes may use it (or "."), shown
    // numbers use it. Taken from the numeric locale when the module is made.
    std::string DecimalSeparator = ".";

    // Program entry: reads the command line and shows the welcome page.
    void Main(const std::string& commandLine);
    // SettingsChanged and CalibrationNeeded from the Ignore boxes of the two settings pages.
    void CollectChangeFlags();
    bool ExitWizard() override;
    // True when the user chose to save first (the settings dialog is then open).
    bool ConfirmExitWithoutSaving();
    // Always titled "Printer Error"; `title` is not used.
    void ShowError(const std::string& message, bool fatal, const std::string& title = {}) override;
    void ShowPrinterUpdateError(const std::string& frontPanelText);
    void ConfirmCancel() override;
    // True while the progress page sends the jobs; leaving is refused meanwhile.
    bool SendRunning() const;
    void WelcomeNext() override;
    // Forms unloaded in the program's fixed order.
    void UnloadAllForms();

    // Reads a REG_SZ value as it stands, a REG_DWORD as its decimal number;
    // false (and an empty text) when the key or value cannot be read.
    bool GetKeyValue(platform::RegRoot root, const std::string& keyName, const std::string& valueName,
                     std::string& keyValue);

    // Whether the current printer's driver marks a supported model;
    // `serverSilent`, when given, whether the print server did not answer.
    bool IsSupportedPrinter(bool* serverSilent = nullptr);
    // MaxMediaWidth and ResolutionClass from a driver name.
    void ClassifyPrinterModel(const std::string& driverName);
    // Checks the media page's label size against the head width; resets the
    // size lists when either has no row selected.
    bool CheckLabelSize();

    // The two settings pages into a settings file, replacing it whole; false
    // when nothing was written (overwrite declined, or the notice of a fault).
    bool SaveWizardSettings(const std::string& path);
    // The bytes last written to a settings file: with SettingsSavedToFile,
    // leaving asks nothing while the pages still would write them.
    std::optional<std::string> SavedSettings;
    // Whether the settings pages stand as they were last saved to a file.
    bool SettingsAsSaved();
    // A settings file into the two settings pages: the whole file is read and
    // checked first, and one that does not pass leaves the pages as they are
    // (false, after its notice). The media page is rebuilt for the file.
    bool LoadWizardSettings(const std::string& path);

    // A program in a folder: the path as given, or without a trailing ".exe" in any case.
    bool ProgramFileExists(const std::string& path) const;
    // A path as the first word of a command line: quoted when it holds blanks.
    static std::string CommandPath(const std::string& path);

    // Pages
    ui::FormSlot<CustomDialog> CustomDialogForm;
    ui::FormSlot<Dialog> DialogForm;
    ui::FormSlot<FinishDialog> FinishDialogForm;
    ui::FormSlot<LoadDlg> LoadDlgForm;
    ui::FormSlot<Operation> OperationForm;
    ui::FormSlot<PrinterSetup> PrinterSetupForm;
    ui::FormSlot<Selection> SelectionForm;
    ui::FormSlot<ProgressDlg> ProgressDlgForm;
    ui::FormSlot<SelectDlg> SelectDlgForm;

protected:
    std::shared_ptr<foundation::KAEAbout> makeAbout() override;
};

}  // namespace printercfg
