#include "printercfg/pages/CustomDialog.h"

#include <cmath>
#include <optional>

#include "printercfg/core/LabelSize.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/core/ModelTable.h"
#include "printercfg/pages/Operation.h"

namespace printercfg {

namespace {

using foundation::JoinLines;

constexpr float MinWidthInch = 0.8f, MinWidthMM = 20.32f;
constexpr float MinLengthInch = 0.25f, MinLengthMM = 6.35f;
constexpr float MaxLengthInch = 99.01f;  // a longer label becomes 99 inches
constexpr float LongestInch = 99.0f, LongestMM = 2514.6f;

// Beyond any limit, and still a single-precision number.
constexpr double Huge = 1e9;

float toSingle(double v) { return static_cast<float>(std::fmax(-Huge, std::fmin(Huge, v))); }

}  // namespace

CustomDialog::CustomDialog(MarrowbyModule& module)
    : Page(module, "CustomDialog", "Custom Form Definition"),
      Label1(*this, "Label1", "Enter the custom form dimensions"),
      Label2(*this, "Label2",
             "Enter in the dimension(s) you which to support. You can enter in new dimensions for either the width, "
             "length, or both."),
      WidthCaption(*this, "WidthCaption", "Width:"),
      WidthValueInch(*this, "WidthValueInch"),
      WidthInchUnit(*this, "WidthInchUnit", "Inches"),
      WidthValueMM(*this, "WidthValueMM"),
      WidthMMUnit(*this, "WidthMMUnit", "mm"),
      LengthCaption(*this, "LengthCaption", "Length:"),
      HeightValueInch(*this, "HeightValueInch"),
      LengthInchUnit(*this, "LengthInchUnit", "Inches"),
      HeightValueMM(*this, "HeightValueMM"),
      LengthMMUnit(*this, "LengthMMUnit", "mm"),
      OKButton(*this, "OKButton", "OK"),
      CancelButton(*this, "CancelButton", "Cancel") {
    Label1.setFont(ui::HeadingFont);
    WidthCaption.setBuddy(&WidthValueInch);
    WidthMMUnit.setBuddy(&WidthValueMM);
    LengthCaption.setBuddy(&HeightValueInch);
    LengthMMUnit.setBuddy(&HeightValueMM);
    WidthValueInch.setToolTip("Label width in inches");
    WidthValueMM.setToolTip("Label width in millimetres");
    HeightValueInch.setToolTip("Label length in inches");
    HeightValueMM.setToolTip("Label length in millimetres");
    OKButton.setDefault(true);
    CancelButton.setCancel(true);
    setModalToOpener(true);  // the media page waits behind it
    layoutGrid({{&WidthCaption, &WidthValueInch, &WidthInchUnit, &WidthValueMM, &WidthMMUnit},
                {&LengthCaption, &HeightValueInch, &LengthInchUnit, &HeightValueMM, &LengthMMUnit}});

    WidthValueInch.onChange = [this] { WidthValueInch_Change(); };
    WidthValueMM.onChange = [this] { WidthValueMM_Change(); };
    HeightValueInch.onChange = [this] { HeightValueInch_Change(); };
    HeightValueMM.onChange = [this] { HeightValueMM_Change(); };
    OKButton.onClick = [this] { OKButton_Click(); };
    CancelButton.onClick = [this] { CancelButton_Click(); };
}

void CustomDialog::WidthValueInch_Change() {
    if (!writing_) width_.mmFirst = false;
}

void CustomDialog::WidthValueMM_Change() {
    if (!writing_) width_.mmFirst = true;
}

void CustomDialog::HeightValueInch_Change() {
    if (!writing_) length_.mmFirst = false;
}

void CustomDialog::HeightValueMM_Change() {
    if (!writing_) length_.mmFirst = true;
}

ui::TextBox* CustomDialog::source(const Pair& pair) const {
    auto blank = [](const ui::TextBox& box) { return box.text().find_first_not_of(" \t") == std::string::npos; };
    ui::TextBox& first = pair.mmFirst ? pair.mm : pair.inch;
    ui::TextBox& second = pair.mmFirst ? pair.inch : pair.mm;
    if (!blank(first)) return &first;
    if (!blank(second)) return &second;
    return nullptr;
}

void CustomDialog::write(Pair& pair, float inches, float millimetres) {
    writing_ = true;
    pair.inch.setText(NumberText(inches, m_.DecimalSeparator));
    pair.mm.setText(NumberText(millimetres, m_.DecimalSeparator));
    writing_ = false;
    pair.mmFirst = false;
}

void CustomDialog::OKButton_Click() {
    // Read both dimensions before anything is stored: a text that is no
    // number leaves every value as it was.
    struct Entry {
        Pair& pair;
        ui::TextBox* box;
        std::optional<double> value;
    };
    Entry width{width_, source(width_), std::nullopt};
    Entry length{length_, source(length_), std::nullopt};
    for (Entry* e : {&width, &length}) {
        if (!e->box) continue;
        e->value = ParseNumber(e->box->text(), m_.DecimalSeparator);
        if (!e->value) {
            m_.ShowNotice(JoinLines(
                {"Invalid Form Dimension(s) Entered!", "Please enter each dimension as a number, in inches or in mm"}));
            e->box->setFocus();
            return;
        }
    }

    auto store = [](const Entry& e, float& inches, float& millimetres) {
        if (e.box == &e.pair.inch) {
            inches = toSingle(*e.value);
            millimetres = toSingle(static_cast<double>(inches) * MillimetresPerInch);
        } else {
            millimetres = toSingle(*e.value);
            inches = toSingle(static_cast<double>(millimetres) / MillimetresPerInch);
        }
    };
    const bool widthEntered = width.box != nullptr, lengthEntered = length.box != nullptr;
    if (widthEntered) {
        store(width, m_.CustomWidthInch, m_.CustomWidthMM);
        write(width_, m_.CustomWidthInch, m_.CustomWidthMM);
    }
    if (lengthEntered) {
        store(length, m_.CustomLengthInch, m_.CustomLengthMM);
        write(length_, m_.CustomLengthInch, m_.CustomLengthMM);
    }

    bool corrected = false;
    auto replace = [&](Pair& pair, float& inches, float& millimetres, float limitInch, float limitMM) {
        inches = limitInch;
        millimetres = limitMM;
        write(pair, inches, millimetres);
        corrected = true;
    };
    if (widthEntered && m_.CustomWidthInch < MinWidthInch)
        replace(width_, m_.CustomWidthInch, m_.CustomWidthMM, MinWidthInch, MinWidthMM);
    if (m_.MaxMediaWidth < 4) m_.MaxMediaWidth = 4;
    if (const auto widest = LabelWidthMaximum(m_.MaxMediaWidth); widthEntered && widest && m_.CustomWidthInch > *widest)
        replace(width_, m_.CustomWidthInch, m_.CustomWidthMM, *widest,
                static_cast<float>(static_cast<double>(*widest) * MillimetresPerInch));
    if (lengthEntered && m_.CustomLengthInch < MinLengthInch)
        replace(length_, m_.CustomLengthInch, m_.CustomLengthMM, MinLengthInch, MinLengthMM);
    if (lengthEntered && m_.CustomLengthInch > MaxLengthInch)
        replace(length_, m_.CustomLengthInch, m_.CustomLengthMM, LongestInch, LongestMM);
    if (corrected) {
        m_.ShowNotice(JoinLines({"Allowable Form Dimension(s) Exceeded!",
                                 "The dimension(s) have been changed to reflect the minimum/maximum allowable"}));
        return;
    }

    Operation& media = m_.OperationForm();
    if (widthEntered && m_.CustomWidthInch > 0)
        selectOrAdd(media.LabelWidthCombo, m_.LabelWidthCodes, media.LabelWidthExist(m_.CustomWidthInch),
                    m_.CustomWidthInch, m_.CustomWidthMM);
    if (lengthEntered && m_.CustomLengthInch > 0)
        selectOrAdd(media.LabelLengthCombo, m_.LabelLengthCodes, media.LabelLengthExist(m_.CustomLengthInch),
                    m_.CustomLengthInch, m_.CustomLengthMM);
    media.show();
    unload();
}

void CustomDialog::selectOrAdd(ui::ComboBox& list, std::vector<std::string>& codes, int found, float inches,
                               float millimetres) {
    // A code beyond the list's rows is left from an earlier list: not found.
    if (found >= 0 && found < list.listCount()) {
        list.setListIndex(found);
        return;
    }
    list.addItem(LabelSizeText(inches, millimetres));
    const int row = list.listCount() - 1;
    list.setListIndex(row);
    codes.resize(static_cast<std::size_t>(row) + 1);
    codes[static_cast<std::size_t>(row)] = LabelSizeCode(inches);
}

void CustomDialog::CancelButton_Click() {
    m_.OperationForm().show();
    unload();
}

void CustomDialog::Form_QueryUnload(int&, int unloadMode) {
    if (unloadMode == ui::UnloadByUser) CancelButton_Click();
}

}  // namespace printercfg
