// The port lister, the printer-setup entry point and the driver installer
// as programs, against the private CUPS scheduler; queues that print to
// the printer simulator on loopback.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "platform/Process.h"
#include "platform/ServerDeadline.h"
#include "support/CupsServer.h"
#include "support/Loopback.h"
#include "support/PrintServers.h"
#include "support/PrinterSim.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using testsupport::CupsServer;
using testsupport::readFile;
using testsupport::testScheduler;
using testsupport::writeFile;

namespace {

const auto* const cupsEnvironment = ::testing::AddGlobalTestEnvironment(new testsupport::CupsEnvironment);

const fs::path Bin = QUILL_BIN_DIR;

// The Windows command line as our launcher splits it, run in `cwd`.
testsupport::ProgramResult runLine(const std::string& line, const fs::path& cwd) {
    auto words = platform::splitCommandLine(line);
    const std::string program = platform::findProgram(words[0], Bin.string());
    words.erase(words.begin());
    return testsupport::runProgram(program, words, std::chrono::seconds(30), cwd);
}

const std::string UsbDevice =
    "direct usb://Tessivarn/7391-Q25-006?serial=T6 \"Tessivarn 7391-Q25-006\" \"Tessivarn 7391-Q25-006 USB\" "
    "\"MFG:Tessivarn;MDL:7391-Q25-006;SN:T6;\" \"\"";

TEST(Quenmora, UsbPrintersFromTheSpoolerElseFromTheDeviceNodes) {
    testsupport::TempDir root, work;
    fs::create_directories(root.path() / "dev/usb");
    fs::create_directories(root.path() / "sys/class/usbmisc/lp0/device");
    fs::create_directories(root.path() / "sys/class/tty/ttyS0");
    writeFile(root.file("sys/class/tty/ttyS0/device"), "");
    writeFile(root.file("dev/lp0"), "");
    writeFile(root.file("dev/usb/lp0"), "");
    writeFile(root.file("sys/class/usbmisc/lp0/device/ieee1284_id"), "MFG:Acme;MDL:Node;");
    ::setenv("QUENMORA_ROOT", root.str().c_str(), 1);
    auto& s = testScheduler();
    s.setBackend("usb", CupsServer::listingBackend({UsbDevice}));
    s.setBackend("serial", CupsServer::listingBackend({}));
    s.setBackend("parallel", CupsServer::listingBackend({}));

    struct Case {
        const char* name;
        std::function<void()> before;
        std::string usb;
    };
    testsupport::RefusingPort refusing;
    const Case cases[] = {
        {"spooler lists devices", [] {}, "USB001\tusb://Tessivarn/7391-Q25-006?serial=T6\r\n"},
        {"spooler refuses", [&] { s.setAdminAllowed(false); }, "USB001\tusb://Acme/Node\r\n"},
        {"no spooler", [&] { ::setenv("CUPS_SERVER", refusing.endpoint().c_str(), 1); }, "USB001\tusb://Acme/Node\r\n"},
    };
    for (const auto& c : cases) {
        c.before();
        auto r = testsupport::runProgram(Bin / "quenmora", {}, std::chrono::seconds(30), work.path());
        EXPECT_EQ(r.exitCode, 0) << c.name << r.err;
        EXPECT_EQ(readFile(work.file("ports.txt")), "LPT1:\r\nCOM1:\r\nUSB001\r\nFILE:\r\n") << c.name;
        EXPECT_EQ(readFile(work.file("ports.map")),
                  "LPT1:\tparallel:/dev/lp0\r\nCOM1:\tserial:/dev/ttyS0?baud=9600\r\n" + c.usb)
            << c.name;
    }
    ::setenv("CUPS_SERVER", s.address().c_str(), 1);
    s.setAdminAllowed(true);
    for (const char* b : {"usb", "serial", "parallel"}) s.restoreBackend(b);
    ::unsetenv("QUENMORA_ROOT");
}

// The temporary queue's lines, byte for byte as the network wizard writes them.
const std::string InstallLine =
    "rundll32 printui.dll,PrintUIEntry /q /if /b \"Quillon\" /f %windir%\\inf\\ntprint.inf "
    "/r \"LPT1:\" /m \"Generic / Text Only\"";
const std::string DeleteLine = "rundll32 printui.dll,PrintUIEntry /q /dl /n \"Quillon\"";

TEST(Rundll32, InstallsTheTemporaryQueueThroughTheStarterAndItsJobReachesThePrinter) {
    testsupport::PrinterSimOptions options;
    options.snmp = false;
    testsupport::PrinterSim sim(options);
    testsupport::TempDir work;
    const std::string uri = testsupport::socketUri(sim.address(), sim.tcpPort());
    writeFile(work.file("ports.map"), "COM1:\tserial:/dev/ttyS0?baud=9600\r\nLPT1:\t" + uri + "\r\n");
    writeFile(work.file("quillon.bat"), InstallLine + "\r\n");
    auto& s = testScheduler();

    auto r = testsupport::runProgram(Bin / "tevask", {work.file("quillon.bat")}, std::chrono::seconds(30), work.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(s.attribute("Quillon", "device-uri"), uri);
    EXPECT_EQ(s.attribute("Quillon", "printer-make-and-model"), "Local Raw Printer");
    EXPECT_EQ(s.attribute("Quillon", "printer-is-accepting-jobs"), "true");
    EXPECT_EQ(s.attribute("Quillon", "printer-state"), "3");

    const std::string job = "!VMD_SETUP\r\nNIC_SETUP\r\n\r\nreboot\r\nEND_NIC_SETUP\r\nVMD_END\r\n";
    s.submit("Quillon", "Quillon Command", job);
    ASSERT_TRUE(sim.waitForJobs(1, std::chrono::seconds(20)));
    EXPECT_EQ(sim.jobText(0), job);
    ASSERT_TRUE(s.waitForIdle("Quillon"));

    for (int i = 0; i < 2; ++i) {  // deleting twice: the second finds nothing and succeeds
        auto d = runLine(DeleteLine, work.path());
        EXPECT_EQ(d.exitCode, 0) << d.err;
        EXPECT_EQ(s.attribute("Quillon", "device-uri"), "");
    }
}

TEST(Rundll32, RefusesWhatItCannotInstall) {
    testsupport::TempDir work, empty;
    writeFile(work.file("ports.map"), "LPT1:\tsocket://127.0.0.1:9\n");
    struct Case {
        std::string line;
        fs::path cwd;
        int exitCode;
        std::string deviceUri;  // of "Quillon" afterwards; empty: none
    };
    const std::string base = "rundll32 printui.dll,PrintUIEntry /if /b \"Quillon\" /r ";
    const Case cases[] = {
        {base + "\"LPT1:\" /m \"Generic / Text Only\"", work.path(), 0, "socket://127.0.0.1:9"},  // LF map
        {base + "\"LPT1:\" /m \"Generic / Text Only\"", empty.path(), 1, ""},                     // no map here
        {base + "\"LPT2:\" /m \"Generic / Text Only\"", work.path(), 1, ""},                      // port not in the map
        {base + "\"LPT1:\" /m \"Tessivarn 7391-Q25\"", work.path(), 1, ""},                       // another driver
        {base + "\"LPT1:\" /m \"generic / text only\"", work.path(), 1, ""},
        {"rundll32 printui.dll,PrintUIEntry /if /r \"LPT1:\" /m \"Generic / Text Only\"", work.path(), 1, ""},
        {"rundll32 printui.dll,PrintUIEntry /q /if /dl /n \"Quillon\"", work.path(), 2, ""},
        {"rundll32 printui.dll,PrintUIEntry /q /xx", work.path(), 2, ""},
        {"rundll32 shell32.dll,Control_RunDLL /if", work.path(), 2, ""},
        {"rundll32 printui.dll,PrintUIEntry /q /if /b", work.path(), 2, ""},
    };
    for (const auto& c : cases) {
        auto r = runLine(c.line, c.cwd);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.line << r.err;
        EXPECT_EQ(testScheduler().attribute("Quillon", "device-uri"), c.deviceUri) << c.line;
        runLine(DeleteLine, work.path());
    }
    // Without the right to administer queues: neither a new queue nor a deletion.
    testScheduler().addQueue("Quillon", "socket://127.0.0.1:10");
    testScheduler().setAdminAllowed(false);
    EXPECT_EQ(runLine(base + "\"LPT1:\" /m \"Generic / Text Only\"", work.path()).exitCode, 1);
    EXPECT_EQ(runLine(DeleteLine, work.path()).exitCode, 1);
    testScheduler().setAdminAllowed(true);
    EXPECT_EQ(testScheduler().attribute("Quillon", "device-uri"), "socket://127.0.0.1:10");
    testScheduler().deleteQueue("Quillon");
}

// Run by the starter as the network wizard runs it, with the deadline the
// wizard gives in the environment: the lines together give up on a silent
// server by then (before the 10 s either of the two would wait on its own),
// and the exit code names the silence.
TEST(Rundll32, GivesUpOnASilentServerByTheDeadlineItIsGiven) {
    testsupport::SilentServer silent;
    testsupport::UseServer use(silent.endpoint());
    testsupport::TempDir work;
    writeFile(work.file("quillon.bat"), DeleteLine + "\r\n" + DeleteLine + "\r\n");
    constexpr std::chrono::milliseconds Left{1000};
    const auto [name, value] = platform::serverDeadline(Left);
    ::setenv(name.c_str(), value.c_str(), 1);
    const auto start = std::chrono::steady_clock::now();
    auto r = testsupport::runProgram(Bin / "tevask", {work.file("quillon.bat")}, std::chrono::seconds(30), work.path());
    const auto took = std::chrono::steady_clock::now() - start;
    ::unsetenv(name.c_str());
    EXPECT_EQ(r.exitCode, platform::ServerSilentExit) << r.err;
    EXPECT_LT(took, std::chrono::seconds(9));
}

TEST(Rundll32, TheMapInTheCurrentFolderComesBeforeTheOneBesideTheProgram) {
    testsupport::TempDir prog, work, empty;
    fs::copy_file(Bin / "rundll32", prog.path() / "rundll32");
    writeFile(prog.file("ports.map"), "LPT1:\tsocket://127.0.0.1:10\r\n");
    writeFile(work.file("ports.map"), "LPT1:\tsocket://127.0.0.1:9\r\n");
    const std::vector<std::string> install = {
        "printui.dll,PrintUIEntry", "/q", "/if", "/b", "Quillon", "/r", "LPT1:", "/m", "Generic / Text Only"};
    for (const auto& [cwd, uri] : {std::pair{&work, "socket://127.0.0.1:9"}, {&empty, "socket://127.0.0.1:10"}}) {
        auto r = testsupport::runProgram(prog.path() / "rundll32", install, std::chrono::seconds(30), cwd->path());
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(testScheduler().attribute("Quillon", "device-uri"), uri);
        runLine(DeleteLine, work.path());
    }
}

TEST(DriverSetupProgram, AddsAQueueWithOurDriverForEachAttachedPrinterOnce) {
    auto& s = testScheduler();
    s.setBackend("usb",
                 CupsServer::listingBackend(
                     {UsbDevice, "direct usb://Acme/Label?serial=1 \"Acme Label\" \"Acme\" \"MFG:Acme;MDL:L;\" \"\""}));
    s.setBackend("serial", CupsServer::listingBackend({}));
    s.setBackend("parallel", CupsServer::listingBackend({}));
    const fs::path setup = Bin / "7391Q25DriverSetup";

    s.setAdminAllowed(false);  // without the right nothing changes
    EXPECT_EQ(testsupport::runProgram(setup, {"/VERYSILENT"}).exitCode, 1);
    s.setAdminAllowed(true);
    EXPECT_EQ(s.attribute("Tessivarn-7391-Q25-006", "device-uri"), "");

    for (int run = 0; run < 2; ++run) {
        auto r = testsupport::runProgram(setup, {"/VERYSILENT"}, std::chrono::seconds(30));
        EXPECT_EQ(r.exitCode, 0) << r.err;
    }
    const std::string q = "Tessivarn-7391-Q25-006";
    EXPECT_EQ(s.attribute(q, "printer-make-and-model"), "Tessivarn 7391-Q25-006");
    EXPECT_EQ(s.attribute(q, "device-uri"), "usb://Tessivarn/7391-Q25-006?serial=T6");
    EXPECT_EQ(s.attribute(q, "printer-is-accepting-jobs"), "true");
    EXPECT_EQ(s.attribute(q, "printer-state"), "3");
    EXPECT_EQ(s.attribute(q + "-2", "device-uri"), "");  // the second run added nothing

    // No printer of the family attached: nothing is added.
    s.deleteQueue(q);
    s.setBackend("usb", CupsServer::listingBackend({}));
    EXPECT_EQ(testsupport::runProgram(setup, {"/VERYSILENT"}).exitCode, 0);
    EXPECT_EQ(s.attribute(q, "device-uri"), "");
    EXPECT_EQ(testsupport::runProgram(setup, {"/SILENT"}).exitCode, 2);
    for (const char* b : {"usb", "serial", "parallel"}) s.restoreBackend(b);
}

}  // namespace
