// Adding and deleting queues and listing local devices against the private
// CUPS scheduler, with and without the right to administer it.

#include <gtest/gtest.h>

#include "platform/cups/CupsSpooler.h"
#include "support/CupsServer.h"
#include "support/Loopback.h"
#include "support/TempDir.h"

using platform::QueueSpec;
namespace SpoolError = platform::SpoolError;
using testsupport::CupsServer;
using testsupport::testScheduler;

namespace {

const char* const Ppd =
    "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n*PCFileName: \"TEST.PPD\"\n*Manufacturer: \"Tessivarn\"\n"
    "*Product: \"(7391-Q25)\"\n*ModelName: \"Tessivarn 7391-Q25-006\"\n*ShortNickName: \"Tessivarn 7391-Q25-006\"\n"
    "*NickName: \"Tessivarn 7391-Q25-006\"\n*PSVersion: \"(3010.000) 0\"\n*cupsFilter: \"application/vnd.cups-raw 0 "
    "-\"\n"
    "*OpenUI *PageSize: PickOne\n*DefaultPageSize: w288h432\n*PageSize w288h432: \"\"\n*CloseUI: *PageSize\n";

TEST(CupsAdmin, AddsQueuesEnabledAndDeletesThemTwice) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("t.ppd"), Ppd);
    struct Case {
        QueueSpec spec;
        const char* makeAndModel;
        const char* policy;
    };
    const Case cases[] = {
        {{"RawOne", "socket://127.0.0.1:9", "", "", "retry-current-job"}, "Local Raw Printer", "retry-current-job"},
        {{"PpdOne", "socket://127.0.0.1:9", dir.file("t.ppd"), "A label printer", "stop-printer"},
         "Tessivarn 7391-Q25-006",
         "stop-printer"},
        // The same name again: the queue takes the new settings, raw once more.
        {{"PpdOne", "socket://127.0.0.1:10", "", "", ""}, "Local Raw Printer", "stop-printer"},
    };
    platform::CupsSpooler cups;
    for (const auto& c : cases) {
        const std::string& name = c.spec.name;
        ASSERT_TRUE(cups.addQueue(c.spec).ok()) << name;
        auto& s = testScheduler();
        EXPECT_EQ(s.attribute(name, "printer-make-and-model"), c.makeAndModel) << name;
        EXPECT_EQ(s.attribute(name, "device-uri"), c.spec.deviceUri) << name;
        EXPECT_EQ(s.attribute(name, "printer-is-accepting-jobs"), "true") << name;
        EXPECT_EQ(s.attribute(name, "printer-state"), "3") << name;  // idle
        EXPECT_EQ(s.attribute(name, "printer-error-policy"), c.policy) << name;
    }
    EXPECT_EQ(testScheduler().attribute("PpdOne", "printer-info"), "A label printer");
    for (const char* name : {"RawOne", "PpdOne"}) {
        EXPECT_TRUE(cups.deleteQueue(name).ok());
        EXPECT_TRUE(cups.deleteQueue(name).ok());  // gone already
    }
    EXPECT_TRUE(cups.queues().names.empty());
    EXPECT_EQ(cups.addQueue(QueueSpec{"No URI", "", "", "", ""}).error, SpoolError::InvalidParameter);
}

TEST(CupsAdmin, ListsTheDevicesOfLocalBackendsOnly) {
    auto& s = testScheduler();
    s.setBackend("usb", CupsServer::listingBackend(
                            {"direct usb://Tessivarn/7391-Q25?serial=T1 \"Tessivarn 7391-Q25\" \"Tessivarn 7391-Q25 "
                             "USB\" \"MFG:Tessivarn;MDL:7391-Q25;SN:T1;\" \"\"",
                             "network socket://127.0.0.1:9100 \"Printer on the net\" \"Net\" \"\" \"\""}));
    s.setBackend("serial",
                 CupsServer::listingBackend({"serial serial:/dev/ttyS7?baud=9600 \"Unknown\" \"COM\" \"\" \"\""}));
    // A network backend would be asked only if the request let it.
    s.setBackend("socket", CupsServer::listingBackend({"network socket://127.0.0.1:1 \"Found\" \"\" \"\" \"\""}));
    platform::CupsSpooler cups;
    auto list = cups.localDevices();
    s.restoreBackend("usb");
    s.restoreBackend("serial");
    s.restoreBackend("socket");
    ASSERT_TRUE(list.ok()) << list.result.error;
    std::vector<std::string> uris;
    for (const auto& d : list.devices) uris.push_back(d.uri);
    std::sort(uris.begin(), uris.end());
    EXPECT_EQ(uris, (std::vector<std::string>{"serial:/dev/ttyS7?baud=9600", "usb://Tessivarn/7391-Q25?serial=T1"}));
    for (const auto& d : list.devices)
        if (d.uri.starts_with("usb:")) {
            EXPECT_EQ(d.makeAndModel, "Tessivarn 7391-Q25");
            EXPECT_EQ(d.deviceId, "MFG:Tessivarn;MDL:7391-Q25;SN:T1;");
            EXPECT_EQ(d.deviceClass, "direct");
        }
}

TEST(CupsAdmin, WithoutTheRightNothingIsChanged) {
    auto& s = testScheduler();
    s.addQueue("Kept", "socket://127.0.0.1:9");
    s.setAdminAllowed(false);
    platform::CupsSpooler cups;
    EXPECT_EQ(cups.addQueue(QueueSpec{"New", "socket://127.0.0.1:9", "", "", ""}).error, SpoolError::AccessDenied);
    EXPECT_EQ(cups.addQueue(QueueSpec{"Kept", "socket://127.0.0.1:10", "", "", ""}).error, SpoolError::AccessDenied);
    EXPECT_EQ(cups.deleteQueue("Kept").error, SpoolError::AccessDenied);
    EXPECT_EQ(cups.localDevices().result.error, SpoolError::AccessDenied);
    EXPECT_EQ(cups.queues().names, std::vector<std::string>{"Kept"});
    EXPECT_EQ(s.attribute("Kept", "device-uri"), "socket://127.0.0.1:9");
    s.setAdminAllowed(true);
    s.deleteQueue("Kept");
}

TEST(CupsAdmin, ServerOutOfReach) {
    testsupport::RefusingPort refusing;
    testsupport::UseServer use(refusing.endpoint());
    platform::CupsSpooler cups;
    EXPECT_EQ(cups.addQueue(QueueSpec{"Q", "socket://127.0.0.1:9", "", "", ""}).error, SpoolError::ServerUnavailable);
    EXPECT_EQ(cups.deleteQueue("Q").error, SpoolError::ServerUnavailable);
    EXPECT_EQ(cups.localDevices().result.error, SpoolError::ServerUnavailable);
}

}  // namespace
