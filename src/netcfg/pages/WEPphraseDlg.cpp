#include "netcfg/pages/WEPphraseDlg.h"

#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/WEPDlg.h"

namespace netcfg {

WEPphraseDlg::WEPphraseDlg(QuillonModule& module)
    : Page(module, "WEPphraseDlg", "Configure Wireless Authentication"),
      Label1(*this, "Label1"),
      Label6(AddWepHeading(*this, Label1), "Label6",
             "Please enter the encryption key used by your wireless network. At least one key must be entered."),
      Label3(*this, "Label3", "Authentication Method:"),
      AuthMethod(*this, "AuthMethod"),
      Label0(*this, "Label0"),
      DefaultKey(after(Label0, 1, "Default Key:"), "DefaultKey"),
      Label2(*this, "Label2",
             "The ASCII string can contain any alpha-numeric characters except spaces. Key length is inferred from "
             "the length of phrase so  leading zeros of longer keys must be entered."),
      KeyLabel(*this, "KeyLabel"),
      KeyText(*this, "KeyText"),
      ShowChk(*this, "ShowChk"),
      ConfirmLabel(*this, "ConfirmLabel"),
      ConfirmTxt(*this, "ConfirmTxt"),
      Prev(keyRows(), "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel"),
      Timer1(*this, "Timer1", 0, false) {
    Next.setDefault(true);
    Cancel.setCancel(true);
    WepKeyRows::setUpLists(Label3, AuthMethod, Label0[1], DefaultKey);
    layoutRow({&Label3, &AuthMethod, &Label0[1], &DefaultKey});
    layoutGrid(keys_.grid());

    DefaultKey.onDropDown = [this] { DefaultKey_DropDown(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    ShowChk.onClick = [this](int i) { ShowChk_Click(i); };
    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

ui::Form& WEPphraseDlg::keyRows() {
    keys_.create(KeyLabel, KeyText, ShowChk, ConfirmLabel, ConfirmTxt, "Encryption key value, in ASCII string format.");
    return *this;
}

void WEPphraseDlg::Form_Load() {
    Timer1.setEnabled(false);
    WepKeyRows::fillLists(DefaultKey, AuthMethod);
    SetKeyMasking(true);
}

void WEPphraseDlg::UpdateKeyRows() { keys_.followDefaultKey(DefaultKey, Label2); }

void WEPphraseDlg::SetKeyMasking(bool masked) { keys_.setMasking(masked); }

void WEPphraseDlg::DefaultKey_DropDown() {
    Timer1.setInterval(100);
    Timer1.setEnabled(true);
}

void WEPphraseDlg::Timer1_Timer() { UpdateKeyRows(); }

void WEPphraseDlg::ShowChk_Click(int index) { keys_[index].showClicked(); }

void WEPphraseDlg::Next_Click() {
    Timer1.setEnabled(false);
    if (!keys_.confirmAll(m_)) return;
    if (!keys_.checkDefaultKey(m_, DefaultKey)) return;
    hide();
    ShowNext(m_.FinishDialogForm());
}

void WEPphraseDlg::Prev_Click() {
    m_.WEPDlgForm().show();
    hide();
}

void WEPphraseDlg::Cancel_Click() {
    Timer1.setEnabled(false);
    m_.ConfirmCancel();
}

}  // namespace netcfg
