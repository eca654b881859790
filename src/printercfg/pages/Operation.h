#pragma once
// "Printer Setup - Page 1", the media page: print mode, label size,
// orientation and media handling, each with its Ignore box. Loading it fills
// the module's command tables and label-size code tables.

#include "printercfg/core/Page.h"
#include "ui/Control.h"

namespace printercfg {

class Operation : public Page {
public:
    explicit Operation(MarrowbyModule& module);

    ui::Label Label1;
    ui::Label Label2;
    ui::Frame Frame1;
    ui::Label IgnoreLabel;
    ui::CheckBox MediaTypeCB;
    ui::Label MediaTypeCaption;
    ui::ComboBox MediaTypeCombo;
    ui::CheckBox MediaSizeCB;
    ui::Label LabelLengthCaption;
    ui::ComboBox LabelLengthCombo;
    ui::Label LabelWidthCaption;
    ui::ComboBox LabelWidthCombo;
    ui::CommandButton CustomizeMedia;
    ui::CheckBox OrientationCB;
    ui::Label OrientationCaption;
    ui::ComboBox OrientationCombo;
    ui::CheckBox DispenseCB;
    ui::Label DispenseCaption;
    ui::ComboBox DispenseCombo;
    ui::CommandButton Prev;
    ui::CommandButton Next;
    ui::CommandButton Cancel;

    // Both label size lists for the model, their code tables, the default
    // rows and the last predefined rows.
    void Load_MediaSizeCombo();
    // Opens the settings dialog to load a settings file.
    void Load_Click();
    // The first code table entry holding the size's code, or -1; entries
    // beyond the list's rows count too.
    int LabelWidthExist(const float& inches) const;
    int LabelLengthExist(const float& inches) const;

    void Prev_Click();
    void Next_Click();
    void Cancel_Click();
    void CustomizeMedia_Click();
    void MediaTypeCB_Click();
    void MediaSizeCB_Click();
    void OrientationCB_Click();
    void DispenseCB_Click();

protected:
    void Form_Load() override;

private:
    void FillMediaTypeList();
    void FillOrientationList();
    void FillDispenseList();
};

}  // namespace printercfg
