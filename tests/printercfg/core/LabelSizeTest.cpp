// Label-size codes and row texts, and the numbers of the custom size dialog.

#include <gtest/gtest.h>

#include "printercfg/core/LabelSize.h"

using namespace printercfg;

namespace {

TEST(LabelSize, CodesAndRowTextsOfSizes) {
    // Inches, millimetres, code, row text (one decimal, halves away from zero).
    const std::tuple<float, float, const char*, const char*> cases[] = {
        {4.0f, 101.6f, "04000", "4.0\" (101.6mm)"},        {4.1f, 104.14f, "04100", "4.1\" (104.1mm)"},
        {0.25f, 6.35f, "00250", "0.3\" (6.4mm)"},          {2.54f, 64.516f, "02540", "2.5\" (64.5mm)"},
        {50.0f / 25.4f, 50.0f, "01969", "2.0\" (50.0mm)"}, {99.005f, 2514.727f, "99005", "99.0\" (2514.7mm)"},
        {9.96f, 252.984f, "09960", "10.0\" (253.0mm)"},    {99.01f, 2514.854f, "99010", "99.0\" (2514.9mm)"},
    };
    for (const auto& [inches, mm, code, text] : cases) {
        EXPECT_EQ(LabelSizeCode(inches), code) << text;
        EXPECT_EQ(LabelSizeText(inches, mm), text);
    }
}

TEST(LabelSize, TypedAndShownNumbersUseTheLocaleSeparator) {
    const std::tuple<const char*, const char*, std::optional<double>> typed[] = {
        {" 4.1 ", ".", 4.1}, {"4,1", ",", 4.1},    {"4.1", ",", 4.1},    {"+2", ".", 2.0},  {"-3", ".", -3.0},
        {".5", ".", 0.5},    {"4,1", ".", {}},     {"1.234,5", ",", {}}, {"abc", ".", {}},  {"+", ".", {}},
        {"4.1in", ".", {}},  {"inf", ".", {}},     {"nan", ".", {}},     {"  ", ".", {}},   {"+-1", ".", {}},
    };
    for (const auto& [text, separator, value] : typed) EXPECT_EQ(ParseNumber(text, separator), value) << text;
    const std::tuple<float, const char*, const char*> shown[] = {
        {4.1f, ".", "4.1"}, {104.14f, ",", "104,14"}, {50.0f / 25.4f, ".", "1.968504"}, {0.0f, ".", "0"}};
    for (const auto& [value, separator, text] : shown) EXPECT_EQ(NumberText(value, separator), text);
}

}  // namespace
