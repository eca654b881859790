#pragma once
// The wired IP page: the adapter whose TCP/IP settings are stored, and how
// the printer's address is assigned (automatically or by hand).

#include <string>

#include "netcfg/core/InOrder.h"
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

private:
    InOrder adapterLabel_;

public:
    ui::Frame Frame1;

private:
    InOrder adapter_;

public:
    ui::OptionButton useAutoIP;
    ui::CheckBox BootP;

private:
    InOrder bootPLabel_;

public:
    ui::CheckBox DHCP;

private:
    InOrder dhcpLabel_;

public:
    ui::OptionButton useStaticIP;

private:
    InOrder ipLabel_;

public:
    ui::TextBox IPAddr;

private:
    InOrder maskLabel_;

public:
    ui::TextBox SubMask;

private:
    InOrder gatewayLabel_;

public:
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
    bool ValidateStaticAddress();
    bool ValidateDottedAddress(const std::string& text, const std::string& name);
    bool ValidateSubnetMask(const std::string& text);
    void EnableManual(bool on);
};

}  // namespace netcfg
