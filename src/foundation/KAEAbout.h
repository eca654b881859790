#pragma once
// The About box.

#include "ui/Control.h"
#include "ui/Form.h"

namespace foundation {

class WizardModule;

class KAEAbout : public ui::Form {
public:
    explicit KAEAbout(WizardModule& module);

    ui::Picture picIcon;
    ui::Label lblTitle;
    ui::Label lblVersion;
    ui::Label lblDescription;
    ui::Label lblDisclaimer;
    ui::CommandButton cmdOK;

    void cmdOK_Click();

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    WizardModule& m_;
};

}  // namespace foundation
