#include "netcfg/pages/EncryptQuestionDlg.h"

#include <initializer_list>

#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/core/ReadSettings.h"
#include "netcfg/pages/HelpTexts-private.h"
#include "netcfg/pages/LEAPDlg.h"
#include "netcfg/pages/WEPDlg.h"
#include "netcfg/pages/WPADlg.h"

namespace netcfg {

using foundation::JoinLines;

EncryptQuestionDlg::EncryptQuestionDlg(QuillonModule& module)
    : Page(module, "EncryptQuestionDlg", "Configure Wireless Network"),
      Label1(*this, "Label1", "Wireless Network Authentication Setting"),
      Label6(*this, "Label6", "Please select the wireless authentication method used on your wireless network"),
      click(*this, "click"),
      HelpOpen(*this, "HelpOpen"),
      HelpWEP(*this, "HelpWEP"),
      HelpWPA(*this, "HelpWPA"),
      HelpLeap(*this, "HelpLeap"),
      WPA(optionRows(), "WPA", "WPA (Wi-Fi Protected Access)"),
      EAP(after(HelpWPA, 2, "What is this?"), "EAP", "EAP (Extensible Authentication Protocol)"),
      Prev(after(HelpLeap, 3, "What is this?"), "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel") {
    Label1.setFont(ui::HeadingFont);
    Next.setDefault(true);
    Cancel.setCancel(true);
    click[0].setToolTip(
        "The wireless network is available (open) to all wireless devices. Access to the wireless network is not "
        "protected.");
    click[1].setToolTip("Select WEP configuration option.");
    click[2].setToolTip("Select WPA or EAP configuration option.");
    // No tool tip here, but read as on the other pages.
    for (ui::CommandButton* help : {&HelpOpen[0], &HelpWEP[1], &HelpWPA[2], &HelpLeap[3]})
        help->setSpokenDescription(help::ToolTip);
    layoutGrid({{&click[0], &HelpOpen[0]},
                {&click[1], &HelpWEP[1]},
                {&click[2], nullptr},
                {&WPA, &HelpWPA[2]},
                {&EAP, &HelpLeap[3]}});
    layoutIndent(&click[2], {&WPA, &EAP});

    click.onClick = [this](int i) { click_Click(i); };
    HelpOpen.onClick = [this](int i) { HelpOpen_Click(i); };
    HelpWEP.onClick = [this](int i) { HelpWEP_Click(i); };
    HelpWPA.onClick = [this](int i) { HelpWPA_Click(i); };
    HelpLeap.onClick = [this](int i) { HelpLeap_Click(i); };
    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

ui::Form& EncryptQuestionDlg::optionRows() {
    click.add(0, "&No Authentication (Open)");
    HelpOpen.add(0, "What is this?");
    click.add(1, "&WEP (Wired Equivalent Privacy)");
    HelpWEP.add(1, "What is this?");
    click.add(2, "&Other Authentication Methods");
    return *this;
}

void EncryptQuestionDlg::Form_Load() {
    click[0].setValue(true);
    WPA.setEnabled(false);
    EAP.setEnabled(false);
}

void EncryptQuestionDlg::click_Click(int index) {
    WPA.setEnabled(index == 2);
    EAP.setEnabled(index == 2);
}

void EncryptQuestionDlg::Next_Click() {
    hide();
    ReadEncryptionChoices(m_, ToCurrent);
    if (click[0].value()) {
        ShowNext(m_.FinishDialogForm());
    } else if (click[1].value()) {
        m_.WEPDlgForm().show();
    } else if (click[2].value()) {
        if (WPA.value() == 1) {
            m_.WPADlgForm().show();
        } else if (EAP.value() == 1) {
            ShowNext(m_.LEAPDlgForm());
        } else {
            show();
            m_.ShowNotice("You need to select at least one authentication method: WPA or EAP");
        }
    } else {
        // No option selected (a loaded record can leave it so): stay here.
        show();
    }
}

void EncryptQuestionDlg::Prev_Click() {
    if (!Caller) return;
    Caller->show();
    hide();
}

void EncryptQuestionDlg::Cancel_Click() { m_.ConfirmCancel(); }

void EncryptQuestionDlg::HelpOpen_Click(int) {
    m_.ShowNotice(JoinLines({"The wireless network is available (open) to all wireless devices.",
                             "Access to the wireless network is not protected."}));
}

void EncryptQuestionDlg::HelpWEP_Click(int) {
    m_.ShowNotice(JoinLines(
        {"WEP is a basic encryption method for wireless devices.",
         "It is not as secure as the other authentication methods.",
         "It uses an encrypted share key for authentication.",
         "Key sizes used for WEP encryption are: 40/64 bits (10 hex digits) or 104/128 bits (26 hex digits)."}));
}

void EncryptQuestionDlg::HelpWPA_Click(int) {
    m_.ShowNotice(JoinLines({"WPA (Wi-Fi Protected Access) has two modes of operation: Enterprise and Personal.",
                             "Enterprise mode uses a 802.1x authentication server that distributes the access keys.",
                             "Personal mode uses a shared encryption key for authentication.",
                             "Every allowed computer is given the same passphrase.",
                             "Security depends on the strength and secrecy of the passphase.",
                             "Three encryption methods are supported: TKIP, AES, and TKIP+AES."}));
}

void EncryptQuestionDlg::HelpLeap_Click(int) {
    m_.ShowNotice(
        JoinLines({"EAP (Extensive Authentication Protocol) is an authentication method that has a number of variants,",
                   "including PEAP (Protected EAP), LEAP (Lightweight EAP), and EAP-TTLS (Tunneled TLS)."}));
}

}  // namespace netcfg
