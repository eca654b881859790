#include "netcfg/core/PortSelect.h"

#include <string>

#include "netcfg/core/DottedAddress.h"
#include "netcfg/core/LoadDlg.h"
#include "netcfg/core/Quenmoras.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/QuestionDlg.h"

namespace netcfg {

using foundation::JoinLines;

namespace {

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

PortSelect::PortSelect(QuillonModule& module)
    : Page(module, "PortSelect", "Printer Port Selection"),
      Label1(*this, "Label1", "Printer Port Selection"),
      Label2(*this, "Label2", "Specify the port used to communicate with the printer ."),
      SelectionLabel(*this, "SelectionLabel", "Select the communication port that the printer is attached to."),
      PortLPT(*this, "PortLPT", "&Parallel Print Port"),
      LPTCombo(*this, "LPTCombo"),
      PortCOM(*this, "PortCOM", "&Serial Port"),
      ComCombo(*this, "ComCombo"),
      PortUSB(*this, "PortUSB", "&USB"),
      USBCombo(*this, "USBCombo"),
      USB_ErrLbl(*this, "USB_ErrLbl",
                 "Your computer does not have a USB port driver installed for your printer.  To use the USB port, you "
                 "must physically attach the printer to the computer's USB port and follow the New Hardward Found "
                 "wizard to get the USB driver installed."),
      PortTCP(*this, "PortTCP", "&TCP/IP"),
      IPAddrLabel(*this, "IPAddrLabel", "IP Address:"),
      IPAddr(*this, "IPAddr"),
      PortFile(*this, "PortFile", "&File"),
      FileDescLabel(*this, "FileDescLabel",
                    "Configuration commands are saved in this file instead of being sent to the printer. All data, "
                    "including sensitive information such as passwords, are stored in this clear (unencrypted) text "
                    "file."),
      FileLabel(*this, "FileLabel", "Full Path and File  Name:"),
      FileName(*this, "FileName"),
      Browse(*this, "Browse", "Browse"),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel") {
    Label1.setFont(ui::HeadingFont);
    PortLPT.setToolTip("Select this option if your printer is attached via the parallel (printer) port");
    LPTCombo.setToolTip("Select the correct LPT port from the drop down list");
    PortCOM.setToolTip("Select this option if your printer is attached via the serial or communcations port");
    ComCombo.setToolTip("Select the correct COM port from the drop down list");
    PortUSB.setToolTip("Select this option if your printer is attached using a USB cable.");
    USBCombo.setToolTip("Selec the correct USB port from the drop down list");
    PortTCP.setToolTip("Select this option if the printer has a valid IP address and is attached to the network.");
    IPAddr.setToolTip("Enter the IP address of the printer.");
    PortFile.setToolTip("Send configuration commands to a file for future download");
    IPAddrLabel.setBuddy(&IPAddr);
    FileLabel.setBuddy(&FileName);
    Next.setDefault(true);
    Cancel.setCancel(true);

    // One grid, so that the lists and boxes of every port start at one x.
    layoutGrid({{&PortLPT, &LPTCombo},
                {&PortCOM, &ComCombo},
                {&PortUSB, &USBCombo},
                {&USB_ErrLbl},
                {&PortTCP},
                {&IPAddrLabel, &IPAddr},
                {&PortFile},
                {&FileDescLabel},
                {&FileLabel, &FileName, &Browse}});
    layoutIndent(&PortTCP, {&IPAddrLabel});

    PortLPT.onClick = [this] { PortLPT_Click(); };
    PortCOM.onClick = [this] { PortCOM_Click(); };
    PortUSB.onClick = [this] { PortUSB_Click(); };
    PortTCP.onClick = [this] { PortTCP_Click(); };
    PortFile.onClick = [this] { PortFile_Click(); };
    IPAddr.onKeyPress = [this](int& k) { IPAddr_KeyPress(k); };
    FileName.onKeyPress = [this](int& k) { FileName_KeyPress(k); };
    Browse.onClick = [this] { Browse_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Next.onClick = [this] { Next_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

void PortSelect::Form_Load() {
    Load_Combo();
    SelectDefaultPort();
}

void PortSelect::Load_Combo() {
    const int n = GetPorts(m_);
    m_.WriteLog("NumPorts=GetPorts()=[" + std::to_string(n) + "]");
    for (int i = 0; i < n; ++i) {
        const std::string& port = m_.PortList[static_cast<std::size_t>(i)];
        m_.WriteLog("   " + port);
        const bool colon = !port.empty() && port.back() == ':';
        if (colon && startsWith(port, "LPT"))
            LPTCombo.addItem(port);
        else if (colon && startsWith(port, "COM"))
            ComCombo.addItem(port);
        else if (startsWith(port, "USB"))
            USBCombo.addItem(port);
    }
    if (n == 0) {
        m_.ShowError(JoinLines({"Unable to get list of available local ports.", "Using default port settings."}),
                     false);
        LPTCombo.addItem("LPT1:");
    }

    for (auto [option, list] : {std::pair{&PortLPT, &LPTCombo}, std::pair{&PortCOM, &ComCombo}}) {
        if (list->listCount() > 0) {
            list->setListIndex(0);
        } else {
            list->setVisible(false);
            option->setVisible(false);
        }
    }
    if (USBCombo.listCount() > 0) {
        USBCombo.setListIndex(0);
        USB_ErrLbl.setVisible(false);
    } else {
        PortUSB.setVisible(false);
        USBCombo.setVisible(false);
        USB_ErrLbl.setVisible(true);
    }
    m_.WriteLog("exit Load_Combo");
}

void PortSelect::SelectDefaultPort() {
    ui::OptionButton* chosen = &PortTCP;
    if (LPTCombo.listCount() > 0)
        chosen = &PortLPT;
    else if (ComCombo.listCount() > 0)
        chosen = &PortCOM;
    else if (USBCombo.listCount() > 0)
        chosen = &PortUSB;
    chosen->setValue(true);
    ApplyRow(*chosen);
}

void PortSelect::ApplyRow(const ui::OptionButton& chosen) {
    const bool tcp = &chosen == &PortTCP, file = &chosen == &PortFile;
    LPTCombo.setEnabled(&chosen == &PortLPT);
    ComCombo.setEnabled(&chosen == &PortCOM);
    USBCombo.setEnabled(&chosen == &PortUSB);
    EnableInputs({&IPAddr}, tcp);
    IPAddrLabel.setEnabled(tcp);
    FileDescLabel.setEnabled(file);
    FileLabel.setEnabled(file);
    EnableInputs({&FileName}, file);
    Browse.setEnabled(file);
}

void PortSelect::PortLPT_Click() { ApplyRow(PortLPT); }
void PortSelect::PortCOM_Click() { ApplyRow(PortCOM); }
void PortSelect::PortUSB_Click() { ApplyRow(PortUSB); }
void PortSelect::PortTCP_Click() { ApplyRow(PortTCP); }
void PortSelect::PortFile_Click() { ApplyRow(PortFile); }

void PortSelect::IPAddr_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    Next_Click();
}

void PortSelect::FileName_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    Next_Click();
}

void PortSelect::Next_Click() {
    if (PortTCP.value() && !ValidateIPAddress()) return;
    if (PortFile.value() &&
        m_.AskYesNo(JoinLines({"All configuration data, including sensitive password data, will be stored in a text "
                               "file unencrypted.",
                               "Do you want to continue?"}),
                    "Warning") == ui::IDNO)
        return;
    hide();
    m_.QuestionDlgForm().show();
}

bool PortSelect::ValidateIPAddress() {
    const DottedFault fault = CheckHostAddress(IPAddr.text());
    if (fault == DottedFault::None) return true;
    m_.ShowError(
        HostAddressMessage(fault, "IP Address", "IP Address cannot be empty when the TCP port option is selected."),
        false);
    IPAddr.setFocus();
    return false;
}

void PortSelect::Browse_Click() {
    ui::FileDialogRequest request;
    request.title = "File Browser";
    request.filter = "Text file (*.txt)|*.txt|All Files (*.*)|*.*";
    request.initialDir = m_.programFolder();
    auto chosen = app().files().open(request);
    if (!chosen) return;
    std::string path = chosen->substr(0, chosen->find('\0'));
    if (path.empty()) return;
    if (path.find('.') == std::string::npos) path += ".txt";
    FileName.setText(path);
}

void PortSelect::Prev_Click() {
    m_.LoadDlgForm().show();
    hide();
}

void PortSelect::Cancel_Click() { m_.ConfirmCancel(); }

}  // namespace netcfg
