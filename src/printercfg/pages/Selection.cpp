#include "printercfg/pages/Selection.h"

#include <algorithm>

#include "foundation/SpoolCheck.h"
#include "platform/Spooler.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/pages/SelectDlg.h"

namespace printercfg {

Selection::Selection(MarrowbyModule& module)
    : Page(module, "Selection", "Printer Selection"),
      Label1(*this, "Label1", "Printer Selection"),
      SelectionLabel(*this, "SelectionLabel", "Select a printer to configure"),
      Label2(*this, "Label2", "Please select a printer to configure."),
      PrinterList(*this, "PrinterList"),
      PrtNameLabel(*this, "PrtNameLabel",
                   "Note:  If the desired printer is not displayed in this list,  then the driver for this printer "
                   "was not properly installed. Please exit this wizard, reinstall the driver for the printer, and "
                   "then restart this wizard."),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel") {
    Label1.setFont(ui::HeadingFont);
    Label2.setBuddy(&PrinterList);
    Next.setDefault(true);
    Cancel.setCancel(true);
    PrinterList.onClick = [this] { PrinterList_Click(); };
    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

void Selection::Form_Load() { FillPrinterList(); }

void Selection::FillPrinterList() {
    // A name from an earlier list must not outlive it.
    m_.SelectedPrinterName.clear();
    platform::Spooler& spooler = m_.os().spooler();
    const std::string remembered = spooler.currentPrinter();
    const platform::QueueList queues = spooler.queues();
    bool silent = queues.result.serverSilent();
    int noted = -1;
    for (const auto& queue : queues.names) {
        if (silent) break;
        spooler.setCurrentPrinter(queue);
        if (!m_.IsSupportedPrinter(&silent)) continue;
        PrinterList.addItem(queue);
        if (queue == remembered && noted < 0) noted = PrinterList.listCount() - 1;
    }
    // A server that fell silent on the way left the list unfinished: no row is chosen from it.
    spoolerAnswered_ = !silent;
    if (spoolerAnswered_ && PrinterList.listCount() > 0) PrinterList.setListIndex(noted >= 0 ? noted : 0);
}

void Selection::PrinterList_Click() { m_.SelectedPrinterName = PrinterList.text(); }

void Selection::Next_Click() {
    platform::Spooler& spooler = m_.os().spooler();
    const platform::QueueList queues = spooler.queues();
    if (queues.result.serverSilent()) {
        m_.ShowSpoolerSilent();
        return;
    }
    const std::string& name = m_.SelectedPrinterName;
    // Only a queue that is still installed becomes the current printer.
    if (name.empty() || std::find(queues.names.begin(), queues.names.end(), name) == queues.names.end()) {
        m_.ui().msgBox(foundation::JoinLines({"No Printer Selected.", "You must select a printer to continue."}));
        return;
    }
    spooler.setCurrentPrinter(name);
    foundation::SpoolCheck check(m_);
    std::string printerText, jobText;
    check.CheckPrinter(printerText, jobText);
    if (check.serverSilent()) {
        m_.ShowSpoolerSilent();
        return;
    }
    // Port and driver describe this queue only, also when it cannot be read.
    m_.SelectedPrinterPort.clear();
    m_.SelectedDriverName.clear();
    const std::string status = check.getPrinterStatus(printerText, m_.SelectedPrinterPort, m_.SelectedDriverName);
    m_.ClassifyPrinterModel(m_.SelectedDriverName);
    if (status != "Ready") m_.ui().msgBox("Printer not ready");
    m_.WriteLog("Selected Printer Name: " + name);
    m_.LoadDlgForm().show();
    hide();
}

void Selection::Prev_Click() {
    m_.SelectDlgForm().show();
    unload();
}

void Selection::Cancel_Click() { m_.ConfirmCancel(); }

}  // namespace printercfg
