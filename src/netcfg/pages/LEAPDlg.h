#pragma once
// EAP page: EAP variant, user name and password.

#include "netcfg/core/MaskedEntry.h"
#include "netcfg/core/Page.h"

namespace netcfg {

class LEAPDlg : public Page {
public:
    explicit LEAPDlg(QuillonModule& module);

    // The page that showed this one; Back shows it again.
    ui::Form* Caller = nullptr;

    ui::Label Label1;
    ui::Label Label6;
    ui::Label Label4;
    ui::ComboBox Combo1;
    ui::Label Label2;
    ui::TextBox UserName;
    ui::Label Label3;
    ui::TextBox Password;
    ui::CheckBox ShowCheck;
    ui::Label ConfirmLabel;
    ui::TextBox ConfirmTxt;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;
    ui::Timer Timer1;

    void ShowCheck_Click();
    void Combo1_DropDown();
    void Timer1_Timer();
    void UpdateCredentialFields();
    void Next_Click();
    void Prev_Click();
    void Cancel_Click();

protected:
    void Form_Load() override;

private:
    MaskedEntry password_;
};

}  // namespace netcfg
