#pragma once
// A headless Quillon wired to the in-memory spooler, in debug mode, with
// the log read back as its texts (time stamps taken off).

#include <sstream>
#include <string>
#include <vector>

#include "platform/memory/MemorySpooler.h"
#include "support/QuillonWorld.h"

namespace spooltest {

// The texts of the log lines, without "MMM DD,YYYY hh:mm:ss - ".
inline std::vector<std::string> logTexts(const std::string& log) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from < log.size()) {
        std::size_t end = log.find("\r\n", from);
        if (end == std::string::npos) end = log.size();
        std::string line = log.substr(from, end - from);
        std::size_t dash = line.find(" - ");
        out.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
        from = end + 2;
    }
    return out;
}

struct SpoolWorld : testsupport::QuillonWorld {
    platform::MemorySpooler spooler;
    SpoolWorld() {
        os.spoolerBackend = &spooler;
        q.DebugMode = true;
    }
    std::vector<std::string> logLines() const { return logTexts(log()); }
};

}  // namespace spooltest

namespace spooltest {

// The printer wizard's texts where they differ for the spooler routines.
struct OtherProgram : foundation::WizardModule {
    static foundation::ProgramTexts otherTexts() {
        auto t = netcfg::QuillonTexts();
        t.title = "Marrowby";
        t.documentName = "Marrowby Command";
        return t;
    }
    OtherProgram(ui::Application& app, platform::Platform& os, std::string folder)
        : WizardModule(app, os, otherTexts(), std::move(folder)) {}
    bool ExitWizard() override { return true; }
    void ConfirmCancel() override {}
    void ShowError(const std::string& message, bool fatal, const std::string& title) override {
        ui().msgBox(message + (fatal ? "\r\nThe wizard will exit." : "\r\nOperation cannot continue."), ui::Buttons::OK,
                    ui::Icon::Critical, 1, title.empty() ? "Printer Error" : title);
    }
    void WelcomeNext() override {}
};

}  // namespace spooltest
