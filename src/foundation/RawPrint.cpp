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
    silent_ = platform::serverSilent(error);
    if (silent_) {
        m_.ShowSpoolerSilent();
        return false;
    }
    if (!h) {
        m_.ui().msgBox("The Printer Name you typed wasn't recognized.", ui::Buttons::OK, ui::Icon::None);
        return false;
    }
    // Every call is made whatever the earlier ones gave; the job counts as
    // spooled only when all of them went through.
    auto passed = [this](const platform::SpoolResult& r) {
        if (r.serverSilent()) silent_ = true;
        return r.ok();
    };
    bool spooled = passed(spooler.startDocument(h, m_.texts().documentName));
    spooled = passed(spooler.startPage(h)) && spooled;
    std::size_t written = 0;
    spooled = passed(spooler.write(h, job, written)) && written == job.size() && spooled;
    spooled = passed(spooler.endPage(h)) && spooled;
    spooled = passed(spooler.endDocument(h)) && spooled;
    spooler.close(h);
    if (silent_) m_.ShowSpoolerSilent();
    return spooled;
}

bool RawPrint::SelectPrinter(const std::string& name) {
    // A print server that does not answer ends the selection with its own box.
    auto silent = [&](bool noAnswer) {
        silent_ = noAnswer;
        if (!noAnswer) return false;
        m_.ShowSpoolerSilent();
        m_.WriteLog("Print server does not answer: " + name);
        return true;
    };
    platform::Spooler& spooler = m_.os().spooler();
    const platform::QueueList queues = spooler.queues();
    if (silent(queues.result.serverSilent())) return false;
    bool found = false;
    for (const auto& queue : queues.names) {
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
    if (silent(check.serverSilent())) return false;
    if (check.getPrinterStatus(printerText, m_.SelectedPrinterPort, m_.SelectedDriverName) != "Ready") {
        m_.ShowError("Printer not ready", false);
        m_.WriteLog("Printer Not Ready: " + name);
        return false;
    }
    m_.WriteLog("Selected Printer Name: " + name);
    return true;
}

}  // namespace foundation
