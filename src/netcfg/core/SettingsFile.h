#pragma once
// The settings file (".qlz"): ten text records back to back (see
// foundation/TypedRecords.h): the version text, the file password and the
// eight page records, the last nine in hexadecimal coding. Inside the program
// text is UTF-8; in the file every character is one byte of the 8-bit code page.

#include <array>
#include <istream>
#include <optional>
#include <string>

namespace netcfg {

extern const char* const SettingsFileVersion;  // "V1.1"
constexpr int SettingsRecords = 8;
using PageRecords = std::array<std::string, SettingsRecords>;

// Each character as two upper-case hexadecimal digits of its code in the
// 8-bit code page; a character without a code there is left out.
std::string HexEncode(const std::string& text);
// Two characters at a time (a lone last one alone), each pair read as a
// hexadecimal number up to its first character that is not a digit (none:
// 0); the character of that code is appended. Codes without a character are
// left out.
std::string HexDecode(const std::string& coded);

enum class SettingsFileStatus { Loaded, Incompatible, WrongPassword, Damaged };

struct SettingsFileContents {
    SettingsFileStatus status = SettingsFileStatus::Damaged;
    PageRecords records;  // filled only when loaded
};

// Reads the ten records, checking the version text and the password (exactly,
// case included) before any page record; never reads beyond the tenth record.
SettingsFileContents ReadSettingsFile(std::istream& in, const std::string& password);

// The bytes of a settings file; nothing when a record would not fit the format.
std::optional<std::string> WriteSettingsFile(const std::string& password, const PageRecords& records);

}  // namespace netcfg
