#pragma once
// WEP entry choice page: the keys as ASCII strings or as hexadecimal keys.

#include "netcfg/core/Page.h"
#include "ui/ControlArray.h"

namespace netcfg {

class WEPDlg : public Page {
public:
    explicit WEPDlg(QuillonModule& module);

    ui::ControlArray<ui::Label> Label1;  // the heading, index 1
    ui::Label Label6;
    ui::OptionButton Phrase;
    ui::Label Label4;
    ui::OptionButton EntryManual;
    ui::Label Label5;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;

    void Next_Click();
    void Prev_Click();
    void Cancel_Click();

protected:
    void Form_Load() override;
};

// Creates the heading of the WEP pages, Label1(1); returns the page, for the
// initialiser of the member that follows the heading.
ui::Form& AddWepHeading(ui::Form& page, ui::ControlArray<ui::Label>& label1);

}  // namespace netcfg
