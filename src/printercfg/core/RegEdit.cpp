#include "printercfg/core/RegEdit.h"

#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/core/cRegistry.h"

namespace printercfg {

std::string GetPortIPAddress(MarrowbyModule& module, const std::string& port) {
    cRegistry reg(module.os().registry(), module.texts().title);
    reg.ClassKey(cRegistry::LocalMachine);
    reg.SectionKey("SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\" + port);
    reg.ValueKey("IPAddress");
    reg.ValueType(1);
    // Default is empty, so a failed read gives "".
    return VariantText(reg.Value());
}

}  // namespace printercfg
