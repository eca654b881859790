#pragma once
// Wireless settings choice page: which radio settings, and whether the
// security settings, are to be configured.

#include "netcfg/core/Page.h"
#include "ui/ControlArray.h"

namespace netcfg {

class WirelessQuestionDlg : public Page {
public:
    explicit WirelessQuestionDlg(QuillonModule& module);

    // The page that showed this one; Back shows it again.
    ui::Form* Caller = nullptr;

    ui::Label Label1;
    ui::Label Label6;
    // Row i of the radio page; every test compares with 1.
    ui::ControlArray<ui::CheckBox> check;
    ui::CommandButton HelpSSID;
    ui::CommandButton HelpOpMode;
    ui::CommandButton HelpSpeed;
    ui::CommandButton HelpChannel;
    ui::CommandButton HelpAntenna;
    ui::CommandButton HelpPreamble;
    ui::CommandButton HelpTxPower;
    ui::CommandButton HelpPower;
    ui::CommandButton HelpDevices;
    ui::CommandButton HelpCCode;
    ui::CheckBox EncryptionCB;
    ui::CommandButton HelpEncrpyt;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;

    void Next_Click();
    void Prev_Click();
    void Cancel_Click();
    void HelpSSID_Click() { HelpRow(0); }
    void HelpOpMode_Click() { HelpRow(1); }
    void HelpSpeed_Click() { HelpRow(2); }
    void HelpChannel_Click() { HelpRow(3); }
    void HelpAntenna_Click() { HelpRow(4); }
    void HelpPreamble_Click() { HelpRow(5); }
    void HelpTxPower_Click() { HelpRow(6); }
    void HelpPower_Click() { HelpRow(7); }
    void HelpDevices_Click() { HelpRow(8); }
    void HelpCCode_Click() { HelpRow(9); }
    void HelpEncrpyt_Click();

private:
    void HelpRow(int row);
};

}  // namespace netcfg
