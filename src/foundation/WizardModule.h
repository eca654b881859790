#pragma once
// What both wizard programs share in their main module: the debug log, the
// common message boxes, the setup-menu switch and the welcome and About pages.
// Each program derives its own module and fills in the program's texts and
// its start, exit and routing routines.

#include <ctime>
#include <initializer_list>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "ui/Application.h"
#include "ui/FormSlot.h"

namespace foundation {

class KAEIntro;
class KAEAbout;

// Texts that differ between the two programs.
struct ProgramTexts {
    std::string title;           // "Quillon"
    std::string version;         // "1.00D"
    std::string successText;     // text of the success box
    std::string documentName;    // spooler document name of the program's jobs
    std::string welcomeHeading;  // Label1 of the welcome page
    std::string welcomeText;     // Label3 of the welcome page
    std::string aboutDescription;
    std::string legalNotice;
    std::string cancelText;  // first line of the cancel question: what is not complete
};

extern const char* const ModelPrefix;  // "7391-Q25 "

class WizardModule {
public:
    WizardModule(ui::Application& app, platform::Platform& platform, ProgramTexts texts, std::string programFolder);
    virtual ~WizardModule();
    WizardModule(const WizardModule&) = delete;
    WizardModule& operator=(const WizardModule&) = delete;

    ui::Application& ui() const { return app_; }
    platform::Platform& os() const { return platform_; }
    const ProgramTexts& texts() const { return texts_; }
    const std::string& programFolder() const { return folder_; }
    std::string GetVersionNumber() const { return texts_.version; }

    // Module state
    bool DebugMode = false;
    bool CdMenuMode = false;
    std::string CdMenuArgs;
    std::string CdMenuProgram;
    bool SettingsSavedToFile = false;
    bool SetupSent = false;
    // Port and driver of the printer last examined by the spooler routines.
    std::string SelectedPrinterPort;
    std::string SelectedDriverName;

    // Appends one time-stamped line to "Log.txt" in the program folder while
    // DebugMode is on. It never waits: while another process holds the file
    // the lines stay in memory, in order, and go out with the next line or
    // from the timer queue every LogRetryMs, whichever finds the file free
    // first. Any other error drops them.
    void WriteLog(const std::string& text);
    bool FileExists(const std::string& path) const;
    void ShowSetupSent();
    void ShowNotice(const std::string& text);
    bool ConfirmOverwrite();

    // Starts the setup-menu program with " min " or " max " in setup-menu mode.
    void CallSetupMenu(const std::string& keyword);

    // The program's own routines, used by the shared pages.
    // Returns true when the program ends, false when it goes on.
    virtual bool ExitWizard() = 0;
    // Ends the wizard when the setup went out; otherwise asks first.
    virtual void ConfirmCancel();
    // The program's error box; a fatal one ends the wizard.
    virtual void ShowError(const std::string& message, bool fatal, const std::string& title = {}) = 0;
    // The welcome page's Next.
    virtual void WelcomeNext() = 0;
    // The error box saying that the print server, named as the user named it, does not answer.
    void ShowSpoolerSilent();
    // The progress pages' status line of a run that the print server's silence ended.
    static constexpr const char* SpoolerSilentStatus =
        "... The print server does not answer. Program unable to continue.";

    // Pages
    ui::FormSlot<KAEIntro> KAEIntroForm;
    ui::FormSlot<KAEAbout> KAEAboutForm;

    // How often lines held back by a busy log file are tried again; at exit
    // they get one more try after at most this long.
    static constexpr unsigned LogRetryMs = 500;

protected:
    // The program's About box (built at its first use, after construction).
    virtual std::shared_ptr<KAEAbout> makeAbout();

    // The start-up both programs share: the state of a fresh start, and the
    // switches LOG (debug log) and CD (setup-menu mode), each found anywhere
    // in the command line in any case. Returns the command line in capitals,
    // for the program's own switches.
    std::string ReadSwitches(const std::string& commandLine);
    // Shows the welcome page with the focus on Next.
    void ShowWelcome();
    // Asked on leaving with unsaved changes: true when the user wants to
    // save them first.
    bool AskSaveBeforeExit();

private:
    ui::Application& app_;
    platform::Platform& platform_;
    ProgramTexts texts_;
    std::string folder_;
    // Writes the lines held back; true unless the file is busy.
    bool flushLog();
    // Sets the timed try of the lines held back, unless one is set.
    void retryLog();

    std::string logLines_;  // lines not yet written
    ui::TimedCall logRetry_;
};

// "MMM DD,YYYY hh:mm:ss - text"
std::string FormatLogLine(const std::tm& when, const std::string& text);

// The command line as a program's Main reads it: the arguments after the
// program's name, joined by single blanks.
std::string CommandLine(int argc, char** argv);

// Lines joined with CR LF.
std::string JoinLines(std::initializer_list<std::string> lines);

}  // namespace foundation
