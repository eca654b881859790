#include "foundation/WizardModule.h"

#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>

#include "foundation/KAEAbout.h"
#include "foundation/KAEIntro.h"
#include "platform/Process.h"
#include "platform/Spooler.h"

namespace foundation {

const char* const ModelPrefix = "7391-Q25 ";

namespace {

// The abbreviated month name of the user's locale (the environment's
// LC_ALL, LC_TIME or LANG); English where none is set or it is missing.
std::string monthName(int month) {
    std::tm t{};
    t.tm_mon = (month % 12 + 12) % 12;
    t.tm_mday = 1;
    t.tm_year = 100;
    char name[64] = "";
    locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    locale_t used = user ? user : newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    if (used) {
        strftime_l(name, sizeof name, "%b", &t, used);
        freelocale(used);
    }
    return name;
}

}  // namespace

std::string FormatLogLine(const std::tm& t, const std::string& text) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, " %02d,%04d %02d:%02d:%02d", t.tm_mday, t.tm_year + 1900, t.tm_hour, t.tm_min,
                  t.tm_sec);
    return monthName(t.tm_mon) + stamp + " - " + text;
}

std::string CommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

std::string JoinLines(std::initializer_list<std::string> lines) {
    std::string out;
    bool first = true;
    for (const auto& l : lines) {
        if (!first) out += "\r\n";
        out += l;
        first = false;
    }
    return out;
}

WizardModule::WizardModule(ui::Application& app, platform::Platform& platform, ProgramTexts texts,
                           std::string programFolder)
    : KAEIntroForm([this] { return std::make_shared<KAEIntro>(*this); }),
      KAEAboutForm([this] { return makeAbout(); }),
      app_(app),
      platform_(platform),
      texts_(std::move(texts)),
      folder_(std::move(programFolder)) {
    app_.setTitle(texts_.title);
    // Each action of the user may ask a print server that was silent before.
    app_.setActionStart([this] {
        if (platform_.spoolerBackend) platform_.spoolerBackend->newAction();
    });
}

WizardModule::~WizardModule() {
    app_.setActionStart({});
    // Lines still held back get one last try, without running events.
    if (!flushLog()) {
        app_.clock().sleep(LogRetryMs);
        flushLog();
    }
    logRetry_.reset();
}

std::shared_ptr<KAEAbout> WizardModule::makeAbout() { return std::make_shared<KAEAbout>(*this); }

namespace {

// The one error on which the log lines are kept for a later try: another
// process holds the file. Any other (a folder it may not write to, a full
// disk) drops them at once.
bool busyError(int err) { return err == EWOULDBLOCK || err == EAGAIN; }

// One UTF-8 character at `i` (a stray byte counts as one).
std::size_t charLength(const std::string& s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(n, s.size() - i);
}

// A file name against a pattern in which only "*" (any run of characters)
// and "?" (one character) are wildcards.
bool matches(const std::string& name, std::size_t n, const std::string& pattern, std::size_t p) {
    while (p < pattern.size()) {
        if (pattern[p] == '*') {
            while (p < pattern.size() && pattern[p] == '*') ++p;
            if (p == pattern.size()) return true;
            for (std::size_t at = n; at <= name.size(); at += at < name.size() ? charLength(name, at) : 1)
                if (matches(name, at, pattern, p)) return true;
            return false;
        }
        if (n >= name.size()) return false;
        const std::size_t len = charLength(name, n);
        if (pattern[p] == '?') {
            p += charLength(pattern, p);
        } else {
            const std::size_t plen = charLength(pattern, p);
            if (plen != len || pattern.compare(p, plen, name, n, len) != 0) return false;
            p += plen;
        }
        n += len;
    }
    return n == name.size();
}

bool ordinaryFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// One attempt; 0 on success, else the errno.
int appendLine(const std::string& path, const std::string& line) {
    // Owner only when new, as the lines may hold whole jobs.
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    int err = 0;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        err = errno;
    } else {
        const char* p = line.data();
        std::size_t left = line.size();
        while (left > 0) {
            ssize_t n = ::write(fd, p, left);
            if (n < 0) {
                if (errno == EINTR) continue;
                err = errno;
                break;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    if (::close(fd) != 0 && err == 0) err = errno;
    return err;
}

}  // namespace

void WizardModule::WriteLog(const std::string& text) {
    if (!DebugMode) return;
    logLines_ += FormatLogLine(app_.clock().localTime(), text) + "\r\n";
    if (!flushLog()) retryLog();
}

bool WizardModule::flushLog() {
    if (logLines_.empty()) return true;
    const int err = appendLine(folder_ + "/Log.txt", logLines_);
    if (err != 0 && busyError(err)) return false;
    logLines_.clear();
    logRetry_.reset();
    return true;
}

void WizardModule::retryLog() {
    if (logRetry_.pending()) return;
    logRetry_ = app_.callAfter(LogRetryMs, [this] {
        if (!flushLog()) retryLog();
    });
}

bool WizardModule::FileExists(const std::string& path) const {
    if (path.empty() || path.back() == '/' || path.back() == '\\') return false;
    // Wildcards stand in the file name only; every other character, "[" and
    // "\\" included, is itself.
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.find_first_of("*?") == std::string::npos) return ordinaryFile(path);
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    bool found = false;
    while (dirent* e = ::readdir(dir)) {
        const std::string entry = e->d_name;
        if (matches(entry, 0, name, 0) && ordinaryFile(folder + (folder.back() == '/' ? "" : "/") + entry)) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

void WizardModule::ShowSetupSent() {
    app_.msgBox(texts_.successText, ui::Buttons::OK, ui::Icon::Information, 1, "Process Successful");
    SetupSent = true;
}

void WizardModule::ShowNotice(const std::string& text) {
    app_.msgBox(text, ui::Buttons::OK, ui::Icon::Information, 1, "Notice");
}

void WizardModule::ShowSpoolerSilent() {
    const std::string server = platform_.spooler().serverName();
    ShowError(JoinLines({(server.empty() ? std::string("The print server of this workstation")
                                         : "The print server " + server) +
                             " does not answer.",
                         "Make sure that it is running and that this workstation can reach it."}),
              false);
}

bool WizardModule::ConfirmOverwrite() {
    return app_.msgBox(JoinLines({"Warning! Selected file currently exist", "Do you want to overwrite the file?"}),
                       ui::Buttons::YesNo, ui::Icon::Exclamation, 2, "File Exist Error") == ui::IDYES;
}

std::string WizardModule::ReadSwitches(const std::string& commandLine) {
    SettingsSavedToFile = false;
    DebugMode = false;
    CdMenuMode = false;
    CdMenuProgram = "Hollin.exe";

    std::string upper = commandLine;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper.find("LOG") != std::string::npos) {
        DebugMode = true;
        WriteLog("Entering Debug Mode");
    }
    if (upper.find("CD") != std::string::npos) {
        CdMenuMode = true;
        CdMenuArgs = commandLine.size() > 2 ? commandLine.substr(2) : std::string{};
        WriteLog("Tulver CD Menu Enabled");
    }
    return upper;
}

void WizardModule::ShowWelcome() {
    auto& intro = KAEIntroForm();
    intro.show();
    intro.Next.setFocus();
}

bool WizardModule::AskSaveBeforeExit() {
    return app_.msgBox(JoinLines({"You are about to exit this wizard after making changes.",
                                  "Once you exit, all of your settings will be lost.",
                                  "Would you like to save your settings before you exit?"}),
                       ui::Buttons::YesNo, ui::Icon::Question, 1,
                       "Leaving Wizard Without Saving Settings") == ui::IDYES;
}

void WizardModule::ConfirmCancel() {
    if (SetupSent) {
        ExitWizard();
        return;
    }
    int r = app_.msgBox(JoinLines({texts_.cancelText, "the wizard now, the printer will not be updated.",
                                   "Do you want to exit the wizard?"}),
                        ui::Buttons::YesNo, ui::Icon::Exclamation, 2, "Caution Exiting Wizard");
    if (r == ui::IDYES) ExitWizard();
}

void WizardModule::CallSetupMenu(const std::string& keyword) {
    if (!CdMenuMode) return;
    platform_.processes().startDetached(CdMenuProgram + " " + keyword + " " + CdMenuArgs, true);
}

}  // namespace foundation
