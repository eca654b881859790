#include "netcfg/pages/WEPDlg.h"

#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/WEPkeyDlg.h"
#include "netcfg/pages/WEPphraseDlg.h"

namespace netcfg {

ui::Form& AddWepHeading(ui::Form& page, ui::ControlArray<ui::Label>& label1) {
    label1.add(1, "WEP Encryption Configuration").setFont(ui::HeadingFont);
    return page;
}

WEPDlg::WEPDlg(QuillonModule& module)
    : Page(module, "WEPDlg", "Configure Wireless Authentication"),
      Label1(*this, "Label1"),
      Label6(AddWepHeading(*this, Label1), "Label6",
             "Please select the method for entering the encryption key used by  your wireless network."),
      Phrase(*this, "Phrase", "&ASCII String"),
      Label4(*this, "Label4",
             "The ASCII string can contain any alpha-numeric characters except spaces. Key length is inferred from "
             "the length of phrase so  leading zeros of longer keys must be entered."),
      EntryManual(*this, "EntryManual", "&Encryption keys"),
      Label5(*this, "Label5",
             "The keys are entered in double or quad-digit HEX numbers separated by colon(:) or dash(-) characters. "
             "Example: A7F3-0C9E-5B21-D84A-36E0-F19B-7C"),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel") {
    Next.setDefault(true);
    Cancel.setCancel(true);
    Phrase.setToolTip("Select the option to enter in an ASCII string for wireless network access.");
    EntryManual.setToolTip("Select option to enter in the encryption keys use by the wireless network.");
    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

void WEPDlg::Form_Load() { Phrase.setValue(true); }

void WEPDlg::Next_Click() {
    hide();
    if (Phrase.value())
        m_.WEPphraseDlgForm().show();
    else
        m_.WEPkeyDlgForm().show();
}

void WEPDlg::Prev_Click() {
    hide();
    m_.EncryptQuestionDlgForm().show();
}

void WEPDlg::Cancel_Click() { m_.ConfirmCancel(); }

}  // namespace netcfg
