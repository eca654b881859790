#pragma once
// The settings dialog: the name and password of a settings file, to save the
// wizard's settings or to load saved ones. It runs beside its opener, which
// learns the outcome from the module's DialogResult.

#include <cstdint>

#include "netcfg/core/MaskedEntry.h"
#include "netcfg/core/Page.h"
#include "ui/Control.h"

namespace netcfg {

class Dialog : public Page {
public:
    explicit Dialog(QuillonModule& module);

    // What the opener asks: 1 save, 2 save and then leave the wizard, any
    // other value load. Kept between openings.
    std::int16_t dialogFlag = 0;

    ui::Label Title;
    ui::Label Subtitle;
    ui::Label Label3;
    ui::TextBox FileName;
    ui::CommandButton Browse;
    ui::Label Label1;
    ui::TextBox Password;
    ui::Label ConfirmLabel;
    ui::TextBox ConfirmTxt;
    ui::CheckBox ShowCheck;
    ui::CommandButton OKButton;
    ui::CommandButton CancelButton;

    // Shows the dialog (not modal) in the mode dialogFlag asks for, with the
    // outcome pending; the opener sets dialogFlag first.
    void Open();

    void Browse_Click();
    void ShowCheck_Click();
    void OKButton_Click();
    void CancelButton_Click();

    static constexpr const char* Extension = ".qlz";

protected:
    // A close from the title bar is the dialog's Cancel.
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    bool saving() const { return dialogFlag == 1 || dialogFlag == 2; }

    MaskedEntry password_;
};

}  // namespace netcfg
