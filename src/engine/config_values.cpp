#include "config_values.h"

#include "cp1251.h"
#include "errors.h"

#include <array>
#include <string>

namespace tarmel::config {
namespace {

int digitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (hex && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

constexpr int kShakeRow = 3;

} // namespace

std::optional<std::int32_t> parseInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const bool hex = i < text.size() && text[i] == '$';
    if (hex)
        ++i;
    if (i == text.size())
        return std::nullopt;

    // Decimal: up to 2^31, the magnitude of the smallest negative number.
    // Hexadecimal: any 32-bit pattern.
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : 0x80000000ull;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i], hex);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit)
            return std::nullopt;
    }
    if (!hex && !negative && magnitude == limit)
        return std::nullopt;
    auto bits = static_cast<std::uint32_t>(magnitude);
    if (negative)
        bits = ~bits + 1u;
    return static_cast<std::int32_t>(bits);
}

Colour colourOf(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    Colour colour;
    if (value < 0) {
        colour.system = true;
        colour.systemIndex = static_cast<int>(bits & 0xFFu);
        return colour;
    }
    colour.red = static_cast<std::uint8_t>(bits & 0xFFu);
    colour.green = static_cast<std::uint8_t>((bits >> 8) & 0xFFu);
    colour.blue = static_cast<std::uint8_t>((bits >> 16) & 0xFFu);
    return colour;
}

std::optional<FontStyle> styleOf(std::string_view text)
{
    struct Named {
        std::string_view upper;
        FontStyle style;
    };
    static constexpr std::array<Named, 4> kStyles = {{
        {"[]", {false, false}},
        {"[FSITALIC]", {false, true}},
        {"[FSBOLD]", {true, false}},
        {"[FSBOLD,FSITALIC]", {true, true}},
    }};
    const std::string upper = cp1251::upper(text);
    for (const Named& named : kStyles) {
        if (upper == named.upper)
            return named.style;
    }
    return std::nullopt;
}

std::int32_t integerRow(const ConfigFile& file, int row)
{
    const std::string value = file.value(row);
    if (const std::optional<std::int32_t> number = parseInteger(value))
        return *number;
    throw Error("В файле «Config.ini» строка " + std::to_string(row) + ": «" +
                cp1251::toUtf8(value) + "» — не целое число");
}

Colour colourRow(const ConfigFile& file, int row)
{
    return colourOf(integerRow(file, row));
}

std::optional<FontStyle> styleRow(const ConfigFile& file, int row)
{
    return styleOf(file.value(row));
}

bool shakeSwitchedOff(const ConfigFile& file)
{
    return cp1251::upper(file.value(kShakeRow)) == "NO";
}

} // namespace tarmel::config
