#pragma once
// The settings file (".mqz"): typed records back to back (see
// foundation/TypedRecords.h) holding the two settings pages in the order their
// controls are read: the version text, then integer records, with the custom
// label-size rows (a code and a row text each) between the counts and the
// label-size rows. Inside the program text is UTF-8; in the file every
// character is one byte of the 8-bit code page.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace printercfg {

extern const char* const SettingsFileVersion;  // "V1.0"

// A custom row of a label-size list: its five-digit code and its row text.
struct CustomSizeRow {
    std::string code;
    std::string text;
    bool operator==(const CustomSizeRow&) const = default;
};

// What a settings file holds. Ignore boxes are 1 checked, 0 unchecked; rows
// are list rows, -1 for none; shifts are hundredths of an inch.
struct SettingsFileValues {
    std::int16_t MediaTypeCB = 1;
    std::int16_t MediaTypeRow = 0;
    std::int16_t MediaSizeCB = 1;
    std::vector<CustomSizeRow> CustomLengths;
    std::vector<CustomSizeRow> CustomWidths;
    std::int16_t LabelLengthRow = 0;
    std::int16_t LabelWidthRow = 0;
    std::int16_t OrientationCB = 1;
    std::int16_t OrientationRow = 0;
    std::int16_t DispenseCB = 1;
    std::int16_t DispenseRow = 0;
    std::int16_t PrintSpeedCB = 1;
    std::int16_t PrintSpeedRow = 0;
    std::int16_t GapCB = 1;
    std::int16_t GapRow = 0;
    std::int16_t HorzCB = 1;
    std::int16_t HorzShift = 0;
    std::int16_t VertCB = 1;
    std::int16_t VertShift = 0;
    std::int16_t EmulationCB = 1;
    std::int16_t EmulationRow = 0;
    bool operator==(const SettingsFileValues&) const = default;
};

enum class SettingsFileStatus { Loaded, Incompatible, Damaged };

struct SettingsFileContents {
    SettingsFileStatus status = SettingsFileStatus::Damaged;
    SettingsFileValues values;  // filled only when loaded
};

// Reads the records the file needs, and never beyond them. Damaged: a record
// missing or of the wrong type, a text outside the code page, a code that is
// not five digits, an Ignore value other than 0 or 1, a shift outside its
// scroll range. A count below 1 stands for no custom rows.
SettingsFileContents ReadSettingsFile(std::istream& in);

// The bytes of a settings file; nothing when a row text does not fit the
// format (a character outside the code page, too long, too many rows).
std::optional<std::string> WriteSettingsFile(const SettingsFileValues& values);

// The rows of the settings pages' lists as a loaded file meets them: the
// label-size lists before their custom rows.
struct SettingsListSizes {
    int mediaType = 0;
    int fixedLengths = 0;
    int fixedWidths = 0;
    int orientation = 0;
    int dispense = 0;
    int printSpeed = 0;
    int gap = 0;
    int emulation = 0;
};

// The most rows a list holds (its count is a 16-bit number).
constexpr int MaxListRows = 32767;

// Whether the values fit the lists: every list with its custom rows within
// MaxListRows, every row inside its list, or -1 where a list may have none
// (every list but the print mode's, which is chosen from the list only).
bool FitsLists(const SettingsFileValues& values, const SettingsListSizes& sizes);

}  // namespace printercfg
