#include "netcfg/core/PortSelect.h"

namespace netcfg {

PortSelect::PortSelect(QuillonModule& module) : Page(module, "PortSelect", "Printer Port Selection") {}

}  // namespace netcfg
