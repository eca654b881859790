#pragma once
// The printer wizard's About box: the shared one with a button that starts
// the system-information program.

#include "foundation/KAEAbout.h"
#include "ui/Control.h"

namespace printercfg {

class MarrowbyModule;

class KAEAbout : public foundation::KAEAbout {
public:
    explicit KAEAbout(MarrowbyModule& module);

    ui::CommandButton cmdSysInfo;

    void cmdSysInfo_Click();
    // Starts the system-information program, or says that there is none.
    void StartSysInfo();

private:
    MarrowbyModule& mm_;
};

}  // namespace printercfg
