#pragma once
// One raw spooler document to the current printer, and the choice of the
// current printer among the installed queues.

#include <string>

namespace foundation {

class WizardModule;

class RawPrint {
public:
    // `logSend`: write the "sending job to printer: " line (the network-interface
    // wizard does, the printer wizard does not).
    explicit RawPrint(WizardModule& module, bool logSend = true) : m_(module), logSend_(logSend) {}

    // Spools the job text as one raw document named after the program's
    // document name; true when the spooler took the whole job.
    bool SendRawJob(const std::string& job);
    // Makes the named queue current; true when it exists and reads "Ready".
    // Its port and driver go to the module's SelectedPrinterPort and SelectedDriverName.
    bool SelectPrinter(const std::string& name);

    // Whether the last call failed because the print server did not answer;
    // its box has said so then, in place of the routine's other boxes.
    bool serverSilent() const { return silent_; }

private:
    WizardModule& m_;
    bool logSend_;
    bool silent_ = false;
};

}  // namespace foundation
