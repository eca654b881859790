#pragma once
// "Select Operation": the printer's own settings go on to the printer
// selection; the network settings start Quillon and wait for it. Also the
// offer to install a printer driver when no supported printer is installed.

#include <cstdint>
#include <string>

#include "printercfg/core/Page.h"
#include "ui/Control.h"
#include "ui/ControlArray.h"

namespace printercfg {

class SelectDlg : public Page {
public:
    explicit SelectDlg(MarrowbyModule& module);

    ui::Label Label1;
    ui::Label Label6;
    ui::OptionButton CfgNic;
    ui::Label Label3;
    ui::OptionButton CfgPrinter;
    ui::ControlArray<ui::Label> Label2;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;

    // Runs Quillon from the program folder to its end; false when it could not be run.
    bool RunQuillon();
    // The driver offer: runs the driver setup and looks again, or exits.
    void No_Driver_Found();

    void Next_Click();
    void Prev_Click();
    void Cancel_Click();

    static constexpr std::int32_t WaitMs = 2'000'000'000;

protected:
    void Form_Load() override;

private:
    // Starts a program of the program folder and waits for its end; false when it did not start.
    bool RunAndWait(const std::string& commandLine);
};

}  // namespace printercfg
