// What the system-information program shows.

#include <gtest/gtest.h>

#include <sys/utsname.h>
#include <QString>
#include <QSysInfo>

#include "SystemSummary.h"
#include "platform/memory/MemorySpooler.h"

namespace {

TEST(SystemSummary, MachineVersionsAndEveryQueueInTheSpoolersOrder) {
    platform::MemorySpooler spooler;
    spooler.addQueue("Label", "Tessivarn 7391-Q25 006", "socket://127.1.1.1:9100");
    spooler.addQueue("Sealed", "Tessivarn", "usb://x").openError = 5;
    spooler.addQueue("Office", "Generic / Text Only", "ipp://127.1.1.2/ipp/print");
    const auto s = sysinfo::Collect(spooler, "CUPS/2.4 IPP/2.1");

    EXPECT_EQ(s.host, QSysInfo::machineHostName().toStdString());
    utsname u{};
    ASSERT_EQ(::uname(&u), 0);
    EXPECT_EQ(s.kernel.rfind(std::string(u.sysname) + " " + u.release, 0), 0u) << s.kernel;
    EXPECT_EQ(s.distribution, QSysInfo::prettyProductName().toStdString());
    EXPECT_EQ(s.qtVersion, qVersion());
    EXPECT_EQ(s.cupsVersion.rfind("libcups 2.", 0), 0u) << s.cupsVersion;
    EXPECT_NE(s.cupsVersion.find(", server CUPS/2.4 IPP/2.1"), std::string::npos);

    ASSERT_EQ(s.queues.size(), 3u);
    const std::tuple<const char*, const char*, const char*> expected[] = {
        {"Label", "Tessivarn 7391-Q25 006", "socket://127.1.1.1:9100"},
        {"Sealed", "", ""},
        {"Office", "Generic / Text Only", "ipp://127.1.1.2/ipp/print"},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(s.queues[i].name, std::get<0>(expected[i]));
        EXPECT_EQ(s.queues[i].driver, std::get<1>(expected[i]));
        EXPECT_EQ(s.queues[i].port, std::get<2>(expected[i]));
    }
    EXPECT_EQ(spooler.openHandles(), 0u);
}

}  // namespace
