// libFuzzer target of the ".mqz" loader: any bytes, read as a settings file;
// a file that reads is written out and read again unchanged, then loaded into
// the pages of a fresh headless wizard (a model chosen by the input's length),
// and the pages saved again must give back the values that were loaded.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "printercfg/core/KRNCmds.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/core/SettingsFile.h"
#include "platform/Platform.h"
#include "platform/memory/MemorySpooler.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"
#include "support/UiWorld.h"

namespace {

struct Machine {
    testsupport::FakeProcesses processes;
    platform::MemorySpooler spooler;
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = &spooler};
    testsupport::TempDir folder;
    const std::string file = folder.file("input.mqz");
    const std::string again = folder.file("again.mqz");
};

printercfg::SettingsFileContents read(const std::string& bytes) {
    std::istringstream in(bytes);
    return printercfg::ReadSettingsFile(in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Machine machine;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto file = read(bytes);
    if (file.status != printercfg::SettingsFileStatus::Loaded) return 0;

    // Whatever reads can be written, and reads back the same.
    const auto written = printercfg::WriteSettingsFile(file.values);
    if (!written || read(*written).values != file.values) __builtin_trap();

    testsupport::UiWorld ui;
    printercfg::MarrowbyModule wizard(ui.app, machine.os, machine.folder.str());
    wizard.MaxMediaWidth = 4 + 2 * static_cast<int>(size % 3);
    wizard.ResolutionClass = 2 + static_cast<int>(size / 3 % 2);
    testsupport::writeFile(machine.file, bytes);
    if (wizard.LoadWizardSettings(machine.file)) {
        std::remove(machine.again.c_str());
        if (!wizard.SaveWizardSettings(machine.again)) __builtin_trap();
        std::ifstream in(machine.again, std::ios::binary);
        if (printercfg::ReadSettingsFile(in).values != file.values) __builtin_trap();
        wizard.CheckLabelSize();
        printercfg::KRNCmds jobs(wizard);
        jobs.BuildCfgJob(jobs.ReadCfgChoices());
    }
    wizard.UnloadAllForms();
    return 0;
}
