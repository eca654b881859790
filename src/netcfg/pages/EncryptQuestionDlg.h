#pragma once
// Security choice page: open network, WEP, or WPA and/or EAP.

#include "netcfg/core/Page.h"
#include "ui/ControlArray.h"

namespace netcfg {

class EncryptQuestionDlg : public Page {
public:
    explicit EncryptQuestionDlg(QuillonModule& module);

    // The page that showed this one; Back shows it again.
    ui::Form* Caller = nullptr;

    ui::Label Label1;
    ui::Label Label6;
    ui::ControlArray<ui::OptionButton> click;  // 0 open, 1 WEP, 2 other methods
    // Each help button is an array of one member: HelpOpen(0), HelpWEP(1),
    // HelpWPA(2), HelpLeap(3).
    ui::ControlArray<ui::CommandButton> HelpOpen;
    ui::ControlArray<ui::CommandButton> HelpWEP;
    ui::ControlArray<ui::CommandButton> HelpWPA;
    ui::ControlArray<ui::CommandButton> HelpLeap;
    ui::CheckBox WPA;
    ui::CheckBox EAP;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;

    void click_Click(int index);
    void Next_Click();
    void Prev_Click();
    void Cancel_Click();
    void HelpOpen_Click(int index);
    void HelpWEP_Click(int index);
    void HelpWPA_Click(int index);
    void HelpLeap_Click(int index);

protected:
    void Form_Load() override;

private:
    // Creates the three options and the first two help buttons in their
    // order on the page, ahead of the WPA box.
    ui::Form& optionRows();
};

}  // namespace netcfg
