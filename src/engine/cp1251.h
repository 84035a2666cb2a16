#pragma once

// Windows-1251 text: inside the program every text is a std::string of
// Windows-1251 bytes, one byte per character.

#include <string>
#include <string_view>

namespace tarmel::cp1251 {

char toUpper(char c);
char toLower(char c);
std::string upper(std::string_view text);
std::string lower(std::string_view text);

// Unicode code point of a Windows-1251 byte.
char32_t toUnicode(char c);
// Windows-1251 byte of a code point; '?' for a character the code page lacks.
char fromUnicode(char32_t codePoint);

// Conversions to and from UTF-8, used at the edges: file names, test
// literals, the generator scripts' output.
std::string toUtf8(std::string_view text);
std::string fromUtf8(std::string_view utf8);

} // namespace tarmel::cp1251
