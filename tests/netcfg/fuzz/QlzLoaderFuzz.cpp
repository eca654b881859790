// libFuzzer target of the settings-file loader: any bytes, read as a ".qlz"
// file with the empty password; the records of a file that loads are written
// into the pages of a fresh headless wizard and read back, and written out and
// read again unchanged. The same bytes are also decoded as hexadecimal text.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "netcfg/core/QuillonModule.h"
#include "netcfg/core/ReadSettings.h"
#include "netcfg/core/SettingsFile.h"
#include "platform/Platform.h"
#include "platform/memory/MemorySpooler.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"
#include "support/UiWorld.h"

namespace {

// What every run shares: the program folder, and a port lister that offers
// one port of each kind there.
struct Machine {
    testsupport::FakeProcesses processes;
    platform::MemorySpooler spooler;
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = &spooler};
    testsupport::TempDir folder;
    Machine() {
        processes.program("quenmora", [](const std::string&) {
            testsupport::writeFile("ports.txt", "LPT1:\r\nLPT2:\r\nCOM1:\r\nUSB001\r\nFILE:\r\n");
        });
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Machine machine;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // Two coded characters give one character of at most three UTF-8 bytes.
    if (netcfg::HexDecode(bytes).size() > (size + 1) / 2 * 3) __builtin_trap();

    std::istringstream in(bytes);
    const auto file = netcfg::ReadSettingsFile(in, "");
    if (file.status != netcfg::SettingsFileStatus::Loaded) return 0;

    // Written out again, the records read back unchanged.
    if (const auto again = netcfg::WriteSettingsFile("", file.records)) {
        std::istringstream copy(*again);
        if (netcfg::ReadSettingsFile(copy, "").records != file.records) __builtin_trap();
    }

    // Into the pages and back: nothing the file holds may make this fail.
    testsupport::CurrentDirectory inFolder(machine.folder.path());
    testsupport::UiWorld ui;
    netcfg::QuillonModule wizard(ui.app, machine.os, machine.folder.str());
    wizard.CurrentSettings = file.records;
    wizard.InitialSettings = file.records;
    netcfg::ApplySettings(wizard);
    netcfg::BuildNicSettings(wizard);
    wizard.UnloadAllForms();
    return 0;
}
