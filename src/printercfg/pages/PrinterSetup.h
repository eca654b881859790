#pragma once
// Page not built yet: its Ignore boxes, all checked.

#include "printercfg/core/Page.h"
#include "ui/Control.h"

namespace printercfg {

class PrinterSetup : public Page {
public:
    explicit PrinterSetup(MarrowbyModule& module);

    ui::CheckBox PrintSpeedCB;
    ui::CheckBox GapCB;
    ui::CheckBox HorzCB;
    ui::CheckBox VertCB;
    ui::CheckBox EmulationCB;
};

}  // namespace printercfg
