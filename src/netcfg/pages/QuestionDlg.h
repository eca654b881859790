#pragma once
// The settings-choice page: which groups of network settings to configure.
// Check1 index i is row i of the Ethernet services page (1 to 5).

#include "netcfg/core/Page.h"
#include "ui/Control.h"
#include "ui/ControlArray.h"

namespace netcfg {

class QuestionDlg : public Page {
public:
    explicit QuestionDlg(QuillonModule& module);

    ui::Label Label1;
    ui::Label Label6;
    ui::ControlArray<ui::CheckBox> Check1;
    ui::CommandButton HelpIP;
    ui::CommandButton HelpSpeed;
    ui::CommandButton HelpTimer;
    ui::CommandButton HelpJob;
    ui::CommandButton HelpNetBios;
    ui::CommandButton HelpPing;
    ui::CommandButton HelpWireless;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;

    void Next_Click();
    void Prev_Click();
    void Cancel_Click();
    void HelpIP_Click();
    void HelpSpeed_Click();
    void HelpTimer_Click();
    void HelpJob_Click();
    void HelpNetBios_Click();
    void HelpPing_Click();
    void HelpWireless_Click();

private:
    // Creates the seven choices ahead of the help buttons.
    ui::Form& choices();
};

}  // namespace netcfg
