#pragma once
// WEP hexadecimal keys page, and the key rows it shares with the WEP text
// keys page.

#include <string>
#include <vector>

#include "netcfg/core/MaskedEntry.h"
#include "netcfg/core/Page.h"
#include "ui/ControlArray.h"

namespace netcfg {

// The four key rows of a WEP keys page: each a masked key with its
// confirmation and "show" box. The controls are the page's own arrays.
class WepKeyRows {
public:
    // Creates the rows' controls, row by row, in the page's order.
    void create(ui::ControlArray<ui::Label>& keyLabel, ui::ControlArray<ui::TextBox>& keyText,
                ui::ControlArray<ui::CheckBox>& showChk, ui::ControlArray<ui::Label>& confirmLabel,
                ui::ControlArray<ui::TextBox>& confirmTxt, const std::string& keyTip);
    // The caption and input columns of the rows, for the page's grid.
    std::vector<std::vector<ui::Control*>> grid() const;
    MaskedEntry& operator[](int i) { return rows_[static_cast<std::size_t>(i)]; }
    void setEnabled(bool on);
    void setMasking(bool masked);
    // Reports the first row whose confirmation differs (rows shown in clear
    // are skipped); true when all match.
    bool confirmAll(QuillonModule& m);

private:
    std::vector<MaskedEntry> rows_;
};

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
};

}  // namespace netcfg
