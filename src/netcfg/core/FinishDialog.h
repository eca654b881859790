#pragma once
// The finish page: the records and commands rebuilt, the offer to save the
// entries to a settings file first, then the send through the progress page,
// or a save and the end of the wizard.

#include "netcfg/core/Page.h"
#include "ui/Control.h"
#include "ui/ControlArray.h"

namespace netcfg {

class FinishDialog : public Page {
public:
    explicit FinishDialog(QuillonModule& module);

    // The page that showed this one; Back shows it again.
    ui::Form* Caller = nullptr;

    ui::Label Label1;
    ui::Label Label3;
    ui::ControlArray<ui::Label> Label2;  // 0 the save question, 1 the reboot note
    ui::OptionButton Option1;
    ui::OptionButton Option2;
    ui::CommandButton Back;
    ui::CommandButton OKButton;
    ui::CommandButton SaveExit;
    ui::CommandButton CancelButton;
    ui::Timer Timer1;

    void OKButton_Click();
    void SaveExit_Click();
    void Back_Click();
    void CancelButton_Click();
    void Timer1_Timer();

    static constexpr int PollMs = 500;

protected:
    void Form_Load() override;

private:
    void OpenDialog();
    void Arm();

    bool ExitAfterSave = false;
};

}  // namespace netcfg
