#pragma once
// Wireless radio page: the ten radio settings of the wireless adapter, each
// row enabled when it is ticked on the wireless settings choice page.

#include <string>

#include "netcfg/core/Page.h"
#include "ui/ControlArray.h"

namespace netcfg {

class WirelessDlg : public Page {
public:
    explicit WirelessDlg(QuillonModule& module);

    // Enables exactly the rows ticked on the wireless settings choice page.
    void SetDefaultState();

    ui::Label Label1;
    ui::Label Label6;
    ui::ControlArray<ui::Label> Label2;  // row captions, index = row
    ui::TextBox SSID;
    ui::CommandButton HelpSSID;
    ui::ComboBox OpMode;
    ui::CommandButton HelpOpMode;
    ui::ComboBox Speed;
    ui::CommandButton HelpSpeed;
    ui::ComboBox Channel;
    ui::CommandButton HelpChannel;
    ui::ComboBox Antenna;
    ui::CommandButton HelpAntenna;
    ui::ComboBox Preamble;
    ui::CommandButton HelpPreamble;
    ui::ComboBox TxPower;
    ui::CommandButton HelpTxPower;
    ui::ComboBox PowerMgmt;
    ui::CommandButton HelpPower;
    ui::ComboBox Devices;
    ui::CommandButton HelpDevices;
    ui::ComboBox CountryCode;
    ui::CheckBox Check2;  // International Mode
    ui::CommandButton HelpCountry;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;
    ui::Timer Timer1;

    // The country text when the country list was last opened.
    std::string PrevCountryText;

    void CountryCode_DropDown();
    void Timer1_Timer();
    void Next_Click();
    void Prev_Click();
    void Cancel_Click();
    void HelpSSID_Click() { HelpRow(0); }
    void HelpOpMode_Click() { HelpRow(1); }
    void HelpSpeed_Click() { HelpRow(2); }
    void HelpChannel_Click();
    void HelpAntenna_Click() { HelpRow(4); }
    void HelpPreamble_Click() { HelpRow(5); }
    void HelpTxPower_Click() { HelpRow(6); }
    void HelpPower_Click() { HelpRow(7); }
    void HelpDevices_Click() { HelpRow(8); }
    void HelpCountry_Click() { HelpRow(9); }

protected:
    void Form_Load() override;
    // The country timer must not outlive the page on screen: a settings file
    // loaded later would otherwise have its country overwritten.
    void Form_Hide() override;

private:
    void ApplyCountryChange();
    void HelpRow(int row);
    // The input controls of row i.
    std::vector<ui::Control*> rowControls(int i);
};

}  // namespace netcfg
