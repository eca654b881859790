#include "netcfg/pages/QuestionDlg.h"

#include "netcfg/core/PortSelect.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/HelpTexts-private.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"

namespace netcfg {

namespace {

struct Choice {
    const char* caption;
    const char* toolTip;
};

const Choice Choices[7] = {
    {"Assign an IP Address to your network adapter, or specify how the IP Address is assigned.",
     "Select this option if you want to either specify a unique IP Address for the network adapter or specify how the "
     "IP Addess gets assigned. IP Address gets assigned."},
    {"Specify the Ethernet transmission speed",
     "Select this option if you want to specify the maximum transmission speed."},
    {"Specify the Keep Alive Timer setting", "Select this option if you want to configure the keep alive timer."},
    {"Specify the Job Control mode", "Select this option if you want to configure the job control mode."},
    {"Enable or disable the NetBIOS protocol", "Select this option if you want to enable or disable NetBIOS support."},
    {"Enable or disable periodic ping ", "Select this option if you want to enable or disable periodic PING support."},
    {"Configure the wireless adapter settings.", "Select this option if you want to configure your wireless adapter."},
};

}  // namespace

QuestionDlg::QuestionDlg(QuillonModule& module)
    : Page(module, "QuestionDlg", "Configure Network"),
      Label1(*this, "Label1", "Network Settings"),
      Label6(*this, "Label6", "Please select the settings you wish to configure:"),
      Check1(*this, "Check1"),
      HelpIP(choices(), "HelpIP", "What is this?"),
      HelpSpeed(*this, "HelpSpeed", "What is this?"),
      HelpTimer(*this, "HelpTimer", "What is this?"),
      HelpJob(*this, "HelpJob", "What is this?"),
      HelpNetBios(*this, "HelpNetBios", "What is this?"),
      HelpPing(*this, "HelpPing", "What is this?"),
      HelpWireless(*this, "HelpWireless", "What is this?"),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel") {
    Label1.setFont(ui::HeadingFont);
    Next.setDefault(true);
    Cancel.setCancel(true);

    ui::CommandButton* helps[7] = {&HelpIP, &HelpSpeed, &HelpTimer, &HelpJob, &HelpNetBios, &HelpPing, &HelpWireless};
    std::vector<std::vector<ui::Control*>> grid;
    for (int i = 0; i < 7; ++i) {
        helps[i]->setToolTip(help::ToolTip);
        grid.push_back({&Check1[i], helps[i]});
    }
    layoutGrid(std::move(grid));

    HelpIP.onClick = [this] { HelpIP_Click(); };
    HelpSpeed.onClick = [this] { HelpSpeed_Click(); };
    HelpTimer.onClick = [this] { HelpTimer_Click(); };
    HelpJob.onClick = [this] { HelpJob_Click(); };
    HelpNetBios.onClick = [this] { HelpNetBios_Click(); };
    HelpPing.onClick = [this] { HelpPing_Click(); };
    HelpWireless.onClick = [this] { HelpWireless_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Next.onClick = [this] { Next_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

ui::Form& QuestionDlg::choices() {
    for (int i = 0; i < 7; ++i) Check1.add(i, Choices[i].caption).setToolTip(Choices[i].toolTip);
    return *this;
}

void QuestionDlg::Next_Click() {
    hide();
    for (int i = 0; i < 7; ++i) {
        if (Check1[i].value() != 1) continue;
        if (i == 0) {
            m_.WiredDlgForm().show();
        } else if (i <= 5) {
            ShowNext(m_.NetworkDlgForm()).InitForm();
        } else {
            ShowNext(m_.WirelessQuestionDlgForm());
        }
        return;
    }
    show();
    m_.ShowError(help::NothingSelected(), false, "Selection Error");
}

void QuestionDlg::Prev_Click() {
    m_.PortSelectForm().show();
    hide();
}

void QuestionDlg::Cancel_Click() { m_.ConfirmCancel(); }

void QuestionDlg::HelpIP_Click() { m_.ShowNotice(help::IP()); }
void QuestionDlg::HelpSpeed_Click() { m_.ShowNotice(help::Speed()); }
void QuestionDlg::HelpTimer_Click() { m_.ShowNotice(help::Timer()); }
void QuestionDlg::HelpJob_Click() { m_.ShowNotice(help::Job()); }
void QuestionDlg::HelpNetBios_Click() { m_.ShowNotice(help::NetBios()); }
void QuestionDlg::HelpPing_Click() { m_.ShowNotice(help::Ping()); }
void QuestionDlg::HelpWireless_Click() { m_.ShowNotice(help::Wireless()); }

}  // namespace netcfg
