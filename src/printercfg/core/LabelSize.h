#pragma once
// Label sizes: the predefined rows of the media page, their codes and row
// texts, and the number texts of the custom size dialog.

#include <optional>
#include <string>
#include <vector>

namespace printercfg {

constexpr double MillimetresPerInch = 25.4;

struct LabelSizeRow {
    float inches;
    float millimetres;
};

// The label length rows (the same for every model) and every label width
// row (the list shows rows 0 to the model's last width row).
const std::vector<LabelSizeRow>& LabelLengthRows();
const std::vector<LabelSizeRow>& LabelWidthRows();

// Thousandths of an inch, rounded, at least five digits: 4.1 gives "04100".
std::string LabelSizeCode(float inches);

// The row text of a size, with "." as decimal point: 4.1" (104.1mm).
std::string LabelSizeText(float inches, float millimetres);

// A value rounded (halves away from zero) to `decimals` places, with "." as
// decimal point; the value is taken as its shortest single-precision text.
std::string RoundedText(float value, int decimals);

// A number as a person types it: blanks around it, an optional sign, the
// locale's decimal separator or "."; nothing when the text is no number.
std::optional<double> ParseNumber(const std::string& text, const std::string& decimalSeparator);

// At most seven significant digits, no trailing zeros, the given separator.
std::string NumberText(float value, const std::string& decimalSeparator);

}  // namespace printercfg
