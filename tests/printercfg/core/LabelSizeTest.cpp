// Label-size codes and row texts, and the numbers of the custom size dialog.

#include <gtest/gtest.h>

#include "printercfg/core/LabelSize.h"

using namespace printercfg;

namespace {

TEST(LabelSize, CodesAreRoundedThousandthsOfFiveDigits) {
    const std::pair<float, const char*> cases[] = {
        {4.0f, "04000"},   {0.25f, "00250"},       {4.1f, "04100"},     {2.54f, "02540"},
        {99.005f, "99005"}, {50.0f / 25.4f, "01969"}, {99.01f, "99010"}, {0.0005f, "00001"},
    };
    for (const auto& [inches, code] : cases) EXPECT_EQ(LabelSizeCode(inches), code) << inches;
}

TEST(LabelSize, RowTextsHaveOneDecimalRoundedHalfAwayFromZero) {
    struct Case {
        float inches, mm;
        const char* text;
    };
    const Case cases[] = {
        {1.0f, 25.4f, "1.0\" (25.4mm)"},          {4.1f, 104.14f, "4.1\" (104.1mm)"},
        {1.968504f, 50.0f, "2.0\" (50.0mm)"},      {99.005f, 2514.727f, "99.0\" (2514.7mm)"},
        {0.25f, 6.35f, "0.3\" (6.4mm)"},           {9.96f, 252.984f, "10.0\" (253.0mm)"},
    };
    for (const auto& c : cases) EXPECT_EQ(LabelSizeText(c.inches, c.mm), c.text) << c.text;
    EXPECT_EQ(RoundedText(-0.04f, 1), "0.0");
    EXPECT_EQ(RoundedText(-0.05f, 1), "-0.1");
}

TEST(LabelSize, TypedNumbersTakeTheLocaleSeparatorOrAPoint) {
    struct Case {
        const char* text;
        const char* separator;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"4.1", ".", 4.1},    {" 4.1 ", ".", 4.1}, {"4,1", ",", 4.1},     {"4.1", ",", 4.1},
        {"+2", ".", 2.0},     {"-3", ".", -3.0},   {".5", ".", 0.5},      {"1e2", ".", 100.0},
        {"4,1", ".", {}},     {"1.234,5", ",", {}}, {"abc", ".", {}},     {"+", ".", {}},
        {"-", ".", {}},       {"4.1in", ".", {}},  {"inf", ".", {}},      {"nan", ".", {}},
        {"", ".", {}},        {"  ", ".", {}},     {"+-1", ".", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseNumber(c.text, c.separator), c.value) << c.text << c.separator;
}

TEST(LabelSize, ShownNumbersHaveSevenDigitsAtMost) {
    const std::tuple<float, const char*, const char*> cases[] = {
        {4.1f, ".", "4.1"},       {104.14f, ".", "104.14"}, {50.0f / 25.4f, ".", "1.968504"},
        {0.0f, ".", "0"},         {4.1f, ",", "4,1"},       {2514.6f, ".", "2514.6"},
    };
    for (const auto& [value, separator, text] : cases) EXPECT_EQ(NumberText(value, separator), text) << text;
}

}  // namespace
