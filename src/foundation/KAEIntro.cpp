#include "foundation/KAEIntro.h"

#include "foundation/KAEAbout.h"
#include "foundation/WizardModule.h"

namespace foundation {

KAEIntro::KAEIntro(WizardModule& module)
    : WizardPage(module, "KAEIntro", "Welcome"),
      Logo(*this, "Logo", "logo"),
      Label1(*this, "Label1", module.texts().welcomeHeading),
      Label3(*this, "Label3", module.texts().welcomeText),
      Label4(*this, "Label4",
             "For more complete control over your network printers, please use the Fenwold Console (FWC)."),
      Label2(*this, "Label2", "To continue, click Next"),
      About(*this, "About", "About"),
      Exit(*this, "Exit", "Exit"),
      Next(*this, "Next", "Next >"),
      m_(module) {
    Label1.setFont(ui::HeadingFont);
    Next.setDefault(true);
    Exit.setCancel(true);
    About.onClick = [this] { About_Click(); };
    Exit.onClick = [this] { Exit_Click(); };
    Next.onClick = [this] { Next_Click(); };
}

void KAEIntro::Form_Load() { m_.CallSetupMenu("min"); }

void KAEIntro::About_Click() {
    m_.KAEAboutForm().showModal();
    // Every click shows a freshly loaded box.
    m_.KAEAboutForm.unload();
}

void KAEIntro::Exit_Click() { m_.ConfirmCancel(); }

void KAEIntro::Next_Click() { m_.WelcomeNext(); }

}  // namespace foundation
