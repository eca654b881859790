#include "printercfg/pages/SelectDlg.h"

#include "foundation/KAEIntro.h"
#include "foundation/RunProgram.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/pages/Selection.h"

namespace printercfg {

using foundation::JoinLines;

SelectDlg::SelectDlg(MarrowbyModule& module)
    : Page(module, "SelectDlg", "Select Operation"),
      Label1(*this, "Label1", "Select Wizard Operation"),
      Label6(*this, "Label6", "Please specify what settings you would like to configure with this wizard."),
      CfgNic(*this, "CfgNic", "&Network interface card (NIC) settings"),
      Label3(*this, "Label3", "Configure Ethernet or Wireless network adapter settings."),
      CfgPrinter(*this, "CfgPrinter", "&Printer Settings"),
      Label2(*this, "Label2"),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel") {
    Label2.add(0, "Configure basic printer settings");
    Label2.add(1,
               "Select this option only after the NIC settings have been configured and a Windows drirver for the "
               "printer has been installed.");
    Label1.setFont(ui::HeadingFont);
    Next.setDefault(true);
    Cancel.setCancel(true);
    layoutGrid({{&CfgNic, &Label3}, {&CfgPrinter, &Label2[0]}, {nullptr, &Label2[1]}});
    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

void SelectDlg::Form_Load() { CfgNic.setValue(true); }

void SelectDlg::Next_Click() {
    m_.KAEIntroForm.unload();
    hide();
    if (CfgPrinter.value()) {
        auto& selection = m_.SelectionForm();
        selection.show();
        if (!m_.SelectedPrinterName.empty()) {
            unload();
        } else if (!selection.spoolerAnswered()) {
            // No driver is missing: the list is empty because no one answered.
            m_.ShowSpoolerSilent();
            m_.SelectionForm.unload();
            show();
        } else {
            No_Driver_Found();
        }
    } else if (CfgNic.value()) {
        if (RunQuillon()) {
            hide();
            CfgPrinter.setValue(true);
            auto& intro = m_.KAEIntroForm();
            intro.show();
            intro.Next.setFocus();
        } else if (isLoaded()) {
            // The user chose to save before leaving: the page stays.
            show();
        }
    }
}

bool SelectDlg::RunAndWait(const std::string& commandLine) {
    foundation::RunProgram run(m_.ui(), m_.os().processes());
    std::string error;
    return run.RunAndWait(commandLine, error, WaitMs);
}

bool SelectDlg::RunQuillon() {
    const std::string path = m_.programFolder() + "/Quillon.exe";
    if (m_.ProgramFileExists(path)) {
        const std::string command = MarrowbyModule::CommandPath(path) + " GO /VERYSILENT";
        m_.WriteLog("Running Quillon: " + command + "\r\n");
        if (RunAndWait(command)) return true;
    }
    // Missing, or it would not start: the wizard cannot go on.
    m_.ShowError(JoinLines({"Error unable to locate the Quillon application:", path, "",
                            "Please install the Quillon from your Quick Start CD."}),
                 false);
    m_.ExitWizard();
    return false;
}

void SelectDlg::No_Driver_Found() {
    m_.WriteLog("No Driver Found\r\n");
    const int answer =
        m_.ui().msgBox(JoinLines({"No compatible Windows driver found!",
                                  "You must have at least one compatible Windows printer driver installed before you "
                                  "can use this application.",
                                  "Would you like to install a Windows printer driver now?"}),
                       ui::Buttons::YesNo, ui::Icon::Question, 1, "No Compatible Drivers Found");
    if (answer != ui::IDYES) {
        m_.ExitWizard();
        return;
    }
    const std::string path = m_.programFolder() + "/7391Q25DriverSetup.exe";
    if (m_.ProgramFileExists(path)) {
        const std::string command = MarrowbyModule::CommandPath(path) + " /VERYSILENT";
        m_.WriteLog("Running driver install: " + command + "\r\n");
        if (RunAndWait(command)) {
            // Look again, with a fresh list.
            m_.SelectionForm.unload();
            Next_Click();
            return;
        }
    }
    m_.ShowError(JoinLines({"Error unable to locate the Windows driver setup file.",
                            "Please install the Windows driver using your Quick Start CD."}),
                 true);
}

void SelectDlg::Prev_Click() {
    m_.KAEIntroForm().show();
    unload();
}

void SelectDlg::Cancel_Click() { m_.ConfirmCancel(); }

}  // namespace printercfg
