#include "netcfg/pages/WirelessQuestionDlg.h"

#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/HelpTexts-private.h"
#include "netcfg/pages/WirelessDlg.h"

namespace netcfg {

using foundation::JoinLines;

namespace {

struct Row {
    const char* caption;
    const char* tip;
};
const Row Rows[10] = {
    {"Set the name of your wireless network (SSID)",
     "Specifies the name of the wireless network you are connecting to."},
    {"Set the operating mode of your wireless adapter", "Specifies the operating mode of the wireless network."},
    {"Set the minimum transfer rate of your wireless adapter", "Specifies the minimum transmission speed."},
    {"Set the wireless operating channel ", "Specifies the wireless channel to use."},
    {"Set the antenna diversity of your wireless adapter", "Specifies which wireless antenna to use."},
    {"Set the wireless preamble length", "Specifies the length of the preamble."},
    {"Set the wireless transmission power level", "Select the wireless transmission power."},
    {"Set the power management setting of your wireless adapter", "Specifies if power management should be enabled."},
    {"Set the wireless devices mix on your wireless network",
     "Specifies whether both 802.11b and 802.11g devices will be connected to the network."},
    {"Set the country code or international mode of the wireless adapter",
     "Specifies whether the international mode should be enabled or disabled."},
};

}  // namespace

WirelessQuestionDlg::WirelessQuestionDlg(QuillonModule& module)
    : Page(module, "WirelessQuestionDlg", "Configure Wireless Network"),
      Label1(*this, "Label1", "Wireless Network Settings"),
      Label6(*this, "Label6", "Please select the wireless setting you wish to configure:"),
      check(*this, "check"),
      HelpSSID(after(check, 0, Rows[0].caption), "HelpSSID", "What is this?"),
      HelpOpMode(after(check, 1, Rows[1].caption), "HelpOpMode", "What is this?"),
      HelpSpeed(after(check, 2, Rows[2].caption), "HelpSpeed", "What is this?"),
      HelpChannel(after(check, 3, Rows[3].caption), "HelpChannel", "What is this?"),
      HelpAntenna(after(check, 4, Rows[4].caption), "HelpAntenna", "What is this?"),
      HelpPreamble(after(check, 5, Rows[5].caption), "HelpPreamble", "What is this?"),
      HelpTxPower(after(check, 6, Rows[6].caption), "HelpTxPower", "What is this?"),
      HelpPower(after(check, 7, Rows[7].caption), "HelpPower", "What is this?"),
      HelpDevices(after(check, 8, Rows[8].caption), "HelpDevices", "What is this?"),
      HelpCCode(after(check, 9, Rows[9].caption), "HelpCCode", "What is this?"),
      EncryptionCB(*this, "EncryptionCB", "Set the encryption/authentication settings of your wireless adapter"),
      HelpEncrpyt(*this, "HelpEncrpyt", "What is this?"),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel") {
    Label1.setFont(ui::HeadingFont);
    Next.setDefault(true);
    Cancel.setCancel(true);

    ui::CommandButton* help[10] = {&HelpSSID,     &HelpOpMode,  &HelpSpeed, &HelpChannel, &HelpAntenna,
                                   &HelpPreamble, &HelpTxPower, &HelpPower, &HelpDevices, &HelpCCode};
    std::vector<std::vector<ui::Control*>> grid;
    for (int i = 0; i < 10; ++i) {
        check[i].setToolTip(Rows[i].tip);
        help[i]->setToolTip(help::ToolTip);
        grid.push_back({&check[i], help[i]});
    }
    EncryptionCB.setToolTip("Specifies whether the wireless network uses authentication/encryption to control access.");
    HelpEncrpyt.setToolTip(help::ToolTip);
    grid.push_back({&EncryptionCB, &HelpEncrpyt});
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
    HelpCCode.onClick = [this] { HelpCCode_Click(); };
    HelpEncrpyt.onClick = [this] { HelpEncrpyt_Click(); };
    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

void WirelessQuestionDlg::Next_Click() {
    hide();
    for (int i = 0; i <= 9; ++i) {
        if (check[i].value() == 1) {
            auto& radio = m_.WirelessDlgForm();
            radio.show();
            radio.SetDefaultState();
            return;
        }
    }
    if (EncryptionCB.value() == 1) {
        ShowNext(m_.EncryptQuestionDlgForm());
        return;
    }
    show();
    m_.ShowError(help::NothingSelected(), false, "Selection Error");
}

void WirelessQuestionDlg::Prev_Click() {
    if (!Caller) return;
    hide();
    Caller->show();
}

void WirelessQuestionDlg::Cancel_Click() { m_.ConfirmCancel(); }

void WirelessQuestionDlg::HelpRow(int row) { m_.ShowNotice(help::Radio(row)); }

void WirelessQuestionDlg::HelpEncrpyt_Click() {
    m_.ShowNotice(JoinLines({"Specifies whether the wireless network uses encryption to control access.", "",
                             "Uncheck this box if the wireless network does not use encryption (open network).",
                             "Check this box if encryption is used on the wireless network."}));
}

}  // namespace netcfg
