#pragma once
// The settings dialog: the name of a settings file, to save the two settings
// pages into it or to load them from it. It runs beside the wizard's pages;
// when it closes it shows the page the wizard goes on with.

#include <cstdint>

#include "printercfg/core/Page.h"
#include "ui/Control.h"

namespace printercfg {

class Dialog : public Page {
public:
    explicit Dialog(MarrowbyModule& module);

    // What the opener asks: 1 save, 2 save and then leave the wizard, any
    // other value load. Kept between openings.
    std::int16_t dialogFlag = 0;

    ui::Label Title;
    ui::Label Subtitle;
    ui::Label Label3;
    ui::TextBox FileName;
    ui::CommandButton Browse;
    ui::CommandButton OKButton;
    ui::CommandButton CancelButton;

    // Shows the dialog (not modal) in the mode dialogFlag asks for; the
    // opener sets dialogFlag first.
    void Open();

    void Browse_Click();
    void OKButton_Click();
    void CancelButton_Click();

    static constexpr const char* Extension = ".mqz";

protected:
    // A close from the title bar is the dialog's Cancel.
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    bool saving() const { return dialogFlag == 1 || dialogFlag == 2; }
};

}  // namespace printercfg
