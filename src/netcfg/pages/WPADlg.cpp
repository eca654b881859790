#include "netcfg/pages/WPADlg.h"

#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/LEAPDlg.h"

namespace netcfg {

using foundation::JoinLines;

namespace {

constexpr int PersonalMode = 1;  // "Personal (PSK)"

}  // namespace

WPADlg::WPADlg(QuillonModule& module)
    : Page(module, "WPADlg", "Configure Wireless Authentication"),
      Label1(*this, "Label1", "WPA Encryption Configuration"),
      Label6(*this, "Label6", "Please enter the passphrase and encryption method used by  your wireless network."),
      Label5(*this, "Label5", "WPA Mode:"),
      WPAMode(*this, "WPAMode"),
      Label2(*this, "Label2", "Encryption Method:"),
      EncryptMethod(*this, "EncryptMethod"),
      Label3(*this, "Label3", "Passphrase:"),
      PassPhrase(*this, "PassPhrase"),
      ShowCheck(*this, "ShowCheck", "Show Passphrase"),
      Label4(*this, "Label4",
             "The passphrase can contain any alpha-numeric characters except spaces. Length of the passphrase must "
             "be between 8 to 63 characters long."),
      ConfirmLabel(*this, "ConfirmLabel", "Confirm:"),
      ConfirmTxt(*this, "ConfirmTxt"),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel"),
      Timer1(*this, "Timer1", 0, false),
      phrase_(Label3, PassPhrase, ShowCheck, ConfirmLabel, ConfirmTxt) {
    Label1.setFont(ui::HeadingFont);
    Next.setDefault(true);
    Cancel.setCancel(true);
    Label5.setBuddy(&WPAMode);
    Label2.setBuddy(&EncryptMethod);
    EncryptMethod.setToolTip("Specify the encryption method used on the wireless network.");
    PassPhrase.setToolTip("Enter the passphrase to use for access to the wireless network.");
    ShowCheck.setToolTip("Check to show passphrase entry during typing.");
    ConfirmTxt.setToolTip("Re-entry of the passphase so data entry can be verified.");
    layoutGrid({{&Label5, &WPAMode, nullptr},
                {&Label2, &EncryptMethod, nullptr},
                {&Label3, &PassPhrase, &ShowCheck},
                {nullptr, &Label4, nullptr},
                {&ConfirmLabel, &ConfirmTxt, nullptr}});

    WPAMode.onDropDown = [this] { WPAMode_DropDown(); };
    ShowCheck.onClick = [this] { ShowCheck_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

void WPADlg::Form_Load() {
    Timer1.setEnabled(false);
    FillWpaModeList();
    FillCipherList();
    ShowCheck.setValue(0);
    ShowCheck_Click();
}

void WPADlg::FillWpaModeList() {
    for (const char* item : {"Disable", "Personal (PSK)", "Enterprise"}) WPAMode.addItem(item);
    WPAMode.setListIndex(1);
}

void WPADlg::FillCipherList() {
    for (const char* item : {"Disable", "AES", "TKIP", "TKIP+AES"}) EncryptMethod.addItem(item);
    EncryptMethod.setListIndex(1);
}

void WPADlg::ShowCheck_Click() { phrase_.showClicked(); }

void WPADlg::WPAMode_DropDown() {
    Timer1.setInterval(100);
    Timer1.setEnabled(true);
}

void WPADlg::Timer1_Timer() { UpdateWpaFields(); }

void WPADlg::UpdateWpaFields() {
    const bool on = WPAMode.listIndex() != 0;
    EnableInputs({&EncryptMethod, &Label2, &Label4}, on);
    phrase_.setEnabled(on);
}

void WPADlg::Next_Click() {
    Timer1.setEnabled(false);
    if (CharCount(PassPhrase.text()) > 63) {
        m_.ShowNotice(JoinLines({"Passphrase too long.", "Maximum number of characters allowed is 63.",
                                 "Please enter a valid Passphrase."}));
        PassPhrase.setFocus();
        return;
    }
    // A pre-shared key must be 8 to 63 characters, or the printer cannot join.
    if (WPAMode.listIndex() == PersonalMode && CharCount(PassPhrase.text()) < 8) {
        m_.ShowNotice(
            JoinLines({"Passphrase too short.", "Length of the passphrase must be between 8 to 63 characters long.",
                       "Please enter a valid Passphrase."}));
        PassPhrase.setFocus();
        return;
    }
    if (!phrase_.confirmed()) {
        m_.ShowNotice("Inputs for the passphrase does not match, please re-enter the phrase again.");
        ConfirmTxt.setFocus();
        return;
    }
    if (EncryptMethod.listIndex() == 0 &&
        m_.AskYesNo("Are you sure you want to disabled encryption for WPA?", "Warning") != ui::IDYES)
        return;
    hide();
    if (m_.EncryptQuestionDlgForm().EAP.value() == 1) {
        ShowNext(m_.LEAPDlgForm());
    } else {
        ShowNext(m_.FinishDialogForm());
    }
}

void WPADlg::Prev_Click() {
    Timer1.setEnabled(false);
    hide();
    m_.EncryptQuestionDlgForm().show();
}

void WPADlg::Cancel_Click() { m_.ConfirmCancel(); }

}  // namespace netcfg
