#include "netcfg/pages/LEAPDlg.h"

#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/QuillonModule.h"
#include "platform/CodePage.h"

namespace netcfg {

using foundation::JoinLines;

LEAPDlg::LEAPDlg(QuillonModule& module)
    : Page(module, "LEAPDlg", "Configure Wireless Authentication"),
      Label1(*this, "Label1", "EAP Configuration"),
      Label6(*this, "Label6",
             "Please select the EAP operating mode, and enter the user name and password required for wireless "
             "network access."),
      Label4(*this, "Label4", "EAP Mode:"),
      Combo1(*this, "Combo1"),
      Label2(*this, "Label2", "EAP User Name:"),
      UserName(*this, "UserName"),
      Label3(*this, "Label3", "EAP Password:"),
      Password(*this, "Password"),
      ShowCheck(*this, "ShowCheck", "Show Password"),
      ConfirmLabel(*this, "ConfirmLabel", "Confirm:"),
      ConfirmTxt(*this, "ConfirmTxt"),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel"),
      Timer1(*this, "Timer1", 0, false),
      password_(Label3, Password, ShowCheck, ConfirmLabel, ConfirmTxt) {
    Label1.setFont(ui::HeadingFont);
    Next.setDefault(true);
    Cancel.setCancel(true);
    Label4.setBuddy(&Combo1);
    Label2.setBuddy(&UserName);
    UserName.setCharFilter(platform::isAnsi);
    UserName.setToolTip("Enter the use name for wireless network access.");
    Password.setToolTip("Enter the password for wireless network access.");
    ShowCheck.setToolTip("Check to show the password as it is being entered.");
    ConfirmTxt.setToolTip("Re-enter the password for data entry verification.");
    layoutGrid({{&Label4, &Combo1, nullptr},
                {&Label2, &UserName, nullptr},
                {&Label3, &Password, &ShowCheck},
                {&ConfirmLabel, &ConfirmTxt, nullptr}});

    Combo1.onDropDown = [this] { Combo1_DropDown(); };
    ShowCheck.onClick = [this] { ShowCheck_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

void LEAPDlg::Form_Load() {
    Timer1.setEnabled(false);
    ShowCheck.setValue(0);
    ShowCheck_Click();
    for (const char* item : {"None", "PEAP", "LEAP", "TTLS"}) Combo1.addItem(item);
    Combo1.setListIndex(1);
}

void LEAPDlg::ShowCheck_Click() { password_.showClicked(); }

void LEAPDlg::Combo1_DropDown() {
    Timer1.setInterval(100);
    Timer1.setEnabled(true);
}

void LEAPDlg::Timer1_Timer() { UpdateCredentialFields(); }

void LEAPDlg::UpdateCredentialFields() {
    const bool on = Combo1.listIndex() != 0;
    EnableInputs({&Label2, &UserName}, on);
    password_.setEnabled(on);
}

void LEAPDlg::Next_Click() {
    Timer1.setEnabled(false);
    if (CharCount(UserName.text()) > 32) {
        m_.ShowNotice(JoinLines(
            {"User Name too long.", "Maximum number of characters allowed is 32.", "Please enter a valid User Name."}));
        UserName.setFocus();
        return;
    }
    if (CharCount(Password.text()) > 32) {
        m_.ShowNotice(JoinLines(
            {"Password too long.", "Maximum number of characters allowed is 32.", "Please enter a valid password."}));
        Password.setFocus();
        return;
    }
    if (!password_.confirmed()) {
        m_.ShowNotice("Inputs for the password does not match, please re-enter the password again.");
        ConfirmTxt.setFocus();
        return;
    }
    hide();
    ShowNext(m_.FinishDialogForm());
}

void LEAPDlg::Prev_Click() {
    if (!Caller) return;
    hide();
    Caller->show();
}

void LEAPDlg::Cancel_Click() {
    Timer1.setEnabled(false);
    m_.ConfirmCancel();
}

}  // namespace netcfg
