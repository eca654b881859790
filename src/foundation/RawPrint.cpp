#include "foundation/RawPrint.h"

#include "foundation/SpoolCheck.h"
#include "foundation/WizardModule.h"
#include "platform/Spooler.h"

namespace foundation {

bool RawPrint::SendRawJob(const std::string& job) {
    platform::Spooler& spooler = m_.os().spooler();
    const std::string name = spooler.currentPrinter();
    std::uint32_t error = 0;
    platform::QueueHandle h = spooler.open(name, platform::Access::Use, error);
    if (logSend_) m_.WriteLog("sending job to printer: " + name);
    if (!h) {
        m_.ui().msgBox("The Printer Name you typed wasn't recognized.", ui::Buttons::OK, ui::Icon::None);
        return false;
    }
    // Every call is made whatever the earlier ones gave; the job counts as
    // spooled only when all of them went through.
    bool spooled = spooler.startDocument(h, m_.texts().documentName).ok();
    spooled = spooler.startPage(h).ok() && spooled;
    std::size_t written = 0;
    spooled = spooler.write(h, job, written).ok() && written == job.size() && spooled;
    spooled = spooler.endPage(h).ok() && spooled;
    spooled = spooler.endDocument(h).ok() && spooled;
    spooler.close(h);
    return spooled;
}

bool RawPrint::SelectPrinter(const std::string& name) {
    platform::Spooler& spooler = m_.os().spooler();
    bool found = false;
    for (const auto& queue : spooler.queues()) {
        if (queue == name) {
            spooler.setCurrentPrinter(queue);
            found = true;
            break;
        }
    }
    if (!found) {
        m_.ShowError(JoinLines({"Printer: " + name, "Not defined on this Workstation.",
                                "Run Setup and select a valid printer to continue."}),
                     false);
        m_.WriteLog("Invalid Printer Specified: " + name);
        return false;
    }
    SpoolCheck check(m_);
    std::string printerText, jobText;
    check.CheckPrinter(printerText, jobText);
    if (check.getPrinterStatus(printerText, m_.SelectedPrinterPort, m_.SelectedDriverName) != "Ready") {
        m_.ShowError("Printer not ready", false);
        m_.WriteLog("Printer Not Ready: " + name);
        return false;
    }
    m_.WriteLog("Selected Printer Name: " + name);
    return true;
}

}  // namespace foundation
