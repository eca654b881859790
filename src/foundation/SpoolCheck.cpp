#include "foundation/SpoolCheck.h"

#include <vector>

#include "foundation/WizardModule.h"
#include "platform/Spooler.h"

namespace foundation {

namespace {

const char* const CrLf = "\r\n";

struct Word {
    std::uint32_t bit;
    const char* text;
};

const Word PrinterWords[] = {
    {platform::PrinterStatus::Busy, "Busy"},
    {platform::PrinterStatus::DoorOpen, "Printer Door Open"},
    {platform::PrinterStatus::Error, "Printer Error"},
    {platform::PrinterStatus::Initializing, "Initializing"},
    {platform::PrinterStatus::IoActive, "I/O Active"},
    {platform::PrinterStatus::ManualFeed, "Manual Feed"},
    {platform::PrinterStatus::NoToner, "No Toner"},
    {platform::PrinterStatus::NotAvailable, "Not Available"},
    {platform::PrinterStatus::Offline, "Off Line"},
    {platform::PrinterStatus::OutOfMemory, "Out of Memory"},
    {platform::PrinterStatus::OutputBinFull, "Output Bin Full"},
    {platform::PrinterStatus::PagePunt, "Page Punt"},
    {platform::PrinterStatus::PaperJam, "Paper Jam"},
    {platform::PrinterStatus::PaperOut, "Paper Out"},
    {platform::PrinterStatus::PaperProblem, "Page Problem"},
    {platform::PrinterStatus::Paused, "Paused"},
    {platform::PrinterStatus::PendingDeletion, "Pending Deletion"},
    {platform::PrinterStatus::Printing, "Printing"},
    {platform::PrinterStatus::Processing, "Processing"},
    {platform::PrinterStatus::TonerLow, "Toner Low"},
    {platform::PrinterStatus::UserIntervention, "User Intervention"},
    {platform::PrinterStatus::Waiting, "Waiting"},
    {platform::PrinterStatus::WarmingUp, "Warming Up"},
};

const Word JobWords[] = {
    {platform::JobStatus::Spooling, "Spooling"},
    {platform::JobStatus::Offline, "Off line"},
    {platform::JobStatus::Paused, "Paused"},
    {platform::JobStatus::Error, "Error"},
    {platform::JobStatus::PaperOut, "Paper Out"},
    {platform::JobStatus::Printing, "Printing"},
    {platform::JobStatus::UserIntervention, "User Intervention Needed"},
};

constexpr std::size_t NameLimit = 256;
constexpr std::size_t StatusTextLimit = 511;

// Each set word followed by two blanks, or "Unknown Status of n".
template <std::size_t N>
std::string statusWords(const Word (&table)[N], std::uint32_t status) {
    std::string words;
    for (const Word& w : table)
        if (status & w.bit) words += std::string(w.text) + "  ";
    if (words.empty()) words = "Unknown Status of " + std::to_string(static_cast<std::int32_t>(status));
    return words;
}

// A record string as the spooler hands it out: up to the first NUL and at
// most `limit` characters; a missing one is a single blank.
std::string recordString(const std::optional<std::string>& s, std::size_t limit) {
    if (!s) return " ";
    std::string t = s->substr(0, s->find('\0'));
    if (t.size() > limit) t.resize(limit);
    return t;
}

// Splits at every separator: an empty text gives
// no pieces, a text without the separator one piece.
std::vector<std::string> split(const std::string& text, const std::string& sep) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    std::size_t from = 0;
    for (;;) {
        std::size_t at = text.find(sep, from);
        if (at == std::string::npos) {
            parts.push_back(text.substr(from));
            return parts;
        }
        parts.push_back(text.substr(from, at - from));
        from = at + sep.size();
    }
}

std::string jobStatusLine(const platform::JobRecord& job) {
    if (job.statusText) return recordString(job.statusText, StatusTextLimit);
    if (job.status == 0) return std::string("Ready!  ") + CrLf;
    return statusWords(JobWords, job.status);
}

}  // namespace

std::string SpoolCheck::CheckPrinter(std::string& printerText, std::string& jobText) {
    m_.WriteLog("...CheckPrinter");
    std::string result = "Printer info retrieved";
    platform::Spooler& spooler = m_.os().spooler();
    const std::string name = spooler.currentPrinter();

    std::uint32_t error = 0;
    platform::QueueHandle h = spooler.open(name, platform::Access::Use, error);
    silent_ = platform::serverSilent(error);
    if (!h) return "Cannot open printer " + name + ", Error: " + std::to_string(error);

    platform::PrinterRecord printer;
    platform::SpoolResult r = spooler.readPrinter(h, printer);
    silent_ = r.serverSilent();
    if (!r.ok()) {
        result = r.early ? " > GetPrinter Failed on initial call! <"
                         : "Couldn't get Printer Status!  Error = " + std::to_string(r.error);
        spooler.close(h);
        return result;
    }
    printerText = CheckPrinterStatus(printer.status) + "Printer Name = " + recordString(printer.name, NameLimit) +
                  CrLf + "Printer Driver Name = " + recordString(printer.driver, NameLimit) + CrLf +
                  "Printer Port Name = " + recordString(printer.port, NameLimit) + CrLf;

    std::vector<platform::JobRecord> jobs;
    r = spooler.readJobs(h, jobs);
    silent_ = r.serverSilent();
    if ((r.ok() && jobs.empty()) || (!r.ok() && r.early)) {
        jobText = "No Print Jobs!";
    } else if (!r.ok()) {
        result = " > EnumJobs Failed on second call! <  Error = " + std::to_string(r.error);
    } else {
        for (const auto& job : jobs)
            jobText += "Job ID = " + std::to_string(job.id) + CrLf + "Total Pages = " + std::to_string(job.totalPages) +
                       CrLf + jobStatusLine(job) + CrLf;
    }
    spooler.close(h);
    return result;
}

std::string SpoolCheck::CheckPrinterStatus(std::uint32_t status) {
    m_.WriteLog("...CheckPrinterStatus");
    if (status == 0) return std::string("Printer Status = Ready") + CrLf;
    return "Printer Status = " + statusWords(PrinterWords, status) + CrLf;
}

std::string SpoolCheck::getPrinterStatus(const std::string& printerText, std::string& port, std::string& driver) {
    m_.WriteLog("...getPrinterStatus");
    std::string status;
    const auto lines = split(printerText, CrLf);
    if (lines.size() < 2) {
        m_.WriteLog("...PrinterVar=0 :" + printerText);
        return {};
    }
    for (const auto& line : lines) {
        if (line.find("Printer Status = ") != std::string::npos) {
            auto parts = split(line, "= ");
            if (parts.size() >= 2) status = parts[1];
        }
        if (line.find("Printer Port Name = ") != std::string::npos) {
            auto parts = split(line, "= ");
            if (parts.size() >= 2) port = parts[1];
            break;
        }
        if (line.find("Printer Driver Name = ") != std::string::npos) {
            auto parts = split(line, "= ");
            if (parts.size() >= 2) driver = parts[1];
        }
    }
    return status;
}

std::string SpoolCheck::getJobStatus(const std::string& jobText, std::string& jobId) {
    m_.WriteLog("...getJobStatus");
    if (jobText == "No Print Jobs!") {
        m_.WriteLog("...[ No Print Jobs ]");
        return jobText;
    }
    const auto lines = split(jobText, CrLf);
    if (lines.size() < 2) {
        m_.WriteLog("...JobVar=0 :" + jobText);
        return {};
    }
    const auto first = split(lines[0], "= ");
    if (first.size() < 2) {
        jobId = "0";
        return jobText;
    }
    jobId = first[1];
    std::size_t start = 2;
    if (lines.size() < 3) {
        start = 0;
        m_.WriteLog("...start=0 : UBound= " + std::to_string(lines.size() - 1));
    }
    std::string status;
    for (std::size_t i = start; i < lines.size(); ++i) status += lines[i];
    return status;
}

void SpoolCheck::PurgePrintQueue() {
    m_.WriteLog("...PurgePrintQueue");
    platform::Spooler& spooler = m_.os().spooler();
    const std::string name = spooler.currentPrinter();
    std::uint32_t error = 0;
    platform::QueueHandle h = spooler.open(name, platform::Access::Use, error);
    silent_ = platform::serverSilent(error);
    if (!h) return;

    platform::PrinterRecord printer;
    std::vector<platform::JobRecord> jobs;
    platform::SpoolResult r = spooler.readPrinter(h, printer);
    if (r.ok()) r = spooler.readJobs(h, jobs);
    silent_ = r.serverSilent();
    if (r.ok()) {
        const std::string& own = m_.texts().documentName;
        for (const auto& job : jobs) {
            if (recordString(job.document, NameLimit).find(own) == std::string::npos) continue;
            m_.WriteLog("...KillPrintJob " + std::to_string(job.id));
            KillPrintJob(name, static_cast<std::int32_t>(job.id));
        }
    }
    spooler.close(h);
}

void SpoolCheck::KillPrintJob(const std::string& printerName, std::int32_t jobId) {
    platform::Spooler& spooler = m_.os().spooler();
    std::uint32_t error = 0;
    platform::QueueHandle h = spooler.open(printerName, platform::Access::All, error);
    if (!h) return;
    spooler.deleteJob(h, static_cast<std::uint32_t>(jobId));
    spooler.close(h);
}

}  // namespace foundation
