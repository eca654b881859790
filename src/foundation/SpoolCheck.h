#pragma once
// The state of the current printer's queue as two texts of "Name = value"
// lines, their parsers, and the purge of the program's own jobs.

#include <cstdint>
#include <string>

namespace foundation {

class WizardModule;

class SpoolCheck {
public:
    explicit SpoolCheck(WizardModule& module) : m_(module) {}

    // Reads the current printer's queue; "Printer info retrieved" or an error text.
    // The printer text is replaced; the job text is replaced by "No Print Jobs!" or appended to.
    std::string CheckPrinter(std::string& printerText, std::string& jobText);
    // "Printer Status = <words>" CR LF.
    std::string CheckPrinterStatus(std::uint32_t status);
    // The status after "= " of the status line; fills port and driver.
    std::string getPrinterStatus(const std::string& printerText, std::string& port, std::string& driver);
    // The status part of a job text; fills the first job's id.
    std::string getJobStatus(const std::string& jobText, std::string& jobId);
    // Deletes the jobs whose document name contains the program's document name.
    void PurgePrintQueue();
    void KillPrintJob(const std::string& printerName, std::int32_t jobId);

    // Whether the print server did not answer the last CheckPrinter or PurgePrintQueue.
    bool serverSilent() const { return silent_; }

private:
    WizardModule& m_;
    bool silent_ = false;
};

}  // namespace foundation
