// libFuzzer target of the ".mqz" loader: any bytes, read as a settings file;
// a file that reads is written out and read again unchanged, then loaded into
// the pages of a fresh headless wizard (a model chosen by the input's length),
// whose pages, saved again, must give back the values that were loaded.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/memory/MemorySpooler.h"
#include "printercfg/core/KRNCmds.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/core/SettingsFile.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"
#include "support/UiWorld.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static testsupport::FakeProcesses processes;
    static platform::MemorySpooler spooler;
    static platform::Platform os{.processLauncher = &processes, .spoolerBackend = &spooler};
    static testsupport::TempDir folder;
    static const std::string file = folder.file("input.mqz"), again = folder.file("again.mqz");

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in(bytes);
    const auto read = printercfg::ReadSettingsFile(in);
    if (read.status != printercfg::SettingsFileStatus::Loaded) return 0;
    const auto written = printercfg::WriteSettingsFile(read.values);
    std::istringstream copy(written.value_or(""));
    if (!written || printercfg::ReadSettingsFile(copy).values != read.values) __builtin_trap();

    testsupport::UiWorld ui;
    printercfg::MarrowbyModule wizard(ui.app, os, folder.str());
    wizard.MaxMediaWidth = 4 + 2 * static_cast<int>(size % 3);
    wizard.ResolutionClass = 2 + static_cast<int>(size / 3 % 2);
    testsupport::writeFile(file, bytes);
    if (wizard.LoadWizardSettings(file)) {
        std::remove(again.c_str());
        if (!wizard.SaveWizardSettings(again)) __builtin_trap();
        std::ifstream saved(again, std::ios::binary);
        if (printercfg::ReadSettingsFile(saved).values != read.values) __builtin_trap();
        wizard.CheckLabelSize();
        printercfg::KRNCmds jobs(wizard);
        jobs.BuildCfgJob(jobs.ReadCfgChoices());
    }
    wizard.UnloadAllForms();
    return 0;
}
