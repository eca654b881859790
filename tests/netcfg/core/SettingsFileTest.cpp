// The settings file's bytes and its hexadecimal coding, without pages.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "netcfg/core/SettingsFile.h"

using netcfg::PageRecords;
using netcfg::SettingsFileStatus;

namespace {

// A text record as the format lays it out.
std::string record(const std::string& bytes) {
    const auto n = bytes.size();
    return std::string{'\x08', '\0', static_cast<char>(n & 0xFF), static_cast<char>(n >> 8)} + bytes;
}

TEST(HexCoding, CharactersAsCodePageCodesAndBack) {
    const std::pair<const char*, const char*> encoded[] = {
        {"", ""}, {"a", "61"}, {"\n|", "0A7C"}, {"Caf\u00e9", "436166E9"}, {"\u20ac", "80"}, {"\u4e2d!", "21"}};
    for (auto [text, coded] : encoded) EXPECT_EQ(netcfg::HexEncode(text), coded) << text;

    const std::pair<std::string, std::string> decoded[] = {{"4", "\x04"},
                                                           {"zz", std::string(1, '\0')},
                                                           {"4z", "\x04"},
                                                           {"z4", std::string(1, '\0')},
                                                           {"e9E9", "\u00e9\u00e9"},
                                                           {"8180", "\u20ac"},
                                                           {"616", "a\x06"}};
    for (const auto& [coded, text] : decoded) EXPECT_EQ(netcfg::HexDecode(coded), text) << coded;

    // Every code of the code page comes back; the five without a character are left out.
    std::string codes, kept;
    for (int code = 1; code < 256; ++code) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", code);
        codes += pair;
        if (code != 0x81 && code != 0x8D && code != 0x8F && code != 0x90 && code != 0x9D) kept += pair;
    }
    EXPECT_EQ(netcfg::HexEncode(netcfg::HexDecode(codes)), kept);
}

TEST(SettingsFileBytes, VersionPasswordAndEightCodedRecords) {
    PageRecords records;
    records[0] = "0|.\r\n";
    records[5] = "1|\u00e9";
    const auto bytes = netcfg::WriteSettingsFile("", records);
    ASSERT_TRUE(bytes);
    std::string expected = std::string("\x08\0\x04\0V1.1", 8) + std::string("\x08\0\0\0", 4) + record("307C2E0D0A");
    for (int slot = 1; slot < 8; ++slot) expected += slot == 5 ? record("317CE9") : record("");
    EXPECT_EQ(*bytes, expected);

    // A record holds 65535 bytes, so a page record 32767 characters.
    records[7] = std::string(32767, 'k');
    EXPECT_TRUE(netcfg::WriteSettingsFile("pw", records));
    records[7] += 'k';
    EXPECT_FALSE(netcfg::WriteSettingsFile("pw", records));
}

TEST(SettingsFileBytes, ReadChecksVersionThenPasswordThenEveryRecord) {
    PageRecords records;
    for (int slot = 0; slot < 8; ++slot) records[slot] = "slot " + std::to_string(slot);
    const std::string file = *netcfg::WriteSettingsFile("Secret", records);
    const std::string rest = file.substr(8);  // after the version record
    struct Case {
        std::string bytes, password;
        SettingsFileStatus status;
    };
    const Case cases[] = {
        {file, "Secret", SettingsFileStatus::Loaded},
        {file + "old bytes of a longer file", "Secret", SettingsFileStatus::Loaded},
        {record("V1.10") + rest, "Secret", SettingsFileStatus::Loaded},
        {file, "secret", SettingsFileStatus::WrongPassword},
        {file, "", SettingsFileStatus::WrongPassword},
        {record("v1.1") + rest, "Secret", SettingsFileStatus::Incompatible},
        {record("1.1") + rest, "Secret", SettingsFileStatus::Incompatible},
        {"", "Secret", SettingsFileStatus::Incompatible},
        {std::string("\x02\0\x04\0V1.1", 8) + rest, "Secret", SettingsFileStatus::Incompatible},
        {file.substr(0, file.size() - 1), "Secret", SettingsFileStatus::Damaged},
        {file.substr(0, 8), "Secret", SettingsFileStatus::Damaged},
        {file.substr(0, 8) + record("") + "\x08", "", SettingsFileStatus::Damaged},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.bytes);
        const auto read = netcfg::ReadSettingsFile(in, c.password);
        EXPECT_EQ(read.status, c.status) << c.bytes.size() << " bytes, password " << c.password;
        if (read.status == SettingsFileStatus::Loaded) {
            EXPECT_EQ(read.records, records);
        }
    }
}

}  // namespace
