#include "printercfg/core/ModelTable.h"

namespace printercfg {

namespace {

const ModelLimits Limits[] = {
    // width, last width row, default length row, default width row, custom width max, speed rows 2 / 3
    {4, 4, 5, 4, 4.1f, 10, 10},
    {6, 5, 4, 5, 6.1f, 10, 8},
    {8, 6, 5, 6, 8.1f, 8, 6},
};

struct Rule {
    const char* text;
    int value;
};

// Tested in this order; a later match overrides an earlier one.
const Rule WidthRules[] = {{"Q25", 4}, {"004", 4}, {"006", 6}, {"008", 8}};
const char* const Dpi300Texts[] = {"300", "305"};

bool contains(const std::string& s, const char* text) { return s.find(text) != std::string::npos; }

}  // namespace

const ModelLimits& LimitsFor(int maxMediaWidth) {
    for (const auto& l : Limits)
        if (l.maxMediaWidth == maxMediaWidth) return l;
    return Limits[0];
}

std::optional<float> LabelWidthMaximum(int maxMediaWidth) {
    for (const auto& l : Limits)
        if (l.maxMediaWidth == maxMediaWidth) return l.customWidthMax;
    return std::nullopt;
}

bool IsSupportedDriver(const std::string& driverName) {
    return contains(driverName, "7391-Q25") || contains(driverName, "7391Q25");
}

ModelClass ClassifyDriver(const std::string& driverName, int maxMediaWidth) {
    ModelClass c{maxMediaWidth, 2};
    if (!contains(driverName, "7391")) return c;
    for (const auto& r : WidthRules)
        if (contains(driverName, r.text)) c.maxMediaWidth = r.value;
    for (const char* t : Dpi300Texts)
        if (contains(driverName, t)) c.resolutionClass = 3;
    return c;
}

}  // namespace printercfg
