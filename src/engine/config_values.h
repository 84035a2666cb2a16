#pragma once

// The values of Config.ini rows: whole numbers, colours, font styles and the
// shake switch. A value that is not of its form is an Error naming the row
// and the value.

#include "config_file.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarmel::config {

// A whole number as the settings write it: optional leading blanks, an
// optional sign, then decimal digits, or "$" and hexadecimal digits; nothing
// may follow. Decimal numbers must fit 32 bits with their sign; hexadecimal
// ones may use all 32 bits ("$FFFFFFFF" is -1). nullopt when the text is not
// such a number.
std::optional<std::int32_t> parseInteger(std::string_view text);

// A colour of the settings. Zero or more is 0x00BBGGRR, red in the lowest
// byte; a negative value names a colour of the desktop by its lowest byte
// (5 the window background, 15 the button face, ...).
struct Colour {
    bool system = false;  // a desktop colour, named by systemIndex
    int systemIndex = 0;  // 0 ... 255
    std::uint8_t red = 0; // red, green and blue when not a desktop colour
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Colour&) const = default;
};
Colour colourOf(std::int32_t value);

// The four font styles, compared in upper case: "[]", "[fsItalic]",
// "[fsBold]", "[fsBold,fsItalic]". nullopt for any other text.
struct FontStyle {
    bool bold = false;
    bool italic = false;

    bool operator==(const FontStyle&) const = default;
};
std::optional<FontStyle> styleOf(std::string_view text);

// Row readers.
std::int32_t integerRow(const ConfigFile& file, int row);
Colour colourRow(const ConfigFile& file, int row);
// The style of the row, nullopt when it names none of the four.
std::optional<FontStyle> styleRow(const ConfigFile& file, int row);
// Row 3: the start-up shake is off when it reads "NO" in any letter case.
bool shakeSwitchedOff(const ConfigFile& file);

} // namespace tarmel::config
