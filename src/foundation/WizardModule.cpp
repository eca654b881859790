#include "foundation/WizardModule.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <glob.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/KAEAbout.h"
#include "foundation/KAEIntro.h"
#include "platform/Process.h"

namespace foundation {

const char* const ModelPrefix = "7391-Q25 ";

namespace {
const char* const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
}

std::string FormatLogLine(const std::tm& t, const std::string& text) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%s %02d,%04d %02d:%02d:%02d", Months[(t.tm_mon % 12 + 12) % 12], t.tm_mday,
                  t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
    return std::string(stamp) + " - " + text;
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
}

WizardModule::~WizardModule() = default;

std::shared_ptr<KAEAbout> WizardModule::makeAbout() { return std::make_shared<KAEAbout>(*this); }

namespace {

// Errors on which the log write is tried again: the file is held by
// another process, access is refused, or the device failed.
bool busyError(int err) {
    return err == EWOULDBLOCK || err == EAGAIN || err == EACCES || err == EPERM || err == EBUSY || err == ETXTBSY ||
           err == EIO;
}

// One attempt; 0 on success, else the errno.
int appendLine(const std::string& path, const std::string& line) {
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
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
    const std::string line = FormatLogLine(app_.clock().localTime(), text) + "\r\n";
    const std::string path = folder_ + "/Log.txt";
    for (int attempt = 1; attempt <= LogAttempts; ++attempt) {
        int err = appendLine(path, line);
        if (err == 0 || !busyError(err)) return;
        if (attempt < LogAttempts) app_.clock().sleep(LogRetryMs);
    }
}

bool WizardModule::FileExists(const std::string& path) const {
    if (path.empty() || path.back() == '/' || path.back() == '\\') return false;
    glob_t g{};
    bool found = false;
    if (::glob(path.c_str(), GLOB_NOSORT, nullptr, &g) == 0) {
        for (std::size_t i = 0; i < g.gl_pathc && !found; ++i) {
            struct stat st{};
            found = ::stat(g.gl_pathv[i], &st) == 0 && S_ISREG(st.st_mode);
        }
    }
    globfree(&g);
    return found;
}

void WizardModule::ShowSetupSent() {
    app_.msgBox(texts_.successText, ui::Buttons::OK, ui::Icon::Information, 1, "Process Successful");
    SetupSent = true;
}

void WizardModule::ShowNotice(const std::string& text) {
    app_.msgBox(text, ui::Buttons::OK, ui::Icon::Information, 1, "Notice");
}

bool WizardModule::ConfirmOverwrite() {
    return app_.msgBox(JoinLines({"Warning! Selected file currently exist", "Do you want to overwrite the file?"}),
                       ui::Buttons::YesNo, ui::Icon::Exclamation, 2, "File Exist Error") == ui::IDYES;
}

void WizardModule::CallSetupMenu(const std::string& keyword) {
    if (!CdMenuMode) return;
    platform_.processes().startDetached(CdMenuProgram + " " + keyword + " " + CdMenuArgs, true);
}

}  // namespace foundation
