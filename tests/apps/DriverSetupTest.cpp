// The driver installer's choice of devices, models and queues, on the
// in-memory spooler.

#include <gtest/gtest.h>

#include "DriverModel.h"
#include "platform/memory/MemorySpooler.h"
#include "support/TempDir.h"

using platform::LocalDevice;
namespace SpoolError = platform::SpoolError;

namespace {

TEST(DriverSetup, ModelsFromTheDevicesModelTexts) {
    struct Case {
        LocalDevice device;
        bool family;
        const char* nickName;
        int width, dpi;
    };
    const Case cases[] = {
        {{"direct", "usb://T/7391-Q25", "Tessivarn 7391-Q25", "", ""}, true, "Tessivarn 7391-Q25", 4, 203},
        {{"direct", "usb://T/x", "Label printer", "MFG:Tessivarn;MDL:7391-Q25-006;", ""},
         true,
         "Tessivarn 7391-Q25-006",
         6,
         203},
        {{"direct", "usb://T/y", "Tessivarn 7391 008 305", "", ""}, true, "Tessivarn 7391-Q25-008-305", 8, 300},
        {{"serial", "serial:/dev/ttyS0", "", "MFG:T;MDL:7391-Q25 300;", ""}, true, "Tessivarn 7391-Q25-300", 4, 300},
        // A serial number is no model text.
        {{"direct", "usb://T/z", "Tessivarn 7391-Q25", "MFG:T;MDL:7391-Q25;SN:3008;", ""},
         true,
         "Tessivarn 7391-Q25",
         4,
         203},
        {{"direct", "usb://A/b", "Acme 7390", "MFG:Acme;MDL:7390;", ""}, false, "", 0, 0},
        {{"network", "socket://127.0.0.1", "Tessivarn 7391-Q25", "", ""}, false, "", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(driversetup::isFamilyDevice(c.device), c.family) << c.device.uri;
        if (!c.family) continue;
        const auto m = driversetup::modelOf(c.device);
        EXPECT_EQ(m.nickName, c.nickName) << c.device.uri;
        EXPECT_EQ(m.widthInches, c.width) << c.device.uri;
        EXPECT_EQ(m.dpi, c.dpi) << c.device.uri;
        const std::string ppd = driversetup::ppdText(m);
        EXPECT_NE(ppd.find("*NickName: \"" + m.nickName + "\"\n"), std::string::npos);
        EXPECT_NE(ppd.find("*ModelName: \"" + m.nickName + "\"\n"), std::string::npos);
        EXPECT_NE(ppd.find("*DefaultResolution: " + std::to_string(c.dpi) + "dpi\n"), std::string::npos);
    }
}

TEST(DriverSetup, AddsOneQueuePerDeviceWithoutOurDriver) {
    testsupport::TempDir dir;
    platform::MemorySpooler s;
    s.addQueue("Tessivarn-7391-Q25", "Local Raw Printer", "usb://T/raw");  // a name taken already
    s.addQueue("Served", "Tessivarn 7391-Q25-006", "usb://T/served");
    s.devices = {{"direct", "usb://T/served", "Tessivarn 7391-Q25-006", "", ""},
                 {"direct", "usb://T/raw", "Tessivarn 7391-Q25", "", ""},
                 {"direct", "usb://A/other", "Acme Label", "MFG:Acme;MDL:L1;", ""},
                 {"direct", "parallel:/dev/lp0", "Unknown", "MFG:Tessivarn;MDL:7391-Q25-008;", ""}};
    std::uint32_t failure = 1;
    auto added = driversetup::install(s, dir.str(), failure);
    EXPECT_EQ(failure, 0u);
    EXPECT_EQ(added, (std::vector<std::string>{"Tessivarn-7391-Q25-2", "Tessivarn-7391-Q25-008"}));
    EXPECT_EQ(s.queue("Tessivarn-7391-Q25-2").record.driver, "Tessivarn 7391-Q25");
    EXPECT_EQ(s.queue("Tessivarn-7391-Q25-2").record.port, "usb://T/raw");
    EXPECT_EQ(s.queue("Tessivarn-7391-Q25-008").record.driver, "Tessivarn 7391-Q25-008");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));  // no PPD left behind
    // Run again: every device has its queue.
    EXPECT_TRUE(driversetup::install(s, dir.str(), failure).empty());

    // Without the right: nothing is added, the refusal is reported.
    platform::MemorySpooler locked;
    locked.devices = s.devices;
    locked.addQueueResult = platform::SpoolResult::failed(SpoolError::AccessDenied);
    EXPECT_TRUE(driversetup::install(locked, dir.str(), failure).empty());
    EXPECT_EQ(failure, SpoolError::AccessDenied);
    EXPECT_TRUE(locked.queues().names.empty());
    locked.devicesResult = platform::SpoolResult::failed(SpoolError::AccessDenied);
    driversetup::install(locked, dir.str(), failure);
    EXPECT_EQ(failure, SpoolError::AccessDenied);
}

}  // namespace
