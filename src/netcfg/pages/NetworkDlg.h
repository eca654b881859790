#pragma once
// The Ethernet services page: speed and duplex, keep-alive timer, job
// control, NetBIOS and the periodic PING. Row i belongs to QuestionDlg.Check1(i).

#include "netcfg/core/Page.h"
#include "ui/Control.h"
#include "ui/ControlArray.h"

namespace netcfg {

class NetworkDlg : public Page {
public:
    explicit NetworkDlg(QuillonModule& module);

    // The page that showed this one; Back shows it again.
    ui::Form* Caller = nullptr;

    // Enables the rows ticked on the settings-choice page.
    void InitForm();

    ui::Label Label1;
    ui::Label Label6;
    ui::ControlArray<ui::Label> Label2;
    ui::ControlArray<ui::ComboBox> Combo1;
    ui::ControlArray<ui::Label> Label3;
    ui::CommandButton HelpSpeed;
    ui::CommandButton HelpTimer;
    ui::CommandButton HelpJob;
    ui::CommandButton HelpNetBios;
    ui::CommandButton HelpPing;
    ui::TextBox Packet;
    ui::TextBox Period;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;
    ui::Timer Timer1;

    void Combo1_DropDown(int index);
    void Timer1_Timer();
    void Next_Click();
    void Prev_Click();
    void Cancel_Click();
    void HelpSpeed_Click();
    void HelpTimer_Click();
    void HelpJob_Click();
    void HelpNetBios_Click();
    void HelpPing_Click();

protected:
    void Form_Load() override;
    // The timer must not outlive the page on screen: it would enable the PING
    // fields again after their row was unticked on the settings-choice page.
    void Form_Hide() override;

private:
    // Creates Label2(i) and Combo1(i) ahead of the row's help button.
    ui::Form& row(int i);
    void FillOptionLists();
    void UpdatePingFields();
    void EnablePingFields(bool on);
};

}  // namespace netcfg
