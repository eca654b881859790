#pragma once
// WEP text keys page: up to four keys as ASCII strings.

#include "netcfg/core/Page.h"
#include "netcfg/pages/WepKeyRows.h"
#include "ui/ControlArray.h"

namespace netcfg {

class WEPphraseDlg : public Page {
    // Built by the member initialisers before the controls that use it.
    WepKeyRows keys_;

public:
    explicit WEPphraseDlg(QuillonModule& module);

    ui::ControlArray<ui::Label> Label1;  // the heading, index 1
    ui::Label Label6;
    ui::Label Label3;
    ui::ComboBox AuthMethod;
    ui::ControlArray<ui::Label> Label0;  // 1 "Default Key:"
    ui::ComboBox DefaultKey;
    ui::Label Label2;
    ui::ControlArray<ui::Label> KeyLabel;
    ui::ControlArray<ui::TextBox> KeyText;
    ui::ControlArray<ui::CheckBox> ShowChk;
    ui::ControlArray<ui::Label> ConfirmLabel;
    ui::ControlArray<ui::TextBox> ConfirmTxt;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;
    ui::Timer Timer1;

    void UpdateKeyRows();
    void SetKeyMasking(bool masked);
    void DefaultKey_DropDown();
    void Timer1_Timer();
    void ShowChk_Click(int index);
    void Next_Click();
    void Prev_Click();
    void Cancel_Click();

protected:
    void Form_Load() override;

private:
    // Creates the key rows ahead of the buttons.
    ui::Form& keyRows();
};

}  // namespace netcfg
