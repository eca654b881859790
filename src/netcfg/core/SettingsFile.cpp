#include "netcfg/core/SettingsFile.h"

#include "foundation/TypedRecords.h"
#include "ui/Ansi.h"

namespace netcfg {

const char* const SettingsFileVersion = "V1.1";

namespace {

// The next character of a UTF-8 text; a byte that starts no character is
// taken as a character of its own that has no code, and skipped by the caller.
char32_t nextChar(const std::string& text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at++);
    int more = 0;
    char32_t ch = lead;
    if (lead >= 0xF8) {
        return 0xFFFF;
    } else if (lead >= 0xF0) {
        more = 3;
        ch = lead & 0x07u;
    } else if (lead >= 0xE0) {
        more = 2;
        ch = lead & 0x0Fu;
    } else if (lead >= 0xC0) {
        more = 1;
        ch = lead & 0x1Fu;
    } else if (lead >= 0x80) {
        return 0xFFFF;
    }
    for (; more > 0; --more) {
        if (at >= text.size() || (byte(at) & 0xC0) != 0x80) return 0xFFFF;
        ch = (ch << 6) | (byte(at++) & 0x3Fu);
    }
    return ch;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string HexEncode(const std::string& text) {
    static const char Digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t at = 0; at < text.size();) {
        const int code = ui::unicodeToAnsi(nextChar(text, at));
        if (code < 0) continue;
        out += Digits[code >> 4];
        out += Digits[code & 15];
    }
    return out;
}

std::string HexDecode(const std::string& coded) {
    std::string out;
    for (std::size_t at = 0; at < coded.size(); at += 2) {
        int code = 0;
        for (std::size_t i = at; i < at + 2 && i < coded.size(); ++i) {
            const int d = hexDigit(coded[i]);
            if (d < 0) break;
            code = code * 16 + d;
        }
        const char32_t ch = ui::ansiToUnicode(code);
        if (ch == 0 && code != 0) continue;  // no character in the code page
        out += ui::utf8Of(ch);
    }
    return out;
}

SettingsFileContents ReadSettingsFile(std::istream& in, const std::string& password) {
    SettingsFileContents file;
    foundation::RecordReader reader(in);
    const auto version = reader.text();
    if (!version || version->rfind(SettingsFileVersion, 0) != 0) {
        file.status = SettingsFileStatus::Incompatible;
        return file;
    }
    const auto coded = reader.text();
    if (!coded) return file;
    if (HexDecode(*coded) != password) {
        file.status = SettingsFileStatus::WrongPassword;
        return file;
    }
    PageRecords records;
    for (auto& record : records) {
        const auto text = reader.text();
        if (!text) return file;
        record = HexDecode(*text);
    }
    file.records = std::move(records);
    file.status = SettingsFileStatus::Loaded;
    return file;
}

std::optional<std::string> WriteSettingsFile(const std::string& password, const PageRecords& records) {
    std::string bytes;
    bool fits = foundation::AppendTextRecord(bytes, SettingsFileVersion) &&
                foundation::AppendTextRecord(bytes, HexEncode(password));
    for (const auto& record : records) fits = fits && foundation::AppendTextRecord(bytes, HexEncode(record));
    if (!fits) return std::nullopt;
    return bytes;
}

}  // namespace netcfg
