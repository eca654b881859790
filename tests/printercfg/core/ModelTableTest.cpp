// Supported drivers, the model classes a driver name gives, the limits of
// each class and the label width check of the media page.

#include <gtest/gtest.h>

#include "printercfg/core/ModelTable.h"
#include "printercfg/pages/Operation.h"
#include "support/MarrowbyWorld.h"

using printercfg::ClassifyDriver;
using printercfg::IsSupportedDriver;
using printercfg::LimitsFor;

namespace {

TEST(Model, SupportedDriversCarryTheModelTextAsWritten) {
    const std::pair<const char*, bool> cases[] = {
        {"Tessivarn 7391-Q25 006", true}, {"7391Q25", true},
        {"Tessivarn 7391-q25", false},    {"Tessivarn 7391 Q25", false},
        {"Local Raw Printer", false},     {"", false},
    };
    for (const auto& [driver, supported] : cases) EXPECT_EQ(IsSupportedDriver(driver), supported) << driver;
}

TEST(Model, ClassesFromTheDriverNameLaterRulesWinning) {
    struct Case {
        const char* driver;
        int widthBefore, width, resolution;
    };
    const Case cases[] = {
        {"Tessivarn 7391-Q25", 0, 4, 2},
        {"Tessivarn 7391-Q25 006", 0, 6, 2},
        {"Tessivarn 7391-Q25 008", 4, 8, 2},
        {"Tessivarn 7391 004", 8, 4, 2},
        {"Tessivarn 7391-Q25 006 300dpi", 0, 6, 3},
        {"Tessivarn 7391-Q25 305", 0, 4, 3},
        {"Tessivarn 7391 x", 6, 6, 2},        // no width rule: kept
        {"Other 006 300", 6, 6, 2},           // not of the family: width kept, class 2
        {"Tessivarn 7391-q25 008", 0, 8, 2},  // the width rules alone need no exact model text
    };
    for (const auto& c : cases) {
        const auto got = ClassifyDriver(c.driver, c.widthBefore);
        EXPECT_EQ(got.maxMediaWidth, c.width) << c.driver;
        EXPECT_EQ(got.resolutionClass, c.resolution) << c.driver;
    }
    testsupport::MarrowbyWorld w;
    w.m.MaxMediaWidth = 8;
    w.m.ClassifyPrinterModel("Tessivarn 7391-Q25 006 300");
    EXPECT_EQ(w.m.MaxMediaWidth, 6);
    EXPECT_EQ(w.m.ResolutionClass, 3);
}

TEST(Model, LimitsOfEachHeadWidth) {
    struct Case {
        int width, lastWidthRow, lengthRow, widthRow;
        float customMax;
        int speed2, speed3;
    };
    const Case cases[] = {
        {4, 4, 5, 4, 4.1f, 10, 10}, {6, 5, 4, 5, 6.1f, 10, 8},  {8, 6, 5, 6, 8.1f, 8, 6},
        {0, 4, 5, 4, 4.1f, 10, 10}, {5, 4, 5, 4, 4.1f, 10, 10},
    };
    for (const auto& c : cases) {
        const auto& l = LimitsFor(c.width);
        EXPECT_EQ(l.lastWidthRow, c.lastWidthRow) << c.width;
        EXPECT_EQ(l.defaultLengthRow, c.lengthRow) << c.width;
        EXPECT_EQ(l.defaultWidthRow, c.widthRow) << c.width;
        EXPECT_EQ(l.customWidthMax, c.customMax) << c.width;
        EXPECT_EQ(l.speedRows(2), c.speed2) << c.width;
        EXPECT_EQ(l.speedRows(3), c.speed3) << c.width;
    }
    EXPECT_EQ(printercfg::LabelWidthMaximum(0), std::nullopt);
    EXPECT_EQ(printercfg::LabelWidthMaximum(8), 8.1f);
}

TEST(Model, LabelWidthCheckAgainstTheHeadWidth) {
    struct Case {
        int maxWidth;
        const char* code;
        bool passes;
    };
    const Case cases[] = {
        {4, "04000", true}, {4, "04100", true},  {4, "04200", false}, {6, "06100", true}, {6, "06101", false},
        {8, "08100", true}, {8, "08200", false}, {0, "99999", true},  {4, "", true},
    };
    for (const auto& c : cases) {
        testsupport::MarrowbyWorld w;
        auto& op = w.m.OperationForm();  // five width rows: no model classified yet
        op.LabelWidthCombo.addItem("custom");
        w.m.LabelWidthCodes = {"01500", "02000", "02500", "03000", "04000", c.code};
        w.m.MaxMediaWidth = c.maxWidth;
        op.LabelWidthCombo.setListIndex(5);
        op.LabelLengthCombo.setListIndex(0);
        EXPECT_EQ(w.m.CheckLabelSize(), c.passes) << c.maxWidth << " " << c.code;
        EXPECT_EQ(op.LabelWidthCombo.listIndex(), 5);
    }
}

TEST(Model, ATypedLabelSizeResetsBothListsAndFails) {
    for (const char* typed : {"width", "length"}) {
        testsupport::MarrowbyWorld w;
        auto& op = w.m.OperationForm();
        op.LabelWidthCombo.setListIndex(1);
        op.LabelLengthCombo.setListIndex(1);
        (std::string(typed) == "width" ? op.LabelWidthCombo : op.LabelLengthCombo).setText("3.3 in");
        EXPECT_FALSE(w.m.CheckLabelSize()) << typed;
        EXPECT_EQ(op.LabelWidthCombo.listIndex(), 4) << typed;
        EXPECT_EQ(op.LabelLengthCombo.listIndex(), 5) << typed;
    }
}

TEST(Model, CurrentPrinterIsSupportedByItsDriver) {
    testsupport::MarrowbyWorld w;
    w.spooler.addQueue("A", "Tessivarn 7391-Q25 006");
    w.spooler.addQueue("B", "Generic / Text Only");
    w.spooler.addQueue("C", "Tessivarn 7391-Q25").openError = 1801;
    const std::pair<const char*, bool> cases[] = {{"A", true}, {"B", false}, {"C", false}, {"Missing", false}};
    for (const auto& [queue, supported] : cases) {
        w.spooler.setCurrentPrinter(queue);
        EXPECT_EQ(w.m.IsSupportedPrinter(), supported) << queue;
    }
}

}  // namespace
