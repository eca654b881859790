#include "printercfg/pages/Operation.h"

#include "printercfg/core/Dialog.h"
#include "printercfg/core/LabelSize.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/core/ModelTable.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/PrinterSetup.h"

namespace printercfg {

namespace {

const ListRow MediaTypeRows[] = {{"Thermal Transfer", "ENGINE-MODE;X"}, {"Direct Transfer", "ENGINE-MODE;D"}};

const ListRow OrientationRows[] = {{"Portrait", "~PAPER;ROTATE 0"},
                                   {"Landscape", "~PAPER;ROTATE 90"},
                                   {"Inverse Portrait", "~PAPER;ROTATE 180"},
                                   {"Inverse Landscape", "~PAPER;ROTATE 270"}};

const ListRow DispenseRows[] = {{"Continuous", "ENGINE-MEDIA_HANDLING;0"},
                                {"Tear-off Strip", "ENGINE-MEDIA_HANDLING;1"},
                                {"Peel-off", "ENGINE-MEDIA_HANDLING;3"},
                                {"Cut", "ENGINE-MEDIA_HANDLING;4"}};

// Rows an Ignore box puts back.
constexpr int MediaTypeResetRow = 0;
constexpr int LengthResetRow = 5;
constexpr int WidthResetRow = 4;
constexpr int OrientationResetRow = 0;
constexpr int DispenseResetRow = 1;

// Both code tables hold at least the seven predefined codes and a spare entry.
constexpr std::size_t CodeTableSize = 8;

int FindCode(const std::vector<std::string>& table, float inches) {
    const std::string code = LabelSizeCode(inches);
    for (std::size_t i = 0; i < table.size(); ++i)
        if (!table[i].empty() && table[i].find(code) != std::string::npos) return static_cast<int>(i);
    return -1;
}

}  // namespace

Operation::Operation(MarrowbyModule& module)
    : Page(module, "Operation", "Printer Setup - Page 1"),
      Label1(*this, "Label1", "Printer Setup - Page 1"),
      Label2(*this, "Label2", SettingsInstruction),
      Frame1(*this, "Frame1", "         Media Setup"),
      IgnoreLabel(*this, "IgnoreLabel", "Ignore", -1, &Frame1),
      MediaTypeCB(*this, "MediaTypeCB", {}, -1, &Frame1),
      MediaTypeCaption(*this, "MediaTypeCaption", "*Print Mode:", -1, &Frame1),
      MediaTypeCombo(*this, "MediaTypeCombo", ui::ComboBox::Style::DropDownList, -1, &Frame1),
      MediaSizeCB(*this, "MediaSizeCB", {}, -1, &Frame1),
      LabelLengthCaption(*this, "LabelLengthCaption", "*Label Length:", -1, &Frame1),
      LabelLengthCombo(*this, "LabelLengthCombo", ui::ComboBox::Style::DropDownCombo, -1, &Frame1),
      LabelWidthCaption(*this, "LabelWidthCaption", "*Label Width:", -1, &Frame1),
      LabelWidthCombo(*this, "LabelWidthCombo", ui::ComboBox::Style::DropDownCombo, -1, &Frame1),
      CustomizeMedia(*this, "CustomizeMedia", "Customize", -1, &Frame1),
      OrientationCB(*this, "OrientationCB", {}, -1, &Frame1),
      OrientationCaption(*this, "OrientationCaption", "Orientation:", -1, &Frame1),
      OrientationCombo(*this, "OrientationCombo", ui::ComboBox::Style::DropDownCombo, -1, &Frame1),
      DispenseCB(*this, "DispenseCB", {}, -1, &Frame1),
      DispenseCaption(*this, "DispenseCaption", "Media Handling:", -1, &Frame1),
      DispenseCombo(*this, "DispenseCombo", ui::ComboBox::Style::DropDownCombo, -1, &Frame1),
      Prev(*this, "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel") {
    Label1.setFont(ui::HeadingFont);
    MediaTypeCaption.setBuddy(&MediaTypeCombo);
    LabelLengthCaption.setBuddy(&LabelLengthCombo);
    LabelWidthCaption.setBuddy(&LabelWidthCombo);
    OrientationCaption.setBuddy(&OrientationCombo);
    DispenseCaption.setBuddy(&DispenseCombo);
    CustomizeMedia.setToolTip("Define a label length or width that the lists do not offer");
    Next.setDefault(true);
    Cancel.setCancel(true);
    layoutGrid({{&IgnoreLabel, nullptr, nullptr, nullptr},
                {&MediaTypeCB, &MediaTypeCaption, &MediaTypeCombo, nullptr},
                {&MediaSizeCB, &LabelLengthCaption, &LabelLengthCombo, nullptr},
                {nullptr, &LabelWidthCaption, &LabelWidthCombo, &CustomizeMedia},
                {&OrientationCB, &OrientationCaption, &OrientationCombo, nullptr},
                {&DispenseCB, &DispenseCaption, &DispenseCombo, nullptr}});

    // Every setting starts ignored, its inputs greyed.
    for (ui::CheckBox* box : {&MediaTypeCB, &MediaSizeCB, &OrientationCB, &DispenseCB}) {
        box->setValue(1);
        box->setToolTip(IgnoreToolTip);
    }
    EnableInputs(
        {&MediaTypeCaption, &MediaTypeCombo, &LabelLengthCaption, &LabelLengthCombo, &LabelWidthCaption,
         &LabelWidthCombo, &CustomizeMedia, &OrientationCaption, &OrientationCombo, &DispenseCaption, &DispenseCombo},
        false);

    MediaTypeCB.onClick = [this] { MediaTypeCB_Click(); };
    MediaSizeCB.onClick = [this] { MediaSizeCB_Click(); };
    OrientationCB.onClick = [this] { OrientationCB_Click(); };
    DispenseCB.onClick = [this] { DispenseCB_Click(); };
    CustomizeMedia.onClick = [this] { CustomizeMedia_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Next.onClick = [this] { Next_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

void Operation::Form_Load() {
    FillMediaTypeList();
    Load_MediaSizeCombo();
    FillOrientationList();
    FillDispenseList();
}

void Operation::FillMediaTypeList() {
    FillList(MediaTypeCombo, MediaTypeRows, std::size(MediaTypeRows), 0, m_.MediaTypeCmds);
}

void Operation::FillOrientationList() {
    FillList(OrientationCombo, OrientationRows, std::size(OrientationRows), 0, m_.OrientationCmds);
}

void Operation::FillDispenseList() {
    FillList(DispenseCombo, DispenseRows, std::size(DispenseRows), 1, m_.DispenseCmds);
}

void Operation::Load_MediaSizeCombo() {
    m_.LabelLengthCodes.resize(CodeTableSize);
    m_.LabelWidthCodes.resize(CodeTableSize);
    const ModelLimits& limits = LimitsFor(m_.MaxMediaWidth);
    const auto& lengths = LabelLengthRows();
    const auto& widths = LabelWidthRows();
    for (const auto& row : lengths) LabelLengthCombo.addItem(LabelSizeText(row.inches, row.millimetres));
    for (int i = 0; i <= limits.lastWidthRow; ++i) {
        const auto& row = widths[static_cast<std::size_t>(i)];
        LabelWidthCombo.addItem(LabelSizeText(row.inches, row.millimetres));
    }
    m_.LastFixedLengthRow = static_cast<int>(lengths.size()) - 1;
    m_.LastFixedWidthRow = limits.lastWidthRow;
    LabelLengthCombo.setListIndex(limits.defaultLengthRow);
    LabelWidthCombo.setListIndex(limits.defaultWidthRow);
    for (std::size_t i = 0; i < lengths.size(); ++i) m_.LabelLengthCodes[i] = LabelSizeCode(lengths[i].inches);
    for (std::size_t i = 0; i < widths.size(); ++i) m_.LabelWidthCodes[i] = LabelSizeCode(widths[i].inches);
}

void Operation::Load_Click() {
    auto& dialog = m_.DialogForm();
    dialog.dialogFlag = 0;
    dialog.Open();
}

int Operation::LabelWidthExist(const float& inches) const { return FindCode(m_.LabelWidthCodes, inches); }

int Operation::LabelLengthExist(const float& inches) const { return FindCode(m_.LabelLengthCodes, inches); }

void Operation::MediaTypeCB_Click() {
    ApplyIgnore(MediaTypeCB, {&MediaTypeCaption, &MediaTypeCombo},
                [this] { MediaTypeCombo.setListIndex(MediaTypeResetRow); });
}

void Operation::MediaSizeCB_Click() {
    ApplyIgnore(MediaSizeCB,
                {&LabelLengthCaption, &LabelLengthCombo, &LabelWidthCaption, &LabelWidthCombo, &CustomizeMedia},
                [this] {
                    LabelLengthCombo.setListIndex(LengthResetRow);
                    LabelWidthCombo.setListIndex(WidthResetRow);
                });
}

void Operation::OrientationCB_Click() {
    ApplyIgnore(OrientationCB, {&OrientationCaption, &OrientationCombo},
                [this] { OrientationCombo.setListIndex(OrientationResetRow); });
}

void Operation::DispenseCB_Click() {
    ApplyIgnore(DispenseCB, {&DispenseCaption, &DispenseCombo},
                [this] { DispenseCombo.setListIndex(DispenseResetRow); });
}

void Operation::Prev_Click() {
    m_.LoadDlgForm().show();
    hide();
}

void Operation::Next_Click() {
    if (MediaSizeCB.value() == 0 && !m_.CheckLabelSize()) {
        m_.ShowNotice(
            foundation::JoinLines({"Invalid media size selected or media size entered manually.",
                                   "Please use the drop down menu or Customize button to specify the media size"}));
        return;
    }
    if (RefuseTypedText(OrientationCB, OrientationCombo, "orientation")) return;
    if (RefuseTypedText(DispenseCB, DispenseCombo, "media handling")) return;
    m_.PrinterSetupForm().show();
    hide();
}

void Operation::Cancel_Click() { m_.ConfirmCancel(); }

void Operation::CustomizeMedia_Click() { m_.CustomDialogForm().show(); }

}  // namespace printercfg
