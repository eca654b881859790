// Label-size codes and row texts, and the numbers of the custom size dialog.

#include <gtest/gtest.h>

#include "printercfg/core/LabelSize.h"

using namespace printercfg;

namespace {

TEST(LabelSize, CodesAndRowTextsRoundHalvesAwayFromZero) {
    const std::tuple<float, float, const char*, const char*> cases[] = {
        {0.25f, 6.35f, "00250", "0.3\" (6.4mm)"},
        {2.54f, 64.516f, "02540", "2.5\" (64.5mm)"},
        {9.96f, 252.984f, "09960", "10.0\" (253.0mm)"},
        {0.0005f, 0.0127f, "00001", "0.0\" (0.0mm)"},
    };
    for (const auto& [inches, mm, code, text] : cases) {
        EXPECT_EQ(LabelSizeCode(inches), code) << text;
        EXPECT_EQ(LabelSizeText(inches, mm), text);
    }
}

TEST(LabelSize, TypedNumbersAreWholeFiniteNumbers) {
    const std::tuple<const char*, const char*, std::optional<double>> cases[] = {
        {" 4.1 ", ".", 4.1}, {"4.1", ",", 4.1},  {"+2", ".", 2.0}, {".5", ".", 0.5}, {"1.234,5", ",", {}},
        {"+", ".", {}},      {"4.1in", ".", {}}, {"inf", ".", {}}, {"nan", ".", {}}, {"+-1", ".", {}},
    };
    for (const auto& [text, separator, value] : cases) EXPECT_EQ(ParseNumber(text, separator), value) << text;
    EXPECT_EQ(NumberText(50.0f / 25.4f, "."), "1.968504");
}

}  // namespace
