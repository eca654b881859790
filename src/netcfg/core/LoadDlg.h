#pragma once
// The load page: start with the default settings or load a settings file.
// Loading it takes the baseline of the page records.

#include "netcfg/core/Page.h"
#include "ui/Control.h"

namespace netcfg {

class LoadDlg : public Page {
public:
    explicit LoadDlg(QuillonModule& module);

    ui::Label Label1;
    ui::Label Label6;
    ui::OptionButton StartNew;
    ui::Label Label2;
    ui::OptionButton Load;
    ui::Label Label3;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;
    ui::Timer Timer1;

    void Next_Click();
    void Prev_Click();
    void Cancel_Click();
    void Timer1_Timer();

    static constexpr int PollMs = 500;

protected:
    void Form_Load() override;
};

}  // namespace netcfg
