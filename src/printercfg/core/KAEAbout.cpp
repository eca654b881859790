#include "printercfg/core/KAEAbout.h"

#include "platform/Process.h"
#include "printercfg/core/MarrowbyModule.h"

namespace printercfg {

KAEAbout::KAEAbout(MarrowbyModule& module)
    : foundation::KAEAbout(module), cmdSysInfo(*this, "cmdSysInfo", "&System Info..."), mm_(module) {
    cmdSysInfo.onClick = [this] { cmdSysInfo_Click(); };
}

void KAEAbout::cmdSysInfo_Click() { StartSysInfo(); }

void KAEAbout::StartSysInfo() {
    using platform::RegRoot;
    std::string path;
    if (!mm_.GetKeyValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path)) {
        std::string folder;
        if (mm_.GetKeyValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", folder)) {
            const std::string tool = folder + "/MSINFO32.EXE";
            if (mm_.ProgramFileExists(tool)) path = tool;
        }
    }
    // Started only when the launcher finds it; not awaited.
    if (!path.empty() && !platform::findProgram(path, mm_.programFolder()).empty()) {
        mm_.os().processes().startDetached(MarrowbyModule::CommandPath(path), false);
        return;
    }
    mm_.ui().msgBox("System Information Is Unavailable At This Time", ui::Buttons::OK, ui::Icon::None);
}

}  // namespace printercfg
