#include "netcfg/pages/WirelessDlg.h"

#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/core/ReadSettings.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/HelpTexts-private.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "platform/CodePage.h"

namespace netcfg {

using foundation::JoinLines;

namespace {

struct Row {
    const char* caption;
    const char* tip;
};
const Row Rows[10] = {
    {"Wireless network name (SSID):", "Specifies the name of the wireless network you are connecting to"},
    {"Operating mode:", "Specifies the operating mode of the wireless network: Normal, Peer-to-peer, Pseudo IBBS."},
    {"Minimum transfer rate:", "Specifies the minimum transmission speed."},
    {"Operating channel:", "Specifies the wireless channel used by your wireless network."},
    {"Antenna:", "Specifies which wireless antenna to use."},
    {"Preamble:", "Specifies the length of the preamble."},
    {"Transmission power (%):", "Select the wireless transmission power."},
    {"Power management:", "Specifies if power management should be enabled."},
    {"Devices mix profile:",
     "Specifies the mix of wireless devices (802.11b and/or 802.11g) connected to the network."},
    {"Country Code:", "Specifies the country code the wireless NIC will use to communicate with the Access Point."},
};

void fill(ui::ComboBox& list, std::initializer_list<const char*> items, int selected) {
    for (const char* item : items) list.addItem(item);
    list.setListIndex(selected);
}

bool hasUsa(const std::string& country) { return country.find("USA") != std::string::npos; }

std::string warning(const std::string& first) {
    return JoinLines({first, "This may cause improper operation of the wireless NIC.", "",
                      "Are you sure you want to continue with these settings?"});
}

}  // namespace

WirelessDlg::WirelessDlg(QuillonModule& module)
    : Page(module, "WirelessDlg", "Configure Wireless Network"),
      Label1(*this, "Label1", "Wireless Network Settings"),
      Label6(*this, "Label6", "Please configure the selected settings for your wireless network."),
      Label2(*this, "Label2"),
      SSID(after(Label2, 0, Rows[0].caption), "SSID"),
      HelpSSID(*this, "HelpSSID", "What is this?"),
      OpMode(after(Label2, 1, Rows[1].caption), "OpMode"),
      HelpOpMode(*this, "HelpOpMode", "What is this?"),
      Speed(after(Label2, 2, Rows[2].caption), "Speed"),
      HelpSpeed(*this, "HelpSpeed", "What is this?"),
      Channel(after(Label2, 3, Rows[3].caption), "Channel"),
      HelpChannel(*this, "HelpChannel", "What is this?"),
      Antenna(after(Label2, 4, Rows[4].caption), "Antenna"),
      HelpAntenna(*this, "HelpAntenna", "What is this?"),
      Preamble(after(Label2, 5, Rows[5].caption), "Preamble"),
      HelpPreamble(*this, "HelpPreamble", "What is this?"),
      TxPower(after(Label2, 6, Rows[6].caption), "TxPower"),
      HelpTxPower(*this, "HelpTxPower", "What is this?"),
      PowerMgmt(after(Label2, 7, Rows[7].caption), "PowerMgmt"),
      HelpPower(*this, "HelpPower", "What is this?"),
      Devices(after(Label2, 8, Rows[8].caption), "Devices"),
      HelpDevices(*this, "HelpDevices", "What is this?"),
      CountryCode(after(Label2, 9, Rows[9].caption), "CountryCode"),
      Check2(*this, "Check2", "International Mode"),
      HelpCountry(*this, "HelpCountry", "What is this?"),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel"),
      Timer1(*this, "Timer1", 0, false) {
    Label1.setFont(ui::HeadingFont);
    Next.setDefault(true);
    Cancel.setCancel(true);
    SSID.setMaxLength(32);
    SSID.setCharFilter(platform::isAnsi);

    ui::CommandButton* help[10] = {&HelpSSID,     &HelpOpMode,  &HelpSpeed, &HelpChannel, &HelpAntenna,
                                   &HelpPreamble, &HelpTxPower, &HelpPower, &HelpDevices, &HelpCountry};
    std::vector<std::vector<ui::Control*>> grid;
    for (int i = 0; i < 10; ++i) {
        ui::Control* input = rowControls(i).front();
        Label2[i].setBuddy(input);
        Label2[i].setToolTip(Rows[i].tip);
        input->setToolTip(Rows[i].tip);
        help[i]->setToolTip(help::ToolTip);
        grid.push_back({&Label2[i], input, help[i]});
    }
    Check2.setToolTip("When checked, the wireless NIC adapts to international frequency requirements in Europe.");
    grid.push_back({nullptr, &Check2, nullptr});
    layoutGrid(std::move(grid));

    HelpSSID.onClick = [this] { HelpSSID_Click(); };
    HelpOpMode.onClick = [this] { HelpOpMode_Click(); };
    HelpSpeed.onClick = [this] { HelpSpeed_Click(); };
    HelpChannel.onClick = [this] { HelpChannel_Click(); };
    HelpAntenna.onClick = [this] { HelpAntenna_Click(); };
    HelpPreamble.onClick = [this] { HelpPreamble_Click(); };
    HelpTxPower.onClick = [this] { HelpTxPower_Click(); };
    HelpPower.onClick = [this] { HelpPower_Click(); };
    HelpDevices.onClick = [this] { HelpDevices_Click(); };
    HelpCountry.onClick = [this] { HelpCountry_Click(); };
    CountryCode.onDropDown = [this] { CountryCode_DropDown(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

std::vector<ui::Control*> WirelessDlg::rowControls(int i) {
    switch (i) {
        case 0:
            return {&SSID};
        case 1:
            return {&OpMode};
        case 2:
            return {&Speed};
        case 3:
            return {&Channel};
        case 4:
            return {&Antenna};
        case 5:
            return {&Preamble};
        case 6:
            return {&TxPower};
        case 7:
            return {&PowerMgmt};
        case 8:
            return {&Devices};
        default:
            return {&CountryCode, &Check2};
    }
}

void WirelessDlg::Form_Load() {
    Timer1.setEnabled(false);
    fill(OpMode, {"Normal", "Computer-to-Computer", "Pseudo IBSS"}, 0);
    fill(Speed, {"Auto-negotiate", "1 MPS", "2 MPS", "5.5 MPS", "11 MPS"}, 0);
    Channel.addItem("Default");
    for (int k = 1; k <= 15; ++k) Channel.addItem(std::to_string(k));
    Channel.setListIndex(0);
    fill(Antenna, {"Primary", "Diverse", "Auxiliary"}, 0);
    fill(Preamble, {"Default", "Long", "Short"}, 0);
    for (int k = 0; k <= 100; ++k) TxPower.addItem(std::to_string(k));
    TxPower.setListIndex(100);
    fill(PowerMgmt, {"On", "Off"}, 0);
    fill(Devices,
         {"802.11b Only", "Mixed: 802.11b and 802.11g", "Mixed: 802.11b,g without 5.5, 11 Mbps", "802.11g Only",
          "Test: 802.11g Only", "802.11b only without 5.5, 11 Mbps", "Mixed: 802.11b,g with 5.5, 11 Mbps"},
         1);
    fill(CountryCode,
         {"USA", "USA Indoor Operation", "Great Britain", "Great Britain Indoor Operation", "Netherlands",
          "Netherlands Indoor Operation", "France", "France Indoor Operation", "Germany", "Germany Indoor Operation",
          "Italy", "Italy Indoor Operation"},
         0);
    SetDefaultState();
}

void WirelessDlg::SetDefaultState() {
    auto& choice = m_.WirelessQuestionDlgForm();
    for (int i = 0; i <= 9; ++i) {
        const bool on = choice.check[i].value() != 0;
        Label2[i].setEnabled(on);
        for (ui::Control* c : rowControls(i)) c->setEnabled(on);
        if (i == 0) SSID.setBackColor(on ? ui::EnabledColour : ui::GreyedColour);
    }
}

void WirelessDlg::CountryCode_DropDown() {
    PrevCountryText = CountryCode.text();
    Timer1.setInterval(10);
    Timer1.setEnabled(true);
}

void WirelessDlg::Timer1_Timer() { ApplyCountryChange(); }

void WirelessDlg::ApplyCountryChange() {
    if (CountryCode.text() != PrevCountryText) {
        Check2.setValue(hasUsa(CountryCode.text()) ? 0 : 1);
        Timer1.setEnabled(false);
    } else {
        Timer1.setInterval(10);
    }
}

void WirelessDlg::Form_Hide() { Timer1.setEnabled(false); }

void WirelessDlg::Next_Click() {
    const bool usa = hasUsa(CountryCode.text());
    if (!usa && Check2.value() == 0 &&
        m_.AskYesNo(warning("You selected an European country code but didn't enable International Mode."),
                    "Warning") == ui::IDNO)
        return;
    if (usa && Check2.value() == 1 &&
        m_.AskYesNo(warning("You selected the USA country code but enable International Mode."), "Warning") == ui::IDNO)
        return;
    const int devices = Devices.listIndex();
    if ((devices == 2 || devices == 5) && Speed.listIndex() > 2 &&
        m_.AskYesNo(warning("You selected a minimum transmission speed that is not compatible with your device mix "
                            "setting."),
                    "Warning") == ui::IDNO)
        return;
    hide();
    ReadWirelessSettings(m_, ToCurrent);
    if (m_.WirelessQuestionDlgForm().EncryptionCB.value() == 1) {
        ShowNext(m_.EncryptQuestionDlgForm());
    } else {
        ShowNext(m_.FinishDialogForm());
    }
}

void WirelessDlg::Prev_Click() {
    m_.WirelessQuestionDlgForm().show();
    hide();
}

void WirelessDlg::Cancel_Click() { m_.ConfirmCancel(); }

void WirelessDlg::HelpRow(int row) { m_.ShowNotice(help::Radio(row)); }

void WirelessDlg::HelpChannel_Click() {
    m_.ShowNotice("Specifies the wireless channel used by your wireless network.");
}

}  // namespace netcfg
