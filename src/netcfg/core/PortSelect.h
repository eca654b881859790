#pragma once
// The output-port page: how the configuration job reaches the printer (a
// local port, TCP/IP or a file).

#include "netcfg/core/Page.h"
#include "ui/Control.h"

namespace netcfg {

class PortSelect : public Page {
public:
    explicit PortSelect(QuillonModule& module);

    ui::Label Label1;
    ui::Label Label2;
    ui::Label SelectionLabel;
    ui::OptionButton PortLPT;
    ui::ComboBox LPTCombo;
    ui::OptionButton PortCOM;
    ui::ComboBox ComCombo;
    ui::OptionButton PortUSB;
    ui::ComboBox USBCombo;
    ui::Label USB_ErrLbl;
    ui::OptionButton PortTCP;
    ui::Label IPAddrLabel;
    ui::TextBox IPAddr;
    ui::OptionButton PortFile;
    ui::Label FileDescLabel;
    ui::Label FileLabel;
    ui::TextBox FileName;
    ui::CommandButton Browse;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;

    void PortLPT_Click();
    void PortCOM_Click();
    void PortUSB_Click();
    void PortTCP_Click();
    void PortFile_Click();
    void IPAddr_KeyPress(int& keyAscii);
    void FileName_KeyPress(int& keyAscii);
    void Browse_Click();
    void Prev_Click();
    void Next_Click();
    void Cancel_Click();

protected:
    void Form_Load() override;

private:
    void Load_Combo();
    void SelectDefaultPort();
    bool ValidateIPAddress();
    // Enables the inputs of the chosen output and greys the others.
    void ApplyRow(const ui::OptionButton& chosen);
};

}  // namespace netcfg
