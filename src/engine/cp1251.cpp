#include "cp1251.h"

#include <array>
#include <unordered_map>

namespace tarmel::cp1251 {
namespace {

// Code points of the bytes 0x80 ... 0xBF; 0xC0 ... 0xFF are U+0410 ... U+044F.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

struct CaseTables {
    std::array<unsigned char, 256> up{};
    std::array<unsigned char, 256> down{};
    CaseTables()
    {
        for (int i = 0; i < 256; ++i) {
            up[i] = static_cast<unsigned char>(i);
            down[i] = static_cast<unsigned char>(i);
        }
        auto pair = [this](int lowerByte, int upperByte) {
            up[lowerByte] = static_cast<unsigned char>(upperByte);
            down[upperByte] = static_cast<unsigned char>(lowerByte);
        };
        for (int c = 'a'; c <= 'z'; ++c)
            pair(c, c - 32);
        for (int c = 0xE0; c <= 0xFF; ++c)
            pair(c, c - 32);
        // Ё and the other Cyrillic letters of the code page.
        pair(0xB8, 0xA8); // ё Ё
        pair(0x90, 0x80); // ђ Ђ
        pair(0x83, 0x81); // ѓ Ѓ
        pair(0x9A, 0x8A); // љ Љ
        pair(0x9C, 0x8C); // њ Њ
        pair(0x9D, 0x8D); // ќ Ќ
        pair(0x9E, 0x8E); // ћ Ћ
        pair(0x9F, 0x8F); // џ Џ
        pair(0xA2, 0xA1); // ў Ў
        pair(0xBC, 0xA3); // ј Ј
        pair(0xB4, 0xA5); // ґ Ґ
        pair(0xBA, 0xAA); // є Є
        pair(0xBF, 0xAF); // ї Ї
        pair(0xB3, 0xB2); // і І
        pair(0xBE, 0xBD); // ѕ Ѕ
    }
};

const CaseTables& caseTables()
{
    static const CaseTables tables;
    return tables;
}

const std::unordered_map<char32_t, char>& reverseTable()
{
    static const std::unordered_map<char32_t, char> table = [] {
        std::unordered_map<char32_t, char> t;
        for (int i = 0; i < 64; ++i)
            t.emplace(kHighHalf[i], static_cast<char>(0x80 + i));
        return t;
    }();
    return table;
}

} // namespace

char toUpper(char c)
{
    return static_cast<char>(caseTables().up[static_cast<unsigned char>(c)]);
}

char toLower(char c)
{
    return static_cast<char>(caseTables().down[static_cast<unsigned char>(c)]);
}

std::string upper(std::string_view text)
{
    const auto& up = caseTables().up;
    std::string result(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        result[i] = static_cast<char>(up[static_cast<unsigned char>(text[i])]);
    return result;
}

std::string lower(std::string_view text)
{
    const auto& down = caseTables().down;
    std::string result(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        result[i] = static_cast<char>(down[static_cast<unsigned char>(text[i])]);
    return result;
}

char32_t toUnicode(char c)
{
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return 0x0410 + (b - 0xC0);
    return kHighHalf[b - 0x80];
}

char fromUnicode(char32_t codePoint)
{
    if (codePoint < 0x80)
        return static_cast<char>(codePoint);
    if (codePoint >= 0x0410 && codePoint <= 0x044F)
        return static_cast<char>(0xC0 + (codePoint - 0x0410));
    const auto& table = reverseTable();
    const auto it = table.find(codePoint);
    return it == table.end() ? '?' : it->second;
}

std::string toUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        const char32_t cp = toUnicode(c);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string fromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            extra = 3;
        } else {
            out += '?'; // a stray continuation byte
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(extra) >= utf8.size()) {
            out += '?'; // truncated sequence at the end
            break;
        }
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        out += fromUnicode(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

} // namespace tarmel::cp1251
