#include "netcfg/pages/WiredDlg.h"

#include "netcfg/core/DottedAddress.h"
#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "platform/CodePage.h"

namespace netcfg {

using foundation::JoinLines;

WiredDlg::WiredDlg(QuillonModule& module)
    : Page(module, "WiredDlg", "Configure Network Settings"),
      Label1(*this, "Label1", "IP Address Assignment"),
      Label6(*this, "Label6"),
      NicOption(*this, "NicOption"),
      Label5(*this, "Label5"),
      Label2(*this, "Label2"),
      Frame1(after(Label6, 1, "Please specify the network interface adapter to be configured."), "Frame1"),
      useAutoIP(adapterOptions(), "useAutoIP", "&Automatic IP Address Assignment"),
      BootP(*this, "BootP", "Enable BootP"),
      DHCP(after(Label5, 0, "Use the BootP protocol for network  address assignment"), "DHCP", "Enable DHCP"),
      useStaticIP(after(Label5, 1, "Use the DHCP server for network address assignment"), "useStaticIP",
                  "&Manual IP Address Assignment"),
      IPAddr(after(Label2, 0, "IP Address:"), "IPAddr"),
      SubMask(after(Label2, 1, "Subnet Mask:"), "SubMask"),
      Gateway(after(Label2, 2, "Gateway:"), "Gateway"),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel") {
    Label1.setFont(ui::HeadingFont);
    useAutoIP.setToolTip("Select this option if your network uses the BootP protocol to assign IP address.");
    useStaticIP.setToolTip("Select this option if your want to manually assign an IP address.");
    IPAddr.setToolTip("Enter the IP address for the printer.");
    SubMask.setToolTip("Enter the subnet mask for the printer.");
    Gateway.setToolTip("Enter the IP address of the gateway for the printer.");
    // The texts go into the job as 8-bit text.
    for (ui::TextBox* box : {&IPAddr, &SubMask, &Gateway}) box->setCharFilter(platform::isAnsi);
    Label2[0].setBuddy(&IPAddr);
    Label2[1].setBuddy(&SubMask);
    Label2[2].setBuddy(&Gateway);
    Next.setDefault(true);
    Cancel.setCancel(true);

    layoutRow({&NicOption[0], &NicOption[1]});
    layoutGrid({{&BootP, &Label5[0]}, {&DHCP, &Label5[1]}});
    layoutIndent(&useAutoIP, {&BootP, &DHCP});
    layoutGrid({{&Label2[0], &IPAddr}, {&Label2[1], &SubMask}, {&Label2[2], &Gateway}});

    useAutoIP.onClick = [this] { useAutoIP_Click(); };
    useStaticIP.onClick = [this] { useStaticIP_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Next.onClick = [this] { Next_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

ui::Form& WiredDlg::adapterOptions() {
    NicOption.addIn(&Frame1, 0, "&Wired");
    NicOption.addIn(&Frame1, 1, "Wireles&s");
    Label6.add(0, "Please specify how the IP Address will be assigned.");
    return *this;
}

void WiredDlg::Form_Load() { SetDefaultState(); }

void WiredDlg::SetDefaultState() {
    for (auto& label : Label2) label.setEnabled(false);
    NicOption[0].setValue(true);
    NicOption[1].setValue(false);
    useAutoIP.setValue(true);
    useAutoIP.setEnabled(true);
    BootP.setEnabled(true);
    DHCP.setEnabled(true);
    DHCP.setValue(1);
    BootP.setValue(0);
    useStaticIP.setValue(false);
    EnableInputs({&IPAddr, &SubMask, &Gateway}, false);
}

void WiredDlg::EnableManual(bool on) {
    EnableInputs({&Label2[0], &Label2[1], &Label2[2], &IPAddr, &SubMask, &Gateway}, on);
    EnableInputs({&BootP, &DHCP, &Label5[0], &Label5[1]}, !on);
}

void WiredDlg::useAutoIP_Click() { EnableManual(false); }

void WiredDlg::useStaticIP_Click() { EnableManual(true); }

void WiredDlg::Next_Click() {
    if (useStaticIP.value() && !ValidateStaticAddress()) return;
    hide();
    auto& choices = m_.QuestionDlgForm();
    bool services = false;
    for (int i = 1; i <= 5; ++i) services = services || choices.Check1[i].value() == 1;
    if (services) {
        ShowNext(m_.NetworkDlgForm()).InitForm();
    } else if (choices.Check1[6].value() == 1) {
        ShowNext(m_.WirelessQuestionDlgForm());
    } else {
        ShowNext(m_.FinishDialogForm());
    }
}

bool WiredDlg::ValidateStaticAddress() {
    // The focus goes to the box the error box spoke of.
    ui::TextBox* refused = !ValidateDottedAddress(IPAddr.text(), "IP Address")         ? &IPAddr
                           : !ValidateDottedAddress(Gateway.text(), "Gateway Address") ? &Gateway
                           : !ValidateSubnetMask(SubMask.text())                       ? &SubMask
                                                                                       : nullptr;
    if (refused) refused->setFocus();
    return !refused;
}

bool WiredDlg::ValidateDottedAddress(const std::string& text, const std::string& name) {
    const DottedFault fault = CheckHostAddress(text);
    if (fault == DottedFault::None) return true;
    m_.ShowError(HostAddressMessage(fault, name, name + " cannot be empty when the Static  option is selected."),
                 false);
    return false;
}

bool WiredDlg::ValidateSubnetMask(const std::string& text) {
    switch (CheckSubnetMask(text)) {
        case DottedFault::None:
            return true;
        case DottedFault::Empty:
            m_.ShowError(JoinLines({"Submask cannot be empty when the Static option is selected.",
                                    "Please enter a valid IP Address"}),
                         false);
            break;
        case DottedFault::Format:
            m_.ShowError(JoinLines({"Invalid submask format.", "Correct format is ###.###.###.###",
                                    "Example: 255.255.0.0", "Please enter a valid IP Address"}),
                         false);
            break;
        case DottedFault::Segment:
            m_.ShowError(JoinLines({"Invalid submask format. Segment value must be between 0 and 255",
                                    "Please enter a valid IP Address"}),
                         false);
            break;
    }
    return false;
}

void WiredDlg::Prev_Click() {
    m_.QuestionDlgForm().show();
    hide();
}

void WiredDlg::Cancel_Click() { m_.ConfirmCancel(); }

}  // namespace netcfg
