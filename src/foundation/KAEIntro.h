#pragma once
// The welcome page of both wizards.

#include "ui/Control.h"
#include "ui/Form.h"

namespace foundation {

class WizardModule;

class KAEIntro : public ui::Form {
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
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    WizardModule& m_;
};

}  // namespace foundation
