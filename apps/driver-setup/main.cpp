// 7391Q25DriverSetup: installs the printer driver for every 7391-Q25 family
// printer attached to this machine (USB, parallel, serial; the network is
// never searched): one enabled queue with the model's PPD for each printer
// that has none yet. Takes "/VERYSILENT" and shows nothing. Uses the CUPS
// server CUPS_SERVER names, else the local one; without the right to add
// queues it changes nothing and ends with exit code 1.

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "DriverModel.h"
#include "platform/cups/CupsSpooler.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        for (auto& c : arg) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (arg != "/VERYSILENT") {
            std::fputs("usage: 7391Q25DriverSetup [/VERYSILENT]\n", stderr);
            return 2;
        }
    }
    std::string folder = (std::filesystem::temp_directory_path() / "driver-setup-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        std::fputs("7391Q25DriverSetup: no temporary folder\n", stderr);
        return 1;
    }
    platform::CupsSpooler spooler;
    std::uint32_t failure = 0;
    driversetup::install(spooler, folder, failure);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    if (failure) {
        std::fprintf(stderr, "7391Q25DriverSetup: the spooler refused (error %u)\n", failure);
        return 1;
    }
    return 0;
}
