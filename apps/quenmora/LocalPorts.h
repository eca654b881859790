#pragma once
// The local printer ports of this machine, named as the wizards name them:
// "LPTn:" for parallel ports, "COMn:" for serial ports that exist in
// hardware, "USB00n" for USB printers; each with the device URI a print
// queue on that port uses. Nothing here looks on the network.

#include <string>
#include <vector>

#include "platform/Spooler.h"

namespace quenmora {

struct Port {
    std::string name;
    std::string deviceUri;
};

// Parallel ports from <root>/dev/lpN and <root>/dev/parportN.
std::vector<Port> parallelPorts(const std::string& root);
// Serial ports from <root>/sys/class/tty: ttySN with a device behind it and
// a port type other than 0, then USB serial adapters (ttyUSBN, ttyACMN).
std::vector<Port> serialPorts(const std::string& root);
// USB printers from the spooler's device list, in its order.
std::vector<Port> usbPortsFrom(const std::vector<platform::LocalDevice>& devices);
// USB printers from <root>/dev/usb/lpN and the IEEE 1284 device ID the
// kernel shows for each; a printer whose ID cannot be read is left out.
std::vector<Port> usbPortsFromNodes(const std::string& root);
// The URI the spooler's USB backend gives a printer with this device ID;
// empty without a maker and model.
std::string usbUriFromDeviceId(const std::string& deviceId);

// "ports.txt": the names, one a line with CR LF, then "FILE:".
std::string portsText(const std::vector<Port>& ports);
// "ports.map": NAME TAB URI, one a line with CR LF.
std::string portsMap(const std::vector<Port>& ports);

}  // namespace quenmora
