// tevask: starts the program its first argument names (with the rest of the
// arguments) and waits for it; a ".bat" file is run line by line instead,
// each line one command line, waited for before the next. Programs and the
// batch file are looked up as the wizards' process runner looks them up:
// the program folder, the current directory, PATH, then without ".exe".
// No shell is involved, so a line can start only the one program it names.

#include <spawn.h>
#include <sys/wait.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Process.h"

extern char** environ;

namespace {

bool isBatch(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (auto& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".bat";
}

// Runs the words as one program and waits for it; its exit code, 127 when
// it cannot be started.
int run(std::vector<std::string> words, const std::string& folder) {
    const std::string path = platform::findProgram(words[0], folder);
    if (path.empty()) {
        std::fprintf(stderr, "tevask: cannot find %s\n", words[0].c_str());
        return 127;
    }
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (int rc = posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ); rc != 0) {
        std::fprintf(stderr, "tevask: cannot start %s\n", path.c_str());
        return 127;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return 127;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 1;
}

int runBatch(const std::string& path, const std::string& folder) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tevask: cannot read %s\n", path.c_str());
        return 1;
    }
    int rc = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto words = platform::splitCommandLine(line);
        if (words.empty()) continue;
        rc = run(std::move(words), folder);
    }
    return rc;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: tevask PROGRAM [ARGUMENTS...] | tevask FILE.bat\n", stderr);
        return 2;
    }
    const std::string folder = platform::programFolder();
    const std::string name = argv[1];
    if (isBatch(name)) {
        const std::string path = platform::findFile(name, folder);
        if (path.empty()) {
            std::fprintf(stderr, "tevask: cannot find %s\n", name.c_str());
            return 1;
        }
        return runBatch(path, folder);
    }
    return run(std::vector<std::string>(argv + 1, argv + argc), folder);
}
