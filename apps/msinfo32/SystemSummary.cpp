#include "SystemSummary.h"

#include <cups/cups.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <QString>
#include <QSysInfo>
#include <QtGlobal>

#include "platform/Spooler.h"
#include "platform/cups/CupsHandles.h"

namespace sysinfo {

SystemSummary Collect(platform::Spooler& spooler, const std::string& cupsServer) {
    SystemSummary s;
    s.host = QSysInfo::machineHostName().toStdString();
    utsname u{};
    if (::uname(&u) == 0) s.kernel = std::string(u.sysname) + " " + u.release + " " + u.version + " " + u.machine;
    s.distribution = QSysInfo::prettyProductName().toStdString();
    s.qtVersion = qVersion();
    s.cupsVersion = "libcups " + std::to_string(CUPS_VERSION_MAJOR) + "." + std::to_string(CUPS_VERSION_MINOR) + "." +
                    std::to_string(CUPS_VERSION_PATCH);
    if (!cupsServer.empty()) s.cupsVersion += ", server " + cupsServer;

    for (const auto& name : spooler.queues().names) {
        Queue q{name, {}, {}};
        std::uint32_t error = 0;
        if (platform::QueueHandle h = spooler.open(name, platform::Access::Use, error)) {
            platform::PrinterRecord r;
            if (spooler.readPrinter(h, r).ok()) {
                q.driver = r.driver.value_or("");
                q.port = r.port.value_or("");
            }
            spooler.close(h);
        }
        s.queues.push_back(std::move(q));
    }
    return s;
}

std::string CupsServerVersion() {
    using platform::cups::Http;
    using platform::cups::Ipp;
    Http http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr));
    if (!http) return {};
    Ipp response(cupsDoRequest(http.get(), ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/"));
    const char* server = httpGetField(http.get(), HTTP_FIELD_SERVER);
    return server ? server : "";
}

}  // namespace sysinfo
