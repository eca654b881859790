#pragma once
// Key codes of the pages' key handlers are characters of the 8-bit Windows
// code page (Windows-1252); the text of the controls is UTF-8.

#include <string>

namespace ui {

// The character of a key code 0-255; 0 for the five codes without one
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) and for codes out of range.
char32_t ansiToUnicode(int code);
// The key code of a character; -1 when the code page has no place for it.
int unicodeToAnsi(char32_t ch);
// The UTF-8 bytes of one character.
std::string utf8Of(char32_t ch);
// Number of characters in a UTF-8 text.
int utf8Count(const std::string& text);

}  // namespace ui
