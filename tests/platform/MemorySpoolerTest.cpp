// The in-memory spooler itself.

#include <gtest/gtest.h>

#include "platform/memory/MemorySpooler.h"
#include "support/TempDir.h"

using namespace platform;
using Strings = std::vector<std::string>;

TEST(MemorySpooler, OpensByExactName) {
    MemorySpooler s;
    s.addQueue("Label");
    std::uint32_t error = 0;
    EXPECT_EQ(s.open("label", Access::Use, error), 0);
    EXPECT_EQ(error, SpoolError::InvalidPrinterName);
    QueueHandle h = s.open("Label", Access::Use, error);
    EXPECT_NE(h, 0);
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(s.openHandles(), 1u);
    s.close(h);
    EXPECT_EQ(s.openHandles(), 0u);
    EXPECT_EQ(s.calls, (Strings{"open label use failed 1801", "open Label use", "close Label"}));
}

TEST(MemorySpooler, ListsQueuesInOrderAndKeepsTheCurrentPrinter) {
    MemorySpooler s;
    s.addQueue("Zeta");
    s.addQueue("Alpha");
    s.setDefaultQueue("Alpha");
    EXPECT_EQ(s.queues().names, (Strings{"Zeta", "Alpha"}));
    EXPECT_EQ(s.currentPrinter(), "Alpha");
    s.setDefaultQueue("Zeta");
    EXPECT_EQ(s.currentPrinter(), "Alpha");  // read once
    s.setCurrentPrinter("Zeta");
    EXPECT_EQ(s.currentPrinter(), "Zeta");
    EXPECT_EQ(s.calls, (Strings{"queues", "default"}));
}

TEST(MemorySpooler, DeleteNeedsFullAccess) {
    MemorySpooler s;
    s.addQueue("Q");
    auto id = s.addJob("Q", "doc");
    std::uint32_t error = 0;
    QueueHandle use = s.open("Q", Access::Use, error);
    EXPECT_EQ(s.deleteJob(use, id).error, SpoolError::AccessDenied);
    QueueHandle all = s.open("Q", Access::All, error);
    EXPECT_TRUE(s.deleteJob(all, id).ok());
    EXPECT_EQ(s.deleteJob(all, id).error, SpoolError::InvalidParameter);
    EXPECT_TRUE(s.queue("Q").jobs.empty());
}

TEST(MemorySpooler, DocumentBecomesAJob) {
    MemorySpooler s;
    s.addQueue("Q");
    std::uint32_t error = 0;
    QueueHandle h = s.open("Q", Access::Use, error);
    ASSERT_TRUE(s.startDocument(h, "Quillon Command").ok());
    std::vector<JobRecord> jobs;
    ASSERT_TRUE(s.readJobs(h, jobs).ok());
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].status, JobStatus::Spooling);
    ASSERT_TRUE(s.startPage(h).ok());
    std::size_t written = 0;
    ASSERT_TRUE(s.write(h, "abc", written).ok());
    EXPECT_EQ(written, 3u);
    ASSERT_TRUE(s.endPage(h).ok());
    ASSERT_TRUE(s.endDocument(h).ok());
    ASSERT_TRUE(s.readJobs(h, jobs).ok());
    EXPECT_EQ(jobs[0].status, 0u);
    EXPECT_EQ(jobs[0].totalPages, 1u);
    EXPECT_EQ(jobs[0].document, "Quillon Command");
    EXPECT_EQ(s.documents.at(0).bytes, "abc");
    // Page calls outside a document fail.
    EXPECT_FALSE(s.startPage(h).ok());
    s.close(h);
}

TEST(MemorySpooler, InvalidHandle) {
    MemorySpooler s;
    PrinterRecord r;
    std::vector<JobRecord> jobs;
    auto pr = s.readPrinter(42, r);
    EXPECT_EQ(pr.error, SpoolError::InvalidHandle);
    EXPECT_TRUE(pr.early);
    EXPECT_TRUE(s.readJobs(42, jobs).early);
    EXPECT_EQ(s.deleteJob(42, 1).error, SpoolError::InvalidHandle);
}

TEST(MemorySpooler, InjectedFailures) {
    MemorySpooler s;
    s.addQueue("Q").openError = 1722;
    std::uint32_t error = 0;
    EXPECT_EQ(s.open("Q", Access::Use, error), 0);
    EXPECT_EQ(error, 1722u);
    s.queue("Q").openError = 0;
    s.queue("Q").denyAllAccess = true;
    EXPECT_NE(s.open("Q", Access::Use, error), 0);
    EXPECT_EQ(s.open("Q", Access::All, error), 0);
    EXPECT_EQ(error, SpoolError::AccessDenied);
}

TEST(MemorySpooler, AddsDeletesQueuesAndListsLocalDevicesOnly) {
    MemorySpooler s;
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("t.ppd"), "*PPD-Adobe: \"4.3\"\n*NickName: \"Tessivarn 7391-Q25\"\n");
    EXPECT_TRUE(s.addQueue(platform::QueueSpec{"Raw", "socket://127.0.0.1:9100", "", "", "stop-printer"}).ok());
    EXPECT_TRUE(s.addQueue(platform::QueueSpec{"Ppd", "usb://T/7391", dir.file("t.ppd"), "", ""}).ok());
    EXPECT_EQ(s.queue("Raw").record.driver, "Local Raw Printer");
    EXPECT_EQ(s.queue("Raw").spec.errorPolicy, "stop-printer");
    EXPECT_EQ(s.queue("Ppd").record.driver, "Tessivarn 7391-Q25");
    EXPECT_EQ(s.queue("Ppd").record.port, "usb://T/7391");
    EXPECT_TRUE(s.deleteQueue("Raw").ok());
    EXPECT_TRUE(s.deleteQueue("Raw").ok());
    EXPECT_EQ(s.queues().names, std::vector<std::string>{"Ppd"});
    s.addQueueResult = platform::SpoolResult::failed(SpoolError::AccessDenied);
    EXPECT_EQ(s.addQueue(platform::QueueSpec{"X", "usb://T/1", "", "", ""}).error, SpoolError::AccessDenied);

    s.devices = {{"direct", "usb://T/7391", "T 7391", "MFG:T;MDL:7391;", ""},
                 {"network", "socket://127.0.0.1", "T 7391", "", ""},
                 {"serial", "serial:/dev/ttyS0?baud=9600", "", "", ""}};
    auto list = s.localDevices();
    ASSERT_TRUE(list.ok());
    ASSERT_EQ(list.devices.size(), 2u);
    EXPECT_EQ(list.devices[1].uri, "serial:/dev/ttyS0?baud=9600");
    s.devicesResult = platform::SpoolResult::failed(SpoolError::AccessDenied);
    EXPECT_FALSE(s.localDevices().ok());
}
