#pragma once
// The welcome page of both wizards.

#include "foundation/WizardPage.h"
#include "ui/Control.h"

namespace foundation {

class WizardModule;

class KAEIntro : public WizardPage {
public:
    explicit KAEIntro(WizardModule& module);

    ui::Picture Logo;
    ui::Label Label1;
    ui::Label Label3;
    ui::Label Label4;
    ui::Label Label2;
    ui::CommandButton About;
    ui::CommandButton Exit;
    ui::CommandButton Next;

    void About_Click();
    void Exit_Click();
    void Next_Click();

protected:
    void Form_Load() override;

private:
    WizardModule& m_;
};

}  // namespace foundation
