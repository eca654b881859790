#include "netcfg/pages/NetworkDlg.h"

#include <string>
#include <vector>

#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/HelpTexts-private.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "platform/CodePage.h"

namespace netcfg {

namespace {

struct Row {
    const char* caption;
    const char* toolTip;
    std::vector<std::string> items;
    int preset;
};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = [] {
        std::vector<std::string> timer{"Disable"};
        for (int n = 2; n <= 10; ++n) timer.push_back(std::to_string(n) + " min");
        return std::vector<Row>{
            {},
            {"Ethernet Operating Speed:",
             "This option allows you to set the maximum transmission speed.",
             {"Auto Select", "10 Half Duplex", "10 Full Duplex", "100 Half Duplex", "100 Full Duplex"},
             0},
            {"Keep Alive Timer:", "Specifies the periodic time between Keep Alive packets.", timer, 2},
            {"Job Control Mode:",
             "Specifies how job data are handled between the NIC and printer.",
             {"Standard", "Enhanced", "Off"},
             0},
            {"NetBIOS Protocol:",
             "Specifies whether the NIC will respond to the NetBIOS protocol.",
             {"Enable", "Disable"},
             0},
            {"Periodic PING:", "Configures the periodic PING operation.", {"Enable", "Disable"}, 0},
        };
    }();
    return rows;
}

}  // namespace

NetworkDlg::NetworkDlg(QuillonModule& module)
    : Page(module, "NetworkDlg", "Configure Network Settings"),
      Label1(*this, "Label1", "Network Settings"),
      Label6(*this, "Label6", "Please configure the selected settings for your network."),
      Label2(*this, "Label2"),
      Combo1(*this, "Combo1"),
      Label3(*this, "Label3"),
      HelpSpeed(row(1), "HelpSpeed", "What is this?"),
      HelpTimer(row(2), "HelpTimer", "What is this?"),
      HelpJob(row(3), "HelpJob", "What is this?"),
      HelpNetBios(row(4), "HelpNetBios", "What is this?"),
      HelpPing(row(5), "HelpPing", "What is this?"),
      Packet(after(Label3, 0, "Number of packets:"), "Packet"),
      Period(after(Label3, 1, "Time Period (min):"), "Period"),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel"),
      Timer1(*this, "Timer1", 100, false) {
    Label1.setFont(ui::HeadingFont);
    Label3[0].setToolTip("Select the number of PING packet to send.");
    Label3[1].setToolTip("Specifies the wait period between PING packets.");
    Packet.setToolTip("Specifies the number of PING packets to send");
    Period.setToolTip("Specifies the time between PING packets");
    // Both go into the job as typed, in the 8-bit code page.
    Packet.setCharFilter(platform::isAnsi);
    Period.setCharFilter(platform::isAnsi);
    Label3[0].setBuddy(&Packet);
    Label3[1].setBuddy(&Period);
    Next.setDefault(true);
    Cancel.setCancel(true);

    ui::CommandButton* helps[6] = {nullptr, &HelpSpeed, &HelpTimer, &HelpJob, &HelpNetBios, &HelpPing};
    std::vector<std::vector<ui::Control*>> grid;
    for (int i = 1; i <= 5; ++i) {
        helps[i]->setToolTip(help::ToolTip);
        grid.push_back({&Label2[i], &Combo1[i], helps[i]});
    }
    grid.push_back({&Label3[0], &Packet, nullptr});
    grid.push_back({&Label3[1], &Period, nullptr});
    layoutGrid(std::move(grid));
    layoutIndent(&Label2[5], {&Label3[0], &Label3[1]});

    Combo1.onDropDown = [this](int i) { Combo1_DropDown(i); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    HelpSpeed.onClick = [this] { HelpSpeed_Click(); };
    HelpTimer.onClick = [this] { HelpTimer_Click(); };
    HelpJob.onClick = [this] { HelpJob_Click(); };
    HelpNetBios.onClick = [this] { HelpNetBios_Click(); };
    HelpPing.onClick = [this] { HelpPing_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Next.onClick = [this] { Next_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

ui::Form& NetworkDlg::row(int i) {
    const Row& row = Rows()[static_cast<std::size_t>(i)];
    auto& label = Label2.add(i, row.caption);
    auto& list = Combo1.add(i, ui::ComboBox::Style::DropDownList);
    label.setToolTip(row.toolTip);
    list.setToolTip(row.toolTip);
    label.setBuddy(&list);
    return *this;
}

void NetworkDlg::Form_Load() {
    Timer1.setEnabled(false);
    InitForm();
    FillOptionLists();
}

void NetworkDlg::InitForm() {
    auto& choices = m_.QuestionDlgForm();
    for (int i = 1; i <= 5; ++i) {
        const bool on = choices.Check1[i].value() == 1;
        Label2[i].setEnabled(on);
        Combo1[i].setEnabled(on);
        if (i != 5) continue;
        EnablePingFields(on);
        if (on) UpdatePingFields();
    }
}

void NetworkDlg::FillOptionLists() {
    for (int i = 1; i <= 5; ++i) {
        const Row& row = Rows()[static_cast<std::size_t>(i)];
        auto& list = Combo1[i];
        for (const auto& item : row.items) list.addItem(item);
        list.setListIndex(row.preset);
    }
    Packet.setText("1");
    Period.setText("5");
}

void NetworkDlg::EnablePingFields(bool on) { EnableInputs({&Label3[0], &Label3[1], &Packet, &Period}, on); }

void NetworkDlg::UpdatePingFields() { EnablePingFields(Combo1[5].text() != "Disable"); }

void NetworkDlg::Combo1_DropDown(int index) {
    if (index != 5) return;
    Timer1.setInterval(100);
    Timer1.setEnabled(true);
}

void NetworkDlg::Timer1_Timer() { UpdatePingFields(); }

void NetworkDlg::Form_Hide() { Timer1.setEnabled(false); }

void NetworkDlg::Next_Click() {
    hide();
    Timer1.setEnabled(false);
    if (m_.QuestionDlgForm().Check1[6].value() == 1) {
        ShowNext(m_.WirelessQuestionDlgForm());
    } else {
        ShowNext(m_.FinishDialogForm());
    }
}

void NetworkDlg::Prev_Click() {
    hide();
    // Shown only by the settings-choice page or the wired IP page, which set
    // Caller; the settings-choice page stands in should it be missing.
    if (Caller)
        Caller->show();
    else
        m_.QuestionDlgForm().show();
}

void NetworkDlg::Cancel_Click() {
    Timer1.setEnabled(false);
    m_.ConfirmCancel();
}

void NetworkDlg::HelpSpeed_Click() { m_.ShowNotice(help::Speed()); }
void NetworkDlg::HelpTimer_Click() { m_.ShowNotice(help::Timer()); }
void NetworkDlg::HelpJob_Click() { m_.ShowNotice(help::Job()); }
void NetworkDlg::HelpNetBios_Click() { m_.ShowNotice(help::NetBios()); }
void NetworkDlg::HelpPing_Click() { m_.ShowNotice(help::Ping()); }

}  // namespace netcfg
