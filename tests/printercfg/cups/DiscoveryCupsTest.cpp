// Printer discovery and the TCP/IP port view against a private CUPS
// scheduler, with queues made from small PPD files of our own; and against
// servers that do not answer.

#include <gtest/gtest.h>

#include <chrono>

#include "foundation/KAEIntro.h"
#include "platform/RegistryViews.h"
#include "platform/cups/CupsSpooler.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/core/ProgressDlg.h"
#include "printercfg/pages/PrinterSetup.h"
#include "printercfg/pages/SelectDlg.h"
#include "printercfg/pages/Selection.h"
#include "support/CupsServer.h"
#include "support/Loopback.h"
#include "support/MarrowbyWorld.h"
#include "support/PrintServers.h"

using platform::RegRoot;
using testsupport::testScheduler;
using Strings = std::vector<std::string>;

namespace {

const auto* const cupsEnvironment = ::testing::AddGlobalTestEnvironment(new testsupport::CupsEnvironment);

// A PPD whose *NickName is the driver name the queue reports.
std::string ppd(const std::string& nickName) {
    return "*PPD-Adobe: \"4.3\"\n"
           "*FormatVersion: \"4.3\"\n"
           "*FileVersion: \"1.0\"\n"
           "*LanguageVersion: English\n"
           "*LanguageEncoding: ISOLatin1\n"
           "*PCFileName: \"TESSIV.PPD\"\n"
           "*Manufacturer: \"Tessivarn\"\n"
           "*Product: \"(Label Printer)\"\n"
           "*ModelName: \"" +
           nickName +
           "\"\n"
           "*ShortNickName: \"Tessivarn Label\"\n"
           "*NickName: \"" +
           nickName +
           "\"\n"
           "*PSVersion: \"(3010.000) 0\"\n"
           "*LanguageLevel: \"3\"\n"
           "*ColorDevice: False\n"
           "*DefaultColorSpace: Gray\n"
           "*FileSystem: False\n"
           "*Throughput: \"1\"\n"
           "*TTRasterizer: Type42\n"
           "*cupsFilter: \"application/vnd.cups-raw 0 -\"\n"
           "*OpenUI *PageSize/Media Size: PickOne\n"
           "*OrderDependency: 10 AnySetup *PageSize\n"
           "*DefaultPageSize: w288h432\n"
           "*PageSize w288h432/4 x 6 in: \"<</PageSize[288 432]>>setpagedevice\"\n"
           "*CloseUI: *PageSize\n"
           "*OpenUI *PageRegion: PickOne\n"
           "*OrderDependency: 10 AnySetup *PageRegion\n"
           "*DefaultPageRegion: w288h432\n"
           "*PageRegion w288h432/4 x 6 in: \"<</PageSize[288 432]>>setpagedevice\"\n"
           "*CloseUI: *PageRegion\n"
           "*DefaultImageableArea: w288h432\n"
           "*ImageableArea w288h432: \"0 0 288 432\"\n"
           "*DefaultPaperDimension: w288h432\n"
           "*PaperDimension w288h432: \"288 432\"\n";
}

struct CupsDiscovery : ::testing::Test {
    testsupport::MarrowbyWorld w;
    platform::CupsSpooler cups;
    platform::RegistryViews views{w.store, cups, w.programFolder};
    std::vector<std::string> added;

    void SetUp() override {
        w.os.spoolerBackend = &cups;
        w.os.registryBackend = &views;
    }
    void TearDown() override { testScheduler().removeQueues(added); }
    // A queue with a driver of the given name; none: a raw queue.
    void add(const std::string& name, const std::string& uri, const std::string& driver = {}) {
        if (driver.empty()) {
            testScheduler().addQueue(name, uri);
        } else {
            const std::string file = w.folder.file(name + ".ppd");
            testsupport::writeFile(file, ppd(driver));
            testScheduler().addQueueWithPpd(name, uri, file);
        }
        added.push_back(name);
    }
};

TEST_F(CupsDiscovery, SupportedQueuesAreListedInTheServersOrderByTheirDriver) {
    add("Office", "socket://127.3.3.3:9100");
    add("Label-6", "socket://127.3.3.4:9100", "Tessivarn 7391-Q25 006");
    add("Lower", "socket://127.3.3.5:9100", "Tessivarn 7391-q25");
    add("Label-8", "lpd://127.3.3.6/raw", "Tessivarn 7391Q25 008 300dpi");
    testScheduler().setDefault("Label-8");

    // A raw queue has no driver of ours.
    std::uint32_t error = 0;
    platform::QueueHandle h = cups.open("Office", platform::Access::Use, error);
    ASSERT_NE(h, 0) << error;
    platform::PrinterRecord record;
    ASSERT_TRUE(cups.readPrinter(h, record).ok());
    cups.close(h);
    EXPECT_EQ(record.driver, "Local Raw Printer");

    auto& page = w.m.SelectionForm();
    EXPECT_EQ(page.PrinterList.items(), (Strings{"Label-6", "Label-8"}));
    EXPECT_EQ(page.PrinterList.listIndex(), 1);
    EXPECT_EQ(w.m.SelectedPrinterName, "Label-8");

    page.show();
    page.Next.click();
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_EQ(cups.currentPrinter(), "Label-8");
    EXPECT_EQ(w.m.SelectedDriverName, "Tessivarn 7391Q25 008 300dpi");
    EXPECT_EQ(w.m.SelectedPrinterPort, "lpd://127.3.3.6/raw");
    EXPECT_EQ(w.m.MaxMediaWidth, 8);
    EXPECT_EQ(w.m.ResolutionClass, 3);
    EXPECT_TRUE(w.m.LoadDlgForm().isVisible());
}

std::string silentBox(const std::string& server) {
    return "The print server " + server +
           " does not answer.\r\nMake sure that it is running and that this workstation can reach it.\r\nOperation "
           "cannot continue.";
}

TEST_F(CupsDiscovery, ASilentServerIsNamedInPlaceOfTheDriverOffer) {
    testsupport::SilentServer silent;
    testsupport::UseServer use(silent.endpoint());
    const std::chrono::milliseconds limit(200);
    platform::CupsSpooler impatient(limit);
    w.os.spoolerBackend = &impatient;
    w.m.Main("");
    w.m.KAEIntroForm().Next.click();
    auto& choice = w.m.SelectDlgForm();
    choice.CfgPrinter.click();

    const auto start = std::chrono::steady_clock::now();
    choice.Next.click();
    // One call gave up after its time; none followed it.
    EXPECT_LE(std::chrono::steady_clock::now() - start, limit + std::chrono::milliseconds(500));
    EXPECT_EQ(silent.connections(), 1);
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().title, "Printer Error");
    EXPECT_EQ(w.messages.last().text, silentBox(silent.endpoint()));
    // Back on the choice, to try again: the server is asked again.
    EXPECT_TRUE(choice.isVisible());
    EXPECT_EQ(w.m.SelectionForm.loaded(), nullptr);
    choice.Next.click();
    EXPECT_EQ(silent.connections(), 2);
    EXPECT_EQ(w.messages.count(), 2u);
}

TEST_F(CupsDiscovery, AServerThatDiesDuringTheSendIsNamedInTheOnlyBox) {
    testsupport::DroppingServer dying;
    testsupport::UseServer use(dying.endpoint());
    platform::CupsSpooler impatient(std::chrono::milliseconds(200));
    w.os.spoolerBackend = &impatient;
    impatient.setCurrentPrinter("Label");
    w.m.SelectedPrinterPort = "socket://127.3.3.3:9100";
    w.m.CalibrationNeeded = true;
    auto& page = w.m.ProgressDlgForm();
    page.show();
    page.Start_Job();
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().text, silentBox(dying.endpoint()));
    EXPECT_TRUE(w.m.PrinterSetupForm().isVisible());
}

TEST_F(CupsDiscovery, PortViewHasTheTcpIpQueuesAsTheSpoolerReportsThem) {
    add("Sock", "socket://127.3.3.7:9101");
    add("Lpd", "lpd://127.3.3.8/queue", "Tessivarn 7391-Q25");
    add("Ipp", "ipp://127.3.3.9/ipp/print");
    const std::string ports = platform::RegistryViews::PortsKey;
    auto keys = views.subKeys(RegRoot::LocalMachine, ports);
    ASSERT_TRUE(keys.ok());
    // The server lists its queues by name.
    EXPECT_EQ(keys.value, (Strings{"lpd://127.3.3.8/queue", "socket://127.3.3.7:9101"}));
    std::string address;
    EXPECT_TRUE(w.m.GetKeyValue(RegRoot::LocalMachine, ports + "\\socket://127.3.3.7:9101", "IPAddress", address));
    EXPECT_EQ(address, "127.3.3.7");
    EXPECT_TRUE(w.m.GetKeyValue(RegRoot::LocalMachine, ports + "\\lpd://127.3.3.8/queue", "IPAddress", address));
    EXPECT_EQ(address, "127.3.3.8");
    EXPECT_FALSE(w.m.GetKeyValue(RegRoot::LocalMachine, ports + "\\ipp://127.3.3.9/ipp/print", "IPAddress", address));
}

}  // namespace
