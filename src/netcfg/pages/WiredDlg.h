#pragma once
// The wired IP page: the adapter whose TCP/IP settings are stored, and how
// the printer's address is assigned (automatically or by hand).

#include <string>

#include "netcfg/core/Page.h"
#include "ui/Control.h"
#include "ui/ControlArray.h"

namespace netcfg {

class WiredDlg : public Page {
public:
    explicit WiredDlg(QuillonModule& module);

    ui::Label Label1;
    ui::ControlArray<ui::Label> Label6;
    ui::ControlArray<ui::OptionButton> NicOption;
    ui::ControlArray<ui::Label> Label5;
    ui::ControlArray<ui::Label> Label2;
    ui::Frame Frame1;
    ui::OptionButton useAutoIP;
    ui::CheckBox BootP;
    ui::CheckBox DHCP;
    ui::OptionButton useStaticIP;
    ui::TextBox IPAddr;
    ui::TextBox SubMask;
    ui::TextBox Gateway;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;

    // Wired adapter, automatic assignment with DHCP; the texts stay.
    void SetDefaultState();

    void useAutoIP_Click();
    void useStaticIP_Click();
    void Next_Click();
    void Prev_Click();
    void Cancel_Click();

protected:
    void Form_Load() override;

private:
    // Creates the adapter options in Frame1 and the next instruction, Label6(0).
    ui::Form& adapterOptions();
    bool ValidateStaticAddress();
    bool ValidateDottedAddress(const std::string& text, const std::string& name);
    bool ValidateSubnetMask(const std::string& text);
    void EnableManual(bool on);
};

}  // namespace netcfg
