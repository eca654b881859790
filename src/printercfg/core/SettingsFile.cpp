#include "printercfg/core/SettingsFile.h"

#include <algorithm>
#include <limits>
#include <span>

#include "foundation/TypedRecords.h"
#include "platform/CodePage.h"
#include "printercfg/pages/PrinterSetup.h"

namespace printercfg {

const char* const SettingsFileVersion = "V1.0";

namespace {

using Values = SettingsFileValues;

enum class Kind { Ignore, Row, HorzShift, VertShift };

struct Field {
    std::int16_t Values::*member;
    Kind kind;
};

// The integer records before the custom rows' counts, and after the custom rows.
const Field HeadFields[] = {
    {&Values::MediaTypeCB, Kind::Ignore}, {&Values::MediaTypeRow, Kind::Row}, {&Values::MediaSizeCB, Kind::Ignore}};
const Field TailFields[] = {
    {&Values::LabelLengthRow, Kind::Row},   {&Values::LabelWidthRow, Kind::Row},
    {&Values::OrientationCB, Kind::Ignore}, {&Values::OrientationRow, Kind::Row},
    {&Values::DispenseCB, Kind::Ignore},    {&Values::DispenseRow, Kind::Row},
    {&Values::PrintSpeedCB, Kind::Ignore},  {&Values::PrintSpeedRow, Kind::Row},
    {&Values::GapCB, Kind::Ignore},         {&Values::GapRow, Kind::Row},
    {&Values::HorzCB, Kind::Ignore},        {&Values::HorzShift, Kind::HorzShift},
    {&Values::VertCB, Kind::Ignore},        {&Values::VertShift, Kind::VertShift},
    {&Values::EmulationCB, Kind::Ignore},   {&Values::EmulationRow, Kind::Row},
};

bool valid(Kind kind, int v) {
    switch (kind) {
        case Kind::Ignore:
            return v == 0 || v == 1;
        case Kind::HorzShift:
            return v >= PrinterSetup::HorzShiftMin && v <= PrinterSetup::HorzShiftMax;
        case Kind::VertShift:
            return v >= PrinterSetup::VertShiftMin && v <= PrinterSetup::VertShiftMax;
        case Kind::Row:
            return true;  // checked against the lists
    }
    return false;
}

bool readFields(foundation::RecordReader& reader, Values& values, std::span<const Field> fields) {
    for (const Field& f : fields) {
        const auto v = reader.integer();
        if (!v || !valid(f.kind, *v)) return false;
        values.*f.member = *v;
    }
    return true;
}

bool fiveDigits(const std::string& code) {
    return code.size() == 5 && std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool readRows(foundation::RecordReader& reader, int count, std::vector<CustomSizeRow>& rows) {
    for (int i = 0; i < count; ++i) {
        const auto code = reader.text();
        const auto text = code ? reader.text() : std::nullopt;
        if (!text || !fiveDigits(*code)) return false;
        auto shown = platform::fromAnsi(*text);
        if (!shown) return false;
        rows.push_back({*code, std::move(*shown)});
    }
    return true;
}

bool appendRows(std::string& out, const std::vector<CustomSizeRow>& rows) {
    for (const CustomSizeRow& row : rows) {
        const auto code = platform::toAnsi(row.code);
        const auto text = platform::toAnsi(row.text);
        if (!code || !text || !foundation::AppendTextRecord(out, *code) || !foundation::AppendTextRecord(out, *text))
            return false;
    }
    return true;
}

}  // namespace

SettingsFileContents ReadSettingsFile(std::istream& in) {
    SettingsFileContents file;
    foundation::RecordReader reader(in);
    const auto version = reader.text();
    if (!version || version->rfind(SettingsFileVersion, 0) != 0) {
        file.status = SettingsFileStatus::Incompatible;
        return file;
    }
    Values values;
    if (!readFields(reader, values, HeadFields)) return file;
    const auto lengths = reader.integer();
    const auto widths = lengths ? reader.integer() : std::nullopt;
    if (!widths || !readRows(reader, *lengths, values.CustomLengths) ||
        !readRows(reader, *widths, values.CustomWidths) || !readFields(reader, values, TailFields))
        return file;
    file.values = std::move(values);
    file.status = SettingsFileStatus::Loaded;
    return file;
}

std::optional<std::string> WriteSettingsFile(const SettingsFileValues& values) {
    constexpr std::size_t MostRows = std::numeric_limits<std::int16_t>::max();
    if (values.CustomLengths.size() > MostRows || values.CustomWidths.size() > MostRows) return std::nullopt;
    std::string out;
    foundation::AppendTextRecord(out, SettingsFileVersion);
    for (const Field& f : HeadFields) foundation::AppendIntegerRecord(out, values.*f.member);
    foundation::AppendIntegerRecord(out, static_cast<std::int16_t>(values.CustomLengths.size()));
    foundation::AppendIntegerRecord(out, static_cast<std::int16_t>(values.CustomWidths.size()));
    if (!appendRows(out, values.CustomLengths) || !appendRows(out, values.CustomWidths)) return std::nullopt;
    for (const Field& f : TailFields) foundation::AppendIntegerRecord(out, values.*f.member);
    return out;
}

bool FitsLists(const SettingsFileValues& values, const SettingsListSizes& sizes) {
    const auto lengthRows = static_cast<long>(sizes.fixedLengths) + static_cast<long>(values.CustomLengths.size());
    const auto widthRows = static_cast<long>(sizes.fixedWidths) + static_cast<long>(values.CustomWidths.size());
    if (lengthRows > MaxListRows || widthRows > MaxListRows) return false;
    struct Row {
        std::int16_t value;
        long rows;
        bool mayBeNone;
    };
    const Row rows[] = {
        {values.MediaTypeRow, sizes.mediaType, false},
        {values.LabelLengthRow, lengthRows, true},
        {values.LabelWidthRow, widthRows, true},
        {values.OrientationRow, sizes.orientation, true},
        {values.DispenseRow, sizes.dispense, true},
        {values.PrintSpeedRow, sizes.printSpeed, true},
        {values.GapRow, sizes.gap, true},
        {values.EmulationRow, sizes.emulation, true},
    };
    return std::all_of(std::begin(rows), std::end(rows), [](const Row& r) {
        return r.value < r.rows && (r.value >= 0 || (r.mayBeNone && r.value == -1));
    });
}

}  // namespace printercfg
