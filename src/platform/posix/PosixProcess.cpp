#include "platform/posix/PosixProcess.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace platform {

std::vector<std::string> splitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\\') {
            std::size_t n = 0;
            while (i + n < line.size() && line[i + n] == '\\') ++n;
            if (i + n < line.size() && line[i + n] == '"') {
                word.append(n / 2, '\\');
                if (n % 2 == 1) {
                    word += '"';
                    i += n;
                } else {
                    i += n - 1;
                }
            } else {
                word.append(n, '\\');
                i += n - 1;
            }
            inWord = true;
        } else if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

namespace {

bool regularFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool executable(const std::string& path) { return regularFile(path) && access(path.c_str(), X_OK) == 0; }

std::string withoutExe(const std::string& name) {
    if (name.size() > 4) {
        std::string tail = name.substr(name.size() - 4);
        for (auto& ch : tail) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if (tail == ".exe") return name.substr(0, name.size() - 4);
    }
    return {};
}

std::string lookIn(const std::string& name, const std::string& programFolder, bool (*fits)(const std::string&)) {
    if (name.find('/') != std::string::npos) return fits(name) ? name : std::string{};
    std::vector<std::string> dirs;
    if (!programFolder.empty()) dirs.push_back(programFolder);
    dirs.push_back(".");
    if (const char* path = std::getenv("PATH")) {
        std::string p = path;
        std::size_t start = 0;
        while (start <= p.size()) {
            std::size_t end = p.find(':', start);
            if (end == std::string::npos) end = p.size();
            if (end > start) dirs.push_back(p.substr(start, end - start));
            start = end + 1;
        }
    }
    for (const auto& d : dirs) {
        std::string full = d + "/" + name;
        if (fits(full)) return full;
    }
    return {};
}

}  // namespace

std::string findProgram(const std::string& name, const std::string& programFolder) {
    if (name.empty()) return {};
    std::string found = lookIn(name, programFolder, executable);
    if (found.empty()) {
        std::string bare = withoutExe(name);
        if (!bare.empty()) found = lookIn(bare, programFolder, executable);
    }
    return found;
}

std::string findFile(const std::string& name, const std::string& programFolder) {
    if (name.empty()) return {};
    return lookIn(name, programFolder, regularFile);
}

std::string programFolder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string path(buf, static_cast<std::size_t>(n));
    auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

PosixProcessLauncher::PosixProcessLauncher(std::string programFolder) : folder_(std::move(programFolder)) {}

namespace {

// The wizard's environment with `extra` added, a variable of the same name replaced.
std::vector<std::string> environmentWith(const Environment& extra) {
    std::vector<std::string> out;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const bool replaced = std::any_of(extra.begin(), extra.end(), [&](const auto& v) {
            return entry.size() > v.first.size() && entry.compare(0, v.first.size(), v.first) == 0 &&
                   entry[v.first.size()] == '=';
        });
        if (!replaced) out.push_back(entry);
    }
    for (const auto& [name, value] : extra) out.push_back(name + "=" + value);
    return out;
}

pid_t spawn(const std::string& commandLine, const std::string& folder, const Environment& extra = {}) {
    auto words = splitCommandLine(commandLine);
    if (words.empty()) return 0;
    std::string path = findProgram(words[0], folder);
    if (path.empty()) return 0;
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables;
    std::vector<char*> envp;
    if (!extra.empty()) {
        variables = environmentWith(extra);
        for (auto& v : variables) envp.push_back(v.data());
        envp.push_back(nullptr);
    }
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), extra.empty() ? environ : envp.data()) != 0)
        return 0;
    return pid;
}

}  // namespace

ProcessHandle PosixProcessLauncher::start(const std::string& commandLine, bool) { return spawn(commandLine, folder_); }

ProcessHandle PosixProcessLauncher::startWith(const std::string& commandLine, bool, const Environment& environment) {
    return spawn(commandLine, folder_, environment);
}

void PosixProcessLauncher::startDetached(const std::string& commandLine, bool) {
    pid_t pid = spawn(commandLine, folder_);
    if (pid == 0) return;
    // Nobody asks how it ended: a thread of its own waits for it, so that it
    // leaves no zombie behind once it ends.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

WaitResult PosixProcessLauncher::poll(ProcessHandle handle) {
    if (handle <= 0) return WaitResult::Failed;
    if (ended_.count(handle)) return WaitResult::Ended;
    int status = 0;
    pid_t r = waitpid(static_cast<pid_t>(handle), &status, WNOHANG);
    if (r == 0) return WaitResult::Running;
    if (r == static_cast<pid_t>(handle)) {
        ended_[handle] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return WaitResult::Ended;
    }
    return WaitResult::Failed;
}

void PosixProcessLauncher::close(ProcessHandle handle) { ended_.erase(handle); }

int PosixProcessLauncher::exitCode(ProcessHandle handle) {
    const auto it = ended_.find(handle);
    return it == ended_.end() ? -1 : it->second;
}

ProcessHandle ProcessLauncher::startWith(const std::string& commandLine, bool hidden, const Environment&) {
    return start(commandLine, hidden);
}

int ProcessLauncher::exitCode(ProcessHandle) { return -1; }

}  // namespace platform
