#include "netcfg/core/DottedAddress.h"

#include <vector>

#include "foundation/WizardModule.h"

namespace netcfg {

namespace {

std::vector<std::string> splitDots(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        std::size_t dot = text.find('.', from);
        parts.push_back(text.substr(from, dot == std::string::npos ? std::string::npos : dot - from));
        if (dot == std::string::npos) return parts;
        from = dot + 1;
    }
}

bool segmentIn(const std::string& part, int lo, int hi) {
    if (part.empty() || part.size() > 3) return false;
    int value = 0;
    for (char c : part) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= lo && value <= hi;
}

// `edge` is the range of the first and last segment, `middle` of the others.
DottedFault check(const std::string& text, int edgeLo, int edgeHi, int middleLo, int middleHi) {
    if (text.empty()) return DottedFault::Empty;
    const auto parts = splitDots(text);
    if (parts.size() != 4) return DottedFault::Format;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool edge = i == 0 || i == 3;
        if (!segmentIn(parts[i], edge ? edgeLo : middleLo, edge ? edgeHi : middleHi)) return DottedFault::Segment;
    }
    return DottedFault::None;
}

}  // namespace

DottedFault CheckHostAddress(const std::string& text) { return check(text, 1, 254, 0, 255); }

DottedFault CheckSubnetMask(const std::string& text) { return check(text, 0, 255, 0, 255); }

std::string HostAddressMessage(DottedFault fault, const std::string& name, const std::string& emptyText) {
    using foundation::JoinLines;
    switch (fault) {
        case DottedFault::Empty:
            return JoinLines({emptyText, "Please enter a valid IP Address"});
        case DottedFault::Format:
            return JoinLines({"Invalid " + name + " format.", "Correct format is ###.###.###.###",
                              "Example: 10.2.123.254", "Please enter a valid IP Address"});
        case DottedFault::Segment:
            return JoinLines({"Invalid " + name + " format. Segment value must be between 1 and 254",
                              "Please enter a valid IP Address"});
        case DottedFault::None:
            break;
    }
    return {};
}

}  // namespace netcfg
