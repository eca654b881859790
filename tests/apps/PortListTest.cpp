// The port lister's view of a machine, on a made-up /dev and /sys.

#include <gtest/gtest.h>

#include <filesystem>

#include "LocalPorts.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using testsupport::writeFile;

namespace {

struct FakeMachine {
    testsupport::TempDir root;
    void node(const std::string& path, const std::string& content = "") {
        fs::create_directories((root.path() / path).parent_path());
        writeFile((root.path() / path).string(), content);
    }
};

std::string names(const std::vector<quenmora::Port>& ports) {
    std::string out;
    for (const auto& p : ports) out += p.name + "=" + p.deviceUri + " ";
    return out;
}

TEST(PortList, FindsThePortsThatExist) {
    FakeMachine m;
    m.node("dev/lp0");
    m.node("dev/parport0");
    m.node("dev/parport2");  // no lp node: the port itself
    m.node("dev/lpx");
    m.node("sys/class/tty/ttyS0/device/x");
    m.node("sys/class/tty/ttyS0/type", "4\n");
    m.node("sys/class/tty/ttyS1/device/x");
    m.node("sys/class/tty/ttyS1/type", "0\n");  // a slot with no UART
    m.node("sys/class/tty/ttyS2/type", "4\n");  // no device behind it
    m.node("sys/class/tty/ttyS3/device/x");
    m.node("sys/class/tty/ttyS3/type", "4\n");
    m.node("sys/class/tty/ttyUSB0/device/x");
    m.node("sys/class/tty/ttyACM1/device/x");
    m.node("sys/class/tty/tty5/device/x");
    m.node("dev/usb/lp0");
    m.node("sys/class/usbmisc/lp0/device/ieee1284_id", "MFG:Tessivarn;CMD:ZPL;MDL:7391-Q25 006;SN:A 1;\n");
    m.node("dev/usb/lp1");  // its device ID cannot be read
    m.node("dev/usb/lp2");
    m.node("sys/class/usbmisc/lp2/device/ieee1284_id", "MANUFACTURER:Acme;MODEL:Label One;");
    const std::string root = m.root.str();

    EXPECT_EQ(names(quenmora::parallelPorts(root)), "LPT1:=parallel:/dev/lp0 LPT3:=parallel:/dev/parport2 ");
    EXPECT_EQ(names(quenmora::serialPorts(root)),
              "COM1:=serial:/dev/ttyS0?baud=9600 COM4:=serial:/dev/ttyS3?baud=9600 "
              "COM5:=serial:/dev/ttyUSB0?baud=9600 COM6:=serial:/dev/ttyACM1?baud=9600 ");
    EXPECT_EQ(names(quenmora::usbPortsFromNodes(root)),
              "USB001=usb://Tessivarn/7391-Q25%20006?serial=A%201 USB002=usb://Acme/Label%20One ");
    EXPECT_TRUE(quenmora::parallelPorts(root + "/nowhere").empty());
}

TEST(PortList, UsbPortsFromTheSpoolerAndTheFiles) {
    const std::vector<platform::LocalDevice> devices = {
        {"direct", "usb://Tessivarn/7391-Q25?serial=T1", "", "", ""},
        {"direct", "parallel:/dev/lp0", "", "", ""},
        {"direct", "usb://Acme/Two", "", "", ""},
    };
    const auto usb = quenmora::usbPortsFrom(devices);
    EXPECT_EQ(names(usb), "USB001=usb://Tessivarn/7391-Q25?serial=T1 USB002=usb://Acme/Two ");
    std::vector<quenmora::Port> all = {{"LPT1:", "parallel:/dev/lp0"}, {"COM1:", "serial:/dev/ttyS0?baud=9600"}};
    all.insert(all.end(), usb.begin(), usb.end());
    EXPECT_EQ(quenmora::portsText(all), "LPT1:\r\nCOM1:\r\nUSB001\r\nUSB002\r\nFILE:\r\n");
    EXPECT_EQ(quenmora::portsMap(all),
              "LPT1:\tparallel:/dev/lp0\r\nCOM1:\tserial:/dev/ttyS0?baud=9600\r\n"
              "USB001\tusb://Tessivarn/7391-Q25?serial=T1\r\nUSB002\tusb://Acme/Two\r\n");
    EXPECT_EQ(quenmora::portsText({}), "FILE:\r\n");
    EXPECT_EQ(quenmora::usbUriFromDeviceId("MFG:;MDL:X;"), "");
    EXPECT_EQ(quenmora::usbUriFromDeviceId("MFG:;MANUFACTURER:Acme;MDL:X;"), "usb://Acme/X");
}

}  // namespace
