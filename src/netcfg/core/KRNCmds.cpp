#include "netcfg/core/KRNCmds.h"

#include "foundation/RawPrint.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/ProgressDlg.h"
#include "netcfg/core/QuillonModule.h"
#include "platform/CodePage.h"
#include "platform/FileReplace.h"
#include "platform/Socket.h"

namespace netcfg {

std::string NicSetupJob(const std::string& commands) {
    return "!VMD_SETUP\r\nNIC_SETUP\r\n" + commands + "\r\nreboot\r\nEND_NIC_SETUP\r\nVMD_END\r\n";
}

SendResult SendConfigJob(QuillonModule& m, const std::string& commands) {
    const auto bytes = platform::toAnsi(NicSetupJob(commands));
    if (!bytes) {
        m.WriteLog("Job text not convertible to the 8-bit code page");
        return SendResult::Failed;
    }
    auto sent = [](bool ok) { return ok ? SendResult::Sent : SendResult::Failed; };
    auto& port = m.PortSelectForm();
    if (port.PortTCP.value()) {
        ProgressDlg* page = m.ProgressDlgForm.loaded();
        if (!page || !page->pwSocket) return SendResult::Failed;
        page->pwSocket->send(*bytes);
        return sent(page->pwSocket->sendStatus() != platform::SendStatus::Failed);
    }
    // In a shared folder the user may write the file but make none beside it.
    if (port.PortFile.value())
        return sent(platform::ReplaceFile(port.FileName.text(), *bytes + "\r\n", platform::ClosedFolder::WriteInPlace));
    foundation::RawPrint raw(m);
    if (raw.SendRawJob(*bytes)) return SendResult::Sent;
    return raw.serverSilent() ? SendResult::ServerSilent : SendResult::Failed;
}

}  // namespace netcfg
