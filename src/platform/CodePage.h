#pragma once
// The 8-bit code page (Windows-1252) in which text leaves and enters the
// programs: jobs, settings files, hexadecimal coding. Inside, text is UTF-8.
// Nothing is replaced silently: a character the code page cannot hold makes
// the conversion fail.

#include <optional>
#include <string>

namespace platform {

// UTF-8 to Windows-1252 bytes; nothing when a character has no place there.
std::optional<std::string> toAnsi(const std::string& utf8);

// Windows-1252 bytes to UTF-8; nothing when a byte has no character
// (0x81, 0x8D, 0x8F, 0x90, 0x9D).
std::optional<std::string> fromAnsi(const std::string& bytes);

// Whether every character of the UTF-8 text has a place in the code page.
bool isAnsi(const std::string& utf8);

}  // namespace platform
