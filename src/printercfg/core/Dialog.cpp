#include "printercfg/core/Dialog.h"

#include <string>

#include "foundation/SettingsDialog.h"
#include "printercfg/core/FinishDialog.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"

namespace printercfg {

Dialog::Dialog(MarrowbyModule& module)
    : Page(module, "Dialog", "Load Wizard Settings"),
      Title(*this, "Title", "Load Wizard Settings"),
      Subtitle(*this, "Subtitle", "Please select the file that contains previously saved wizard settings"),
      Label3(*this, "Label3", "Filename:"),
      FileName(*this, "FileName"),
      Browse(*this, "Browse", "Browse"),
      OKButton(*this, "OKButton", "OK"),
      CancelButton(*this, "CancelButton", "Cancel") {
    Title.setFont(ui::HeadingFont);
    Label3.setBuddy(&FileName);
    FileName.setToolTip("Path and name of settings file.");
    OKButton.setDefault(true);
    CancelButton.setCancel(true);
    layoutGrid({{&Label3, &FileName, &Browse}});

    Browse.onClick = [this] { Browse_Click(); };
    OKButton.onClick = [this] { OKButton_Click(); };
    CancelButton.onClick = [this] { CancelButton_Click(); };
}

void Dialog::Open() {
    // The dialog stands in for the page it was opened from.
    if (saving()) {
        if (PrinterSetup* settings = m_.PrinterSetupForm.loaded()) settings->hide();
    } else if (Operation* media = m_.OperationForm.loaded()) {
        media->hide();
    }
    const char* title = foundation::SettingsDialogTitle(saving());
    setCaption(title);
    Title.setCaption(title);
    Subtitle.setCaption(foundation::SettingsDialogInstruction(saving()));
    show();
    FileName.setFocus();
}

void Dialog::Browse_Click() {
    if (const auto path = foundation::BrowseSettingsFile(
            m_, saving(), "Wizard Settings (*.mqz)|*.mqz|All Files (*.*)|*.*", Extension))
        FileName.setText(*path);
}

void Dialog::OKButton_Click() {
    std::string name = FileName.text();
    if (!foundation::CheckSettingsFileName(m_, FileName)) return;
    // Kept apart from the dialog, which is gone once it is unloaded.
    MarrowbyModule& m = m_;
    const std::int16_t mode = dialogFlag;
    if (saving()) {
        if (name.find('.') == std::string::npos) {
            name += Extension;
            FileName.setText(name);
        }
        // A declined overwrite or a failed write keeps the dialog open.
        if (!m.SaveWizardSettings(name)) {
            FileName.setFocus();
            return;
        }
        m.SettingsChanged = false;
        m.SettingsSavedToFile = true;
        unload();
        if (mode == 2 && m.ExitWizard()) return;
        m.FinishDialogForm().show();
        return;
    }
    // A file that does not load keeps the dialog open, and the pages as they were.
    if (!m.LoadWizardSettings(name)) {
        FileName.setFocus();
        return;
    }
    m.SettingsChanged = false;
    unload();
    m.OperationForm().show();
}

void Dialog::CancelButton_Click() {
    MarrowbyModule& m = m_;
    const bool save = saving();
    unload();
    if (save)
        m.FinishDialogForm().show();
    else
        m.OperationForm().show();
}

void Dialog::Form_QueryUnload(int&, int unloadMode) {
    if (unloadMode == ui::UnloadByUser) CancelButton_Click();
}

}  // namespace printercfg
