#pragma once
// The Ethernet services page: speed and duplex, keep-alive timer, job
// control, NetBIOS and the periodic PING. Row i belongs to QuestionDlg.Check1(i).

#include "netcfg/core/InOrder.h"
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

private:
    InOrder row1_;

public:
    ui::CommandButton HelpSpeed;

private:
    InOrder row2_;

public:
    ui::CommandButton HelpTimer;

private:
    InOrder row3_;

public:
    ui::CommandButton HelpJob;

private:
    InOrder row4_;

public:
    ui::CommandButton HelpNetBios;

private:
    InOrder row5_;

public:
    ui::CommandButton HelpPing;

private:
    InOrder packetLabel_;

public:
    ui::TextBox Packet;

private:
    InOrder periodLabel_;

public:
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

private:
    void AddRow(int i);
    void FillOptionLists();
    void UpdatePingFields();
    void EnablePingFields(bool on);
};

}  // namespace netcfg
