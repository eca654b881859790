#include "printercfg/core/LabelSize.h"

#include <charconv>
#include <cmath>

namespace printercfg {

const std::vector<LabelSizeRow>& LabelLengthRows() {
    static const std::vector<LabelSizeRow> rows = {{1.0f, 25.4f},  {1.5f, 38.1f},  {2.0f, 50.8f}, {3.0f, 76.2f},
                                                   {4.0f, 101.6f}, {6.0f, 152.4f}, {8.0f, 203.2f}};
    return rows;
}

const std::vector<LabelSizeRow>& LabelWidthRows() {
    static const std::vector<LabelSizeRow> rows = {{1.5f, 38.1f},  {2.0f, 50.8f},  {2.5f, 63.5f}, {3.0f, 76.2f},
                                                   {4.0f, 101.6f}, {6.0f, 152.4f}, {8.0f, 203.2f}};
    return rows;
}

std::string LabelSizeCode(float inches) {
    const float thousandths = inches * 1000.0f;
    const long n = std::lround(thousandths);
    std::string digits = std::to_string(n < 0 ? -n : n);
    if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
    return n < 0 ? "-" + digits : digits;
}

std::string LabelSizeText(float inches, float millimetres) {
    return RoundedText(inches, 1) + "\" (" + RoundedText(millimetres, 1) + "mm)";
}

std::string RoundedText(float value, int decimals) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    std::string s(buf, r.ptr);
    if (!std::isfinite(value)) return s;
    const bool negative = !s.empty() && s[0] == '-';
    if (negative) s.erase(0, 1);
    const auto point = s.find('.');
    std::string whole = s.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string{} : s.substr(point + 1);
    const auto places = static_cast<std::size_t>(decimals);
    fraction.resize(places + 1, '0');
    std::string digits = whole + fraction.substr(0, places);
    if (fraction[places] >= '5') {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0)
            digits.insert(0, 1, '1');
        else
            ++digits[i - 1];
    }
    std::string out = digits.substr(0, digits.size() - places);
    if (places > 0) out += "." + digits.substr(digits.size() - places);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    return negative && !zero ? "-" + out : out;
}

std::optional<double> ParseNumber(const std::string& text, const std::string& decimalSeparator) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    std::string s = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (!decimalSeparator.empty() && decimalSeparator != ".")
        for (auto at = s.find(decimalSeparator); at != std::string::npos; at = s.find(decimalSeparator, at + 1))
            s.replace(at, decimalSeparator.size(), ".");
    if (s.size() > 1 && s[0] == '+' && s[1] != '-') s.erase(0, 1);
    double value = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    if (r.ec != std::errc{} || r.ptr != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string NumberText(float value, const std::string& decimalSeparator) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 7);
    std::string s(buf, r.ptr);
    if (const auto point = s.find('.'); point != std::string::npos) s.replace(point, 1, decimalSeparator);
    return s;
}

}  // namespace printercfg
