// Saving the two settings pages to a settings file and loading them back.

#include <fstream>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/FileReplace.h"
#include "printercfg/core/LabelSize.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/core/ModelTable.h"
#include "printercfg/core/SettingsFile.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"

namespace printercfg {

using foundation::JoinLines;

namespace {

using Values = SettingsFileValues;

// A value of the file and the control that shows it.
struct Link {
    std::int16_t Values::*member;
    std::variant<ui::CheckBox*, ui::ComboBox*, ui::ScrollBar*> control;

    int get() const {
        return std::visit(
            [](auto* c) {
                if constexpr (std::is_same_v<decltype(c), ui::ComboBox*>)
                    return c->listIndex();
                else
                    return c->value();
            },
            control);
    }
    // As a user's change would, this runs the control's handler.
    void set(int v) const {
        std::visit(
            [v](auto* c) {
                if constexpr (std::is_same_v<decltype(c), ui::ComboBox*>)
                    c->setListIndex(v);
                else
                    c->setValue(v);
            },
            control);
    }
};

// The values before the custom rows, and after them.
std::vector<Link> headLinks(Operation& op) {
    return {{&Values::MediaTypeCB, &op.MediaTypeCB},
            {&Values::MediaTypeRow, &op.MediaTypeCombo},
            {&Values::MediaSizeCB, &op.MediaSizeCB}};
}

std::vector<Link> tailLinks(Operation& op, PrinterSetup& ps) {
    return {{&Values::LabelLengthRow, &op.LabelLengthCombo},
            {&Values::LabelWidthRow, &op.LabelWidthCombo},
            {&Values::OrientationCB, &op.OrientationCB},
            {&Values::OrientationRow, &op.OrientationCombo},
            {&Values::DispenseCB, &op.DispenseCB},
            {&Values::DispenseRow, &op.DispenseCombo},
            {&Values::PrintSpeedCB, &ps.PrintSpeedCB},
            {&Values::PrintSpeedRow, &ps.PrintSpeedCombo},
            {&Values::GapCB, &ps.GapCB},
            {&Values::GapRow, &ps.GapCombo},
            {&Values::HorzCB, &ps.HorzCB},
            {&Values::HorzShift, &ps.HorzShiftHScroll},
            {&Values::VertCB, &ps.VertCB},
            {&Values::VertShift, &ps.VertShiftHScroll},
            {&Values::EmulationCB, &ps.EmulationCB},
            {&Values::EmulationRow, &ps.EmulationCombo}};
}

// The rows after the list's last predefined row, with their codes.
std::vector<CustomSizeRow> customRows(const ui::ComboBox& list, const std::vector<std::string>& codes, int lastFixed) {
    std::vector<CustomSizeRow> rows;
    for (int row = lastFixed + 1; row < list.listCount(); ++row) {
        const auto at = static_cast<std::size_t>(row);
        rows.push_back({at < codes.size() ? codes[at] : std::string{}, list.list(row)});
    }
    return rows;
}

void appendCustomRows(ui::ComboBox& list, std::vector<std::string>& codes, int lastFixed,
                      const std::vector<CustomSizeRow>& rows) {
    if (rows.empty()) return;
    codes.resize(static_cast<std::size_t>(lastFixed) + rows.size() + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        codes[static_cast<std::size_t>(lastFixed) + 1 + i] = rows[i].code;
        list.addItem(rows[i].text);
    }
}

Values readPages(MarrowbyModule& m) {
    Operation& op = m.OperationForm();
    PrinterSetup& ps = m.PrinterSetupForm();
    Values v;
    for (const Link& l : headLinks(op)) v.*l.member = static_cast<std::int16_t>(l.get());
    v.CustomLengths = customRows(op.LabelLengthCombo, m.LabelLengthCodes, m.LastFixedLengthRow);
    v.CustomWidths = customRows(op.LabelWidthCombo, m.LabelWidthCodes, m.LastFixedWidthRow);
    for (const Link& l : tailLinks(op, ps)) v.*l.member = static_cast<std::int16_t>(l.get());
    return v;
}

// The lists a loaded file meets: the media page rebuilt for the model, the
// print-settings page as it stands.
SettingsListSizes listSizes(MarrowbyModule& m) {
    const Operation& op = m.OperationForm();
    const PrinterSetup& ps = m.PrinterSetupForm();
    SettingsListSizes s;
    s.mediaType = op.MediaTypeCombo.listCount();
    s.fixedLengths = static_cast<int>(LabelLengthRows().size());
    s.fixedWidths = LimitsFor(m.MaxMediaWidth).lastWidthRow + 1;
    s.orientation = op.OrientationCombo.listCount();
    s.dispense = op.DispenseCombo.listCount();
    s.printSpeed = ps.PrintSpeedCombo.listCount();
    s.gap = ps.GapCombo.listCount();
    s.emulation = ps.EmulationCombo.listCount();
    return s;
}

// The media page afresh with the file's values, then the print-settings page's.
void applyValues(MarrowbyModule& m, const Values& v) {
    m.OperationForm.unload();
    Operation& op = m.OperationForm();
    PrinterSetup& ps = m.PrinterSetupForm();
    for (const Link& l : headLinks(op)) l.set(v.*l.member);
    appendCustomRows(op.LabelLengthCombo, m.LabelLengthCodes, m.LastFixedLengthRow, v.CustomLengths);
    appendCustomRows(op.LabelWidthCombo, m.LabelWidthCodes, m.LastFixedWidthRow, v.CustomWidths);
    for (const Link& l : tailLinks(op, ps)) l.set(v.*l.member);
}

std::string readError(const std::string& reason) {
    return JoinLines({"Error Reading File", reason, "Unable to load the saved settings", ""});
}

}  // namespace

bool MarrowbyModule::SaveWizardSettings(const std::string& path) {
    const auto bytes = WriteSettingsFile(readPages(*this));
    const std::string failed = JoinLines({"Error Writing File", "Unable to save the settings in " + path, ""});
    if (!bytes) {
        ShowNotice(failed);
        return false;
    }
    if (FileExists(path) && !ConfirmOverwrite()) return false;
    if (!platform::ReplaceFile(path, *bytes)) {
        ShowNotice(failed);
        return false;
    }
    SettingsChanged = false;
    SavedSettings = *bytes;
    return true;
}

bool MarrowbyModule::SettingsAsSaved() {
    if (!SettingsSavedToFile) return false;
    return !SavedSettings || WriteSettingsFile(readPages(*this)) == SavedSettings;
}

bool MarrowbyModule::LoadWizardSettings(const std::string& path) {
    if (!FileExists(path)) {
        ShowNotice("File not found. Please select another file.");
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ShowNotice(readError("Unable to open the file"));
        return false;
    }
    const auto file = ReadSettingsFile(in);
    in.close();
    switch (file.status) {
        case SettingsFileStatus::Loaded:
            break;
        case SettingsFileStatus::Incompatible:
            ShowNotice(readError("Incompatible File Type Detected"));
            return false;
        case SettingsFileStatus::Damaged:
            ShowNotice(readError("The file is incomplete or damaged"));
            return false;
    }
    if (!FitsLists(file.values, listSizes(*this))) {
        ShowNotice(readError("The settings do not fit the selected printer"));
        return false;
    }
    applyValues(*this, file.values);
    return true;
}

}  // namespace printercfg
