#pragma once
// WEP hexadecimal keys page.

#include <string>
#include <vector>

#include "netcfg/core/Page.h"
#include "netcfg/pages/WepKeyRows.h"
#include "ui/ControlArray.h"

namespace netcfg {

class WEPkeyDlg : public Page {
    // Built by the member initialisers before the controls that use it.
    WepKeyRows keys_;

public:
    explicit WEPkeyDlg(QuillonModule& module);

    ui::ControlArray<ui::Label> Label1;  // the heading, index 1
    ui::Label Label6;
    ui::ControlArray<ui::Label> Label0;  // 0 "Key Size:", 1 "Default Key:"
    ui::ComboBox KeySize;
    ui::Label Label3;
    ui::ComboBox AuthMethod;
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

    // -1 or 0 accepted, 1 key format error, 2 key size error.
    int ValidateHexKeys();
    // Checks the groups of one key and adds their lengths to `total`:
    // 0 good, 1 bad.
    static int CheckKeyGroups(const std::vector<std::string>& groups, int& total);
    // Every character is a hexadecimal digit (an empty text is).
    static bool IsHexText(const std::string& text);

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
    // The row of the last key ValidateHexKeys looked at: the one it refused.
    int refusedKey_ = 0;
};

}  // namespace netcfg
