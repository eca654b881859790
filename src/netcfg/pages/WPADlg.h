#pragma once
// WPA page: WPA mode, cipher and passphrase.

#include "netcfg/core/MaskedEntry.h"
#include "netcfg/core/Page.h"

namespace netcfg {

class WPADlg : public Page {
public:
    explicit WPADlg(QuillonModule& module);

    ui::Label Label1;
    ui::Label Label6;
    ui::Label Label5;
    ui::ComboBox WPAMode;
    ui::Label Label2;
    ui::ComboBox EncryptMethod;
    ui::Label Label3;
    ui::TextBox PassPhrase;
    ui::CheckBox ShowCheck;
    ui::Label Label4;
    ui::Label ConfirmLabel;
    ui::TextBox ConfirmTxt;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;
    ui::Timer Timer1;

    void FillWpaModeList();
    void FillCipherList();
    void ShowCheck_Click();
    void WPAMode_DropDown();
    void Timer1_Timer();
    void UpdateWpaFields();
    void Next_Click();
    void Prev_Click();
    void Cancel_Click();

protected:
    void Form_Load() override;

private:
    MaskedEntry phrase_;
};

}  // namespace netcfg
