#pragma once
// "Custom Form Definition": a label width and/or length in inches or in
// millimetres, kept within the model's limits, selected in the media page's
// size lists or added to them as a custom row with its code.

#include <string>
#include <vector>

#include "printercfg/core/Page.h"
#include "ui/Control.h"

namespace printercfg {

class CustomDialog : public Page {
public:
    explicit CustomDialog(MarrowbyModule& module);

    ui::Label Label1;
    ui::Label Label2;
    ui::Label WidthCaption;
    ui::TextBox WidthValueInch;
    ui::Label WidthInchUnit;
    ui::TextBox WidthValueMM;
    ui::Label WidthMMUnit;
    ui::Label LengthCaption;
    ui::TextBox HeightValueInch;
    ui::Label LengthInchUnit;
    ui::TextBox HeightValueMM;
    ui::Label LengthMMUnit;
    ui::CommandButton OKButton;
    ui::CommandButton CancelButton;

    void OKButton_Click();
    void CancelButton_Click();
    void WidthValueInch_Change();
    void WidthValueMM_Change();
    void HeightValueInch_Change();
    void HeightValueMM_Change();

protected:
    // A close from the title bar is the dialog's Cancel.
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    // The two boxes of one dimension. When both hold text, the one the user
    // typed into last counts; after the dialog wrote them, the inch box.
    struct Pair {
        ui::TextBox& inch;
        ui::TextBox& mm;
        bool mmFirst = false;
    };
    // The box whose text gives the dimension, or nullptr when both are blank.
    ui::TextBox* source(const Pair& pair) const;
    // Writes both boxes of a dimension from its values; the inch box counts.
    void write(Pair& pair, float inches, float millimetres);
    // Selects the size's row in a list of the media page, or adds it.
    void selectOrAdd(ui::ComboBox& list, std::vector<std::string>& codes, int found, float inches, float millimetres);

    Pair width_{WidthValueInch, WidthValueMM};
    Pair length_{HeightValueInch, HeightValueMM};
    bool writing_ = false;
};

}  // namespace printercfg
