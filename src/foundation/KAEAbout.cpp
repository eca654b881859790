#include "foundation/KAEAbout.h"

#include "foundation/WizardModule.h"

namespace foundation {

KAEAbout::KAEAbout(WizardModule& module)
    : ui::Form(module.ui(), "KAEAbout", "About"),
      picIcon(*this, "picIcon", "icon"),
      lblTitle(*this, "lblTitle", "Product Name"),
      lblVersion(*this, "lblVersion", "Version "),
      lblDescription(*this, "lblDescription", module.texts().aboutDescription),
      lblDisclaimer(*this, "lblDisclaimer"),
      cmdOK(*this, "cmdOK", "OK"),
      m_(module) {
    cmdOK.setDefault(true);
    cmdOK.setCancel(true);
    cmdOK.onClick = [this] { cmdOK_Click(); };
}

void KAEAbout::Form_Load() {
    const std::string& title = m_.texts().title;
    setCaption("About " + title);
    lblVersion.setCaption("Version " + m_.GetVersionNumber());
    lblTitle.setCaption(ModelPrefix + title);
    lblDisclaimer.setCaption(m_.texts().legalNotice);
}

void KAEAbout::cmdOK_Click() { unload(); }

void KAEAbout::Form_QueryUnload(int&, int unloadMode) {
    if (unloadMode == ui::UnloadByUser) m_.ExitWizard();
}

}  // namespace foundation
