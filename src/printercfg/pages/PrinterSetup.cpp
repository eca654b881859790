#include "printercfg/pages/PrinterSetup.h"

namespace printercfg {

PrinterSetup::PrinterSetup(MarrowbyModule& module)
    : Page(module, "PrinterSetup", "Printer Setup - Page 2"),
      PrintSpeedCB(*this, "PrintSpeedCB"),
      GapCB(*this, "GapCB"),
      HorzCB(*this, "HorzCB"),
      VertCB(*this, "VertCB"),
      EmulationCB(*this, "EmulationCB") {
    for (ui::CheckBox* box : {&PrintSpeedCB, &GapCB, &HorzCB, &VertCB, &EmulationCB}) box->setValue(1);
}

}  // namespace printercfg
