#pragma once
// Texts of lines ended by CR LF, as the programs write them.

#include <string>
#include <vector>

namespace testsupport {

// The lines of a text split at CR LF; a text ending with CR LF gives an empty
// last line.
inline std::vector<std::string> splitCrLf(const std::string& text) {
    std::vector<std::string> out;
    std::string::size_type start = 0, at;
    while ((at = text.find("\r\n", start)) != std::string::npos) {
        out.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    out.push_back(text.substr(start));
    return out;
}

}  // namespace testsupport
