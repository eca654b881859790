#include "printercfg/core/MarrowbyModule.h"

#include <algorithm>
#include <cctype>
#include <clocale>

#include "foundation/KAEIntro.h"
#include "foundation/SpoolCheck.h"
#include "printercfg/core/Dialog.h"
#include "printercfg/core/FinishDialog.h"
#include "printercfg/core/KAEAbout.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/core/ModelTable.h"
#include "printercfg/core/ProgressDlg.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "printercfg/pages/SelectDlg.h"
#include "printercfg/pages/Selection.h"

namespace printercfg {

foundation::ProgramTexts MarrowbyTexts() {
    foundation::ProgramTexts t;
    t.title = "Marrowby";
    t.version = "1.03D";
    t.successText = "Printer Setup Request Successfully Sent";
    t.documentName = "Marrowby Command";
    t.welcomeHeading = "Welcome to the Tessivarn Marrowby";
    t.welcomeText =
        "This wizard will guide you through the process of configuring the basic settings of your printer and its "
        "network interface card (NIC). Please refer to the user manual for assistance in configuring the other "
        "printer settings.";
    t.aboutDescription = "This application will help guide you through the process of configuring your printer";
    t.legalNotice = "Copyright (C) Tessivarn. All rights reserved.";
    t.cancelText = "Printer setting is not complete. If you quit";
    return t;
}

MarrowbyModule::MarrowbyModule(ui::Application& app, platform::Platform& platform, std::string programFolder)
    : WizardModule(app, platform, MarrowbyTexts(), std::move(programFolder)),
      CustomDialogForm([this] { return std::make_shared<CustomDialog>(*this); }),
      DialogForm([this] { return std::make_shared<Dialog>(*this); }),
      FinishDialogForm([this] { return std::make_shared<FinishDialog>(*this); }),
      LoadDlgForm([this] { return std::make_shared<LoadDlg>(*this); }),
      OperationForm([this] { return std::make_shared<Operation>(*this); }),
      PrinterSetupForm([this] { return std::make_shared<PrinterSetup>(*this); }),
      SelectionForm([this] { return std::make_shared<Selection>(*this); }),
      ProgressDlgForm([this] { return std::make_shared<ProgressDlg>(*this); }),
      SelectDlgForm([this] { return std::make_shared<SelectDlg>(*this); }) {
    if (const std::lconv* numbers = std::localeconv(); numbers && numbers->decimal_point && *numbers->decimal_point)
        DecimalSeparator = numbers->decimal_point;
}

MarrowbyModule::~MarrowbyModule() = default;

std::shared_ptr<foundation::KAEAbout> MarrowbyModule::makeAbout() { return std::make_shared<KAEAbout>(*this); }

void MarrowbyModule::Main(const std::string& commandLine) {
    PrinterErrorSeen = false;
    ReadSwitches(commandLine);
    ShowWelcome();
}

void MarrowbyModule::CollectChangeFlags() {
    SettingsChanged = false;
    CalibrationNeeded = false;
    // A page that is not loaded has its defaults: every box checked.
    const Operation* op = OperationForm.loaded();
    const PrinterSetup* ps = PrinterSetupForm.loaded();
    auto value = [](const auto* page, auto member) { return page ? (page->*member).value() : 1; };
    const int changes[] = {value(op, &Operation::DispenseCB),     value(op, &Operation::OrientationCB),
                           value(ps, &PrinterSetup::EmulationCB), value(ps, &PrinterSetup::PrintSpeedCB),
                           value(ps, &PrinterSetup::VertCB),      value(ps, &PrinterSetup::HorzCB)};
    const int calibrations[] = {value(op, &Operation::MediaSizeCB), value(op, &Operation::MediaTypeCB),
                                value(ps, &PrinterSetup::GapCB)};
    for (int v : changes)
        if (v == 0) SettingsChanged = true;
    for (int v : calibrations)
        if (v == 0) SettingsChanged = CalibrationNeeded = true;
}

bool MarrowbyModule::SendRunning() const {
    const ProgressDlg* progress = ProgressDlgForm.loaded();
    return progress && progress->sending();
}

bool MarrowbyModule::ExitWizard() {
    // No way out while the jobs are being sent.
    if (SendRunning()) return false;
    CollectChangeFlags();
    if (SettingsChanged && !SettingsAsSaved() && ConfirmExitWithoutSaving()) return false;
    CallSetupMenu("max");
    UnloadAllForms();
    return true;
}

void MarrowbyModule::UnloadAllForms() {
    CustomDialogForm.unload();
    DialogForm.unload();
    FinishDialogForm.unload();
    KAEAboutForm.unload();
    KAEIntroForm.unload();
    LoadDlgForm.unload();
    OperationForm.unload();
    PrinterSetupForm.unload();
    SelectionForm.unload();
    ProgressDlgForm.unload();
    SelectDlgForm.unload();
}

bool MarrowbyModule::ConfirmExitWithoutSaving() {
    if (!AskSaveBeforeExit()) return false;
    auto& dialog = DialogForm();
    dialog.dialogFlag = 2;
    dialog.Open();
    return true;
}

void MarrowbyModule::ShowError(const std::string& message, bool fatal, const std::string&) {
    const std::string text = message + "\r\n" + (fatal ? "The wizard will exit." : "Operation cannot continue.");
    ui().msgBox(text, ui::Buttons::OK, ui::Icon::Critical, 1, "Printer Error");
    if (fatal) ExitWizard();
}

void MarrowbyModule::ShowPrinterUpdateError(const std::string& frontPanelText) {
    PrinterErrorSeen = true;
    std::string text =
        "ERROR!  Unable to Update Printer Settings.\r\n"
        "An unexpected error occurred during printer configuration.\r\n";
    if (!frontPanelText.empty())
        text += "Printer Front Panel Message:\r\n" + frontPanelText;
    else
        text += "Please see the printer for the error condition.";
    text += "\r\n\r\nOperation cannot continue. The wizard will exit.";
    ui().msgBox(text, ui::Buttons::OK, ui::Icon::Critical, 1, "Printer Error");
    SetupSent = false;
}

void MarrowbyModule::ConfirmCancel() {
    // No way out while the jobs are being sent.
    if (SendRunning()) return;
    WizardModule::ConfirmCancel();
}

void MarrowbyModule::WelcomeNext() { SelectDlgForm().show(); }

bool MarrowbyModule::GetKeyValue(platform::RegRoot root, const std::string& keyName, const std::string& valueName,
                                 std::string& keyValue) {
    keyValue.clear();
    // A read only: nothing is opened for writing.
    auto r = os().registry().readValue(root, keyName, valueName);
    if (!r.ok()) return false;
    switch (r.value.type) {
        case platform::RegType::Sz:
            keyValue = r.value.text();
            return true;
        case platform::RegType::DWord:
            if (auto n = r.value.dwordValue()) {
                keyValue = std::to_string(*n);
                return true;
            }
            return false;
        default:
            return false;
    }
}

bool MarrowbyModule::IsSupportedPrinter(bool* serverSilent) {
    foundation::SpoolCheck check(*this);
    std::string printerText, jobText, port, driver;
    check.CheckPrinter(printerText, jobText);
    if (serverSilent) *serverSilent = check.serverSilent();
    check.getPrinterStatus(printerText, port, driver);
    return IsSupportedDriver(driver);
}

void MarrowbyModule::ClassifyPrinterModel(const std::string& driverName) {
    const ModelClass c = ClassifyDriver(driverName, MaxMediaWidth);
    MaxMediaWidth = c.maxMediaWidth;
    ResolutionClass = c.resolutionClass;
}

namespace {

// The number at the start of a text, as a label-size code reads ("04100": 4100).
long leadingNumber(const std::string& s) {
    long n = 0;
    std::size_t i = s.find_first_not_of(' ');
    for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && n < 100000000; ++i)
        n = n * 10 + (s[i] - '0');
    return n;
}

}  // namespace

bool MarrowbyModule::CheckLabelSize() {
    Operation& op = OperationForm();
    ui::ComboBox& width = op.LabelWidthCombo;
    ui::ComboBox& length = op.LabelLengthCombo;
    if (width.listIndex() < 0 || length.listIndex() < 0) {
        const int widthRow = 4, lengthRow = 5;
        if (widthRow < width.listCount()) width.setListIndex(widthRow);
        if (lengthRow < length.listCount()) length.setListIndex(lengthRow);
        return false;
    }
    const auto row = static_cast<std::size_t>(width.listIndex());
    const std::string code = row < LabelWidthCodes.size() ? LabelWidthCodes[row] : std::string{};
    const auto inches = static_cast<float>(static_cast<double>(leadingNumber(code)) / 1000.0);
    const auto maximum = LabelWidthMaximum(MaxMediaWidth);
    return !(maximum && inches > *maximum);
}

bool MarrowbyModule::ProgramFileExists(const std::string& path) const {
    if (FileExists(path)) return true;
    if (path.size() <= 4) return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".exe" && FileExists(path.substr(0, path.size() - 4));
}

std::string MarrowbyModule::CommandPath(const std::string& path) {
    if (path.find_first_of(" \t") == std::string::npos) return path;
    return "\"" + path + "\"";
}

}  // namespace printercfg
