// The starter stand-in: program lookup, batch files run line by line.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "support/PrinterSim.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

// A copy of tevask in a program folder of the test's own, helper programs
// in the program folder, the current directory and on PATH.
struct StarterWorld {
    testsupport::TempDir dir;
    fs::path prog = dir.path() / "prog with blanks";
    fs::path work = dir.path() / "work";
    fs::path path = dir.path() / "path";
    std::string log = dir.file("log");

    StarterWorld() {
        for (const auto& d : {prog, work, path}) fs::create_directories(d);
        fs::copy_file(fs::path(QUILL_BIN_DIR) / "tevask", prog / "tevask");
        const std::string record = "printf '%s' \"$(basename \"$0\")\" >> '" + log + "'; printf '[%s]' \"$@\" >> '" +
                                   log + "'; echo >> '" + log + "'\n";
        script(prog / "helper", record);
        script(work / "inwork", record);
        script(path / "onpath", record);
        // Busy for a while without sleeping, then records its end.
        script(prog / "slow", "echo slow-start >> '" + log +
                                  "'\ni=0\nwhile [ $i -lt 3000 ]; do i=$((i+1)); done\n"
                                  "echo slow-end >> '" +
                                  log + "'\n");
        ::setenv("PATH", (path.string() + ":" + std::getenv("PATH")).c_str(), 1);
    }
    void script(const fs::path& file, const std::string& body) {
        writeFile(file.string(), "#!/bin/sh\n" + body);
        ::chmod(file.c_str(), 0755);
    }
    testsupport::ProgramResult run(const std::vector<std::string>& args) {
        return testsupport::runProgram(prog / "tevask", args, std::chrono::seconds(20), work);
    }
};

TEST(Tevask, StartsProgramsAsTheProcessRunnerFindsThem) {
    StarterWorld w;
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string log;
    };
    const Case cases[] = {
        {{"helper.exe", "a", "b c"}, 0, "helper[a][b c]\n"},  // program folder, without ".exe"
        {{"inwork"}, 0, "inwork[]\n"},                        // current directory
        {{"onpath.EXE", "x"}, 0, "onpath[x]\n"},              // PATH
        {{"false"}, 1, ""},                                   // the program's own exit code
        {{"missing.exe"}, 127, ""},
    };
    for (const auto& c : cases) {
        fs::remove(w.log);
        auto r = w.run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << r.err;
        EXPECT_EQ(readFile(w.log), c.log) << c.args[0];
    }
    EXPECT_EQ(w.run({}).exitCode, 2);
}

TEST(Tevask, RunsABatchLineByLineWaitingForEachAndStartingNoShell) {
    StarterWorld w;
    const std::string batch =
        "helper 1\r\n\r\n  \r\nhelper \"two words\" 2\r\nslow\r\n"
        "helper 3;touch injected `touch injected2`\nonpath.exe $HOME\r\nhelper last";
    const std::string expected =
        "helper[1]\nhelper[two words][2]\nslow-start\nslow-end\n"
        "helper[3;touch][injected][`touch][injected2`]\nonpath[$HOME]\nhelper[last]\n";
    // Relative (found in the current directory), and as a full path holding blanks.
    writeFile((w.work / "quillon.bat").string(), batch);
    writeFile((w.prog / "other.BAT").string(), batch);
    for (const std::string& arg : {std::string("quillon.bat"), (w.prog / "other.BAT").string()}) {
        fs::remove(w.log);
        auto r = w.run({arg});
        EXPECT_EQ(r.exitCode, 0) << arg << r.err;
        EXPECT_EQ(readFile(w.log), expected) << arg;
    }
    EXPECT_FALSE(fs::exists(w.work / "injected"));
    EXPECT_FALSE(fs::exists(w.work / "injected2"));
    // A line whose program is missing does not stop the rest; the last line's code is the result.
    writeFile((w.work / "bad.bat").string(), "nothing-here\r\nhelper after\r\n");
    fs::remove(w.log);
    EXPECT_EQ(w.run({"bad.bat"}).exitCode, 0);
    EXPECT_EQ(readFile(w.log), "helper[after]\n");
    EXPECT_EQ(w.run({"absent.bat"}).exitCode, 1);
}

}  // namespace
