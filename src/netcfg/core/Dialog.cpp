#include "netcfg/core/Dialog.h"

#include <string>

#include "foundation/SettingsDialog.h"
#include "netcfg/core/QuillonModule.h"

namespace netcfg {

Dialog::Dialog(QuillonModule& module)
    : Page(module, "Dialog", "Load Wizard Settings"),
      Title(*this, "Title", "Load Wizard Settings"),
      Subtitle(*this, "Subtitle", "Please select the file that contains previously saved wizard settings"),
      Label3(*this, "Label3", "Filename:"),
      FileName(*this, "FileName"),
      Browse(*this, "Browse", "Browse"),
      Label1(*this, "Label1", "File Password:"),
      Password(*this, "Password"),
      ConfirmLabel(*this, "ConfirmLabel", "Confirm:"),
      ConfirmTxt(*this, "ConfirmTxt"),
      ShowCheck(*this, "ShowCheck", "Show Password"),
      OKButton(*this, "OKButton", "OK"),
      CancelButton(*this, "CancelButton", "Cancel"),
      password_(Label1, Password, ShowCheck, ConfirmLabel, ConfirmTxt) {
    Title.setFont(ui::HeadingFont);
    Label3.setBuddy(&FileName);
    FileName.setToolTip("Path and name of settings file.");
    Password.setToolTip("Password for file access.");
    ConfirmTxt.setToolTip("Re-type password for confirmation.");
    ShowCheck.setToolTip("Check to show the password as it is being entered.");
    OKButton.setDefault(true);
    CancelButton.setCancel(true);
    layoutGrid(
        {{&Label3, &FileName, &Browse}, {&Label1, &Password, &ShowCheck}, {&ConfirmLabel, &ConfirmTxt, nullptr}});

    Browse.onClick = [this] { Browse_Click(); };
    ShowCheck.onClick = [this] { ShowCheck_Click(); };
    OKButton.onClick = [this] { OKButton_Click(); };
    CancelButton.onClick = [this] { CancelButton_Click(); };
}

void Dialog::Open() {
    m_.DialogResult = 0;
    password_.setMasking(true);
    const char* title = foundation::SettingsDialogTitle(saving());
    setCaption(title);
    Title.setCaption(title);
    Subtitle.setCaption(foundation::SettingsDialogInstruction(saving()));
    show();
    FileName.setFocus();
}

void Dialog::Browse_Click() {
    if (const auto path = foundation::BrowseSettingsFile(
            m_, saving(), "Quillon Settings (*.qlz)|*.qlz|All Files (*.*)|*.*", Extension))
        FileName.setText(*path);
}

void Dialog::ShowCheck_Click() { password_.showClicked(); }

void Dialog::OKButton_Click() {
    std::string name = FileName.text();
    if (!foundation::CheckSettingsFileName(m_, FileName)) return;
    if (!password_.confirmed()) {
        m_.ShowNotice("Inputs for the password does not match, please re-enter the password again.");
        ConfirmTxt.setFocus();
        return;
    }
    const std::int16_t mode = dialogFlag;
    bool done = false;
    if (saving()) {
        if (name.find('.') == std::string::npos) {
            name += Extension;
            FileName.setText(name);
        }
        done = m_.SaveWizardSettings(name);
        // Only a file that was written lets the wizard end without asking.
        if (done) m_.SettingsSavedToFile = true;
    } else {
        done = m_.LoadWizardSettings(name);
    }
    if (!done) {  // the notice was shown; the entries stay for another try
        if (saving()) FileName.setFocus();
        return;
    }
    m_.DialogResult = 1;
    unload();
    if (mode == 2) m_.ExitWizard();
}

void Dialog::CancelButton_Click() {
    m_.DialogResult = -1;
    unload();
}

void Dialog::Form_QueryUnload(int&, int unloadMode) {
    if (unloadMode == ui::UnloadByUser) CancelButton_Click();
}

}  // namespace netcfg
