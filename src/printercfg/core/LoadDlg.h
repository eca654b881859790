#pragma once
// "Load Wizard Settings": after the printer selection, the user starts from
// the default settings or from a saved settings file.

#include "printercfg/core/Page.h"
#include "ui/Control.h"

namespace printercfg {

class LoadDlg : public Page {
public:
    explicit LoadDlg(MarrowbyModule& module);

    ui::Label Label1;
    ui::Label Label6;
    ui::OptionButton StartNew;
    ui::Label Label2;
    ui::OptionButton Load;
    ui::Label Label3;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;

    void Next_Click();
    void Prev_Click();
    void Cancel_Click();

protected:
    void Form_Load() override;
};

}  // namespace printercfg
