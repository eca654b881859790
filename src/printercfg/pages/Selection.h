#pragma once
// "Printer Selection": the installed queues of a supported model; Next makes
// the chosen one the current printer and classifies its model.

#include "printercfg/core/Page.h"
#include "ui/Control.h"

namespace printercfg {

class Selection : public Page {
public:
    explicit Selection(MarrowbyModule& module);

    ui::Label Label1;
    ui::Label SelectionLabel;
    ui::Label Label2;
    ui::ListBox PrinterList;
    ui::Label PrtNameLabel;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;

    // The supported queues in the spooler's order; selects the current
    // printer's row, else row 0.
    void FillPrinterList();
    // False when the print server did not answer as the list was made.
    bool spoolerAnswered() const { return spoolerAnswered_; }

    void PrinterList_Click();
    void Next_Click();
    void Prev_Click();
    void Cancel_Click();

protected:
    void Form_Load() override;

private:
    bool spoolerAnswered_ = true;
};

}  // namespace printercfg
