#pragma once
// Starting other programs. A command line's first token names the program;
// it is looked up in the program folder, the current directory and PATH,
// as given and then without a trailing ".exe".

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace platform {

using ProcessHandle = std::int64_t;  // 0: none

enum class WaitResult { Ended, Running, Failed };

// Variables a program gets beside those of the wizard's own environment.
using Environment = std::vector<std::pair<std::string, std::string>>;

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts the command line; 0 when no process was created.
    virtual ProcessHandle start(const std::string& commandLine, bool hidden) = 0;
    // Starts and forgets (nobody waits for it).
    virtual void startDetached(const std::string& commandLine, bool hidden) = 0;
    // A zero-timeout wait.
    virtual WaitResult poll(ProcessHandle handle) = 0;
    virtual void close(ProcessHandle handle) = 0;

    // start() with `environment` added to the wizard's (a name it holds
    // already takes the new value). The default ignores the variables.
    virtual ProcessHandle startWith(const std::string& commandLine, bool hidden, const Environment& environment);
    // The exit code of a process that poll() found ended and that is not
    // closed yet; -1 when it did not exit by itself or it is not known.
    virtual int exitCode(ProcessHandle handle);
};

// Splits a command line as a Windows program would: blanks separate words,
// double quotes group them, a backslash escapes a double quote.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

// The full path of a program name, or empty when none is found.
std::string findProgram(const std::string& name, const std::string& programFolder);

// A file found in the same places and order as a program, executable or not
// (a batch file, say); empty when none is found.
std::string findFile(const std::string& name, const std::string& programFolder);

// The folder of the running executable.
std::string programFolder();

}  // namespace platform
