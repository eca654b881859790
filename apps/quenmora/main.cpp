// quenmora: lists this machine's local printer ports into "ports.txt" (one
// name a line, "FILE:" last) and "ports.map" (NAME TAB DEVICE-URI) in the
// current directory. USB printers come from the spooler's device list
// where the user may read it, else from the kernel's printer nodes.
//
// Environment: QUENMORA_ROOT, a folder that stands for "/" when looking at
// /dev and /sys (tests); CUPS_SERVER names the spooler, as for every CUPS
// client.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "LocalPorts.h"
#include "platform/cups/CupsSpooler.h"

namespace {

bool write(const char* name, const std::string& text) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) std::fprintf(stderr, "quenmora: cannot write %s\n", name);
    return static_cast<bool>(out);
}

}  // namespace

int main() {
    const char* rootVariable = std::getenv("QUENMORA_ROOT");
    const std::string root = rootVariable ? rootVariable : "";

    std::vector<quenmora::Port> ports = quenmora::parallelPorts(root);
    for (auto& p : quenmora::serialPorts(root)) ports.push_back(std::move(p));

    platform::CupsSpooler spooler;
    platform::DeviceList devices = spooler.localDevices();
    auto usb = devices.ok() ? quenmora::usbPortsFrom(devices.devices) : quenmora::usbPortsFromNodes(root);
    for (auto& p : usb) ports.push_back(std::move(p));

    // Both files are written even when the first fails.
    const bool listed = write("ports.txt", quenmora::portsText(ports));
    const bool mapped = write("ports.map", quenmora::portsMap(ports));
    return listed && mapped ? 0 : 1;
}
