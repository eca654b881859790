#pragma once
// What depends on the printer model: the classes read from the driver name
// and the one table of limits that the settings pages apply.

#include <optional>
#include <string>

namespace printercfg {

// The limits of one head-width class.
struct ModelLimits {
    int maxMediaWidth;     // 4, 6 or 8 inches
    int lastWidthRow;      // label width rows 0 to this (1.5 to 4.0 in, then 6.0, then 8.0)
    int defaultLengthRow;  // of the label length rows 1.0 to 8.0 in
    int defaultWidthRow;
    float customWidthMax;  // inches
    int speedRowsNormal;   // print speed rows (1 to n in/sec), resolution class 2
    int speedRows300Dpi;   // resolution class 3

    int speedRows(int resolutionClass) const { return resolutionClass == 3 ? speedRows300Dpi : speedRowsNormal; }
};

// The row of a MaxMediaWidth; 0 and any value other than 6 or 8 read as 4.
const ModelLimits& LimitsFor(int maxMediaWidth);

// The widest label CheckLabelSize accepts: none for a MaxMediaWidth other than 4, 6 or 8.
std::optional<float> LabelWidthMaximum(int maxMediaWidth);

// A driver name of a supported model.
bool IsSupportedDriver(const std::string& driverName);

// The classes a driver name gives. `maxMediaWidth` keeps its value when the
// name is not one of the family's.
struct ModelClass {
    int maxMediaWidth;
    int resolutionClass;
};
ModelClass ClassifyDriver(const std::string& driverName, int maxMediaWidth);

}  // namespace printercfg
