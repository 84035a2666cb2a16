#include "input_logic.h"

#include "cp1251.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tarmel::input {
namespace {

// The Latin keys and what the Russian layout gives on them, in Windows-1251.
constexpr std::pair<char, unsigned char> kLayoutPairs[] = {
    // Letter keys, lower case: q w e r t y u i o p a s d f g h j k l z x c v b n m
    {'q', 0xE9},
    {'w', 0xF6},
    {'e', 0xF3},
    {'r', 0xEA},
    {'t', 0xE5},
    {'y', 0xED},
    {'u', 0xE3},
    {'i', 0xF8},
    {'o', 0xF9},
    {'p', 0xE7},
    {'a', 0xF4},
    {'s', 0xFB},
    {'d', 0xE2},
    {'f', 0xE0},
    {'g', 0xEF},
    {'h', 0xF0},
    {'j', 0xEE},
    {'k', 0xEB},
    {'l', 0xE4},
    {'z', 0xFF},
    {'x', 0xF7},
    {'c', 0xF1},
    {'v', 0xEC},
    {'b', 0xE8},
    {'n', 0xF2},
    {'m', 0xFC},
    // Letter keys, upper case.
    {'Q', 0xC9},
    {'W', 0xD6},
    {'E', 0xD3},
    {'R', 0xCA},
    {'T', 0xC5},
    {'Y', 0xCD},
    {'U', 0xC3},
    {'I', 0xD8},
    {'O', 0xD9},
    {'P', 0xC7},
    {'A', 0xD4},
    {'S', 0xDB},
    {'D', 0xC2},
    {'F', 0xC0},
    {'G', 0xCF},
    {'H', 0xD0},
    {'J', 0xCE},
    {'K', 0xCB},
    {'L', 0xC4},
    {'Z', 0xDF},
    {'X', 0xD7},
    {'C', 0xD1},
    {'V', 0xCC},
    {'B', 0xC8},
    {'N', 0xD2},
    {'M', 0xDC},
    // The other keys, unshifted and shifted.
    {'`', 0xB8}, // ё
    {'~', 0xA8}, // Ё
    {'[', 0xF5}, // х
    {'{', 0xD5}, // Х
    {']', 0xFA}, // ъ
    {'}', 0xDA}, // Ъ
    {';', 0xE6}, // ж
    {':', 0xC6}, // Ж
    {'"', 0xDD}, // Э
    {'<', 0xE1}, // б, lower case on this key
    {'>', 0xFE}, // ю, lower case on this key
    {'/', '.'},
    {'@', '"'},
    {'#', 0xB9}, // №
    {'$', ';'},
    {'^', ':'},
    {'&', '?'},
    {'|', '/'},
};

const std::array<char, 256>& layoutTable()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[static_cast<std::size_t>(i)] = static_cast<char>(i);
        for (const auto& [from, to] : kLayoutPairs)
            t[static_cast<unsigned char>(from)] = static_cast<char>(to);
        return t;
    }();
    return table;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return cp1251::toUpper(x) == cp1251::toUpper(y); });
}

} // namespace

char layoutFixed(char c)
{
    return layoutTable()[static_cast<unsigned char>(c)];
}

std::string layoutKeys()
{
    std::string keys;
    for (const auto& pair : kLayoutPairs)
        keys += pair.first;
    return keys;
}

std::string fixLayout(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = layoutFixed(c);
    return result;
}

bool isWordSeparator(char c)
{
    return c == ' ' || c == ',' || c == '.' || c == '!' || c == '?';
}

CompletionResult searchCompletion(std::string_view line, const std::vector<std::string>& entries,
                                  int index)
{
    CompletionResult result;
    if (line.empty() || isWordSeparator(line.back()))
        return result;
    std::size_t start = line.size();
    while (start > 0 && !isWordSeparator(line[start - 1]))
        --start;
    const std::string_view word = line.substr(start);

    const auto count = static_cast<long long>(entries.size());
    for (long long i = std::max(index, -1) + 1LL; i < count; ++i) {
        const std::string& entry = entries[static_cast<std::size_t>(i)];
        if (entry.size() >= word.size() &&
            sameIgnoringCase(std::string_view(entry).substr(0, word.size()), word)) {
            result.found = true;
            result.index = static_cast<int>(i);
            result.entry = entry;
            result.tail = entry.substr(word.size());
            return result;
        }
    }
    return result;
}

int completionIndexAfterKey(int index, HookKey key, std::size_t count)
{
    long long next = index;
    if (key == HookKey::Up)
        next -= 2;
    else if (key == HookKey::Down)
        next += 1;
    if (next >= static_cast<long long>(count))
        next = static_cast<long long>(count) - 1;
    if (next <= -1)
        next = 0;
    return static_cast<int>(next);
}

bool isReservedChar(char c)
{
    return c == '^' || c == '_' || c == ';' || c == '@' || c == '|';
}

GuardStep guardScan(std::string_view text, int scanPos)
{
    if (text.empty())
        return {scanPos, false};
    long long k = static_cast<long long>(scanPos) + 1;
    const auto length = static_cast<long long>(text.size());
    if (k > length || k < 1)
        k = 1;
    if (isReservedChar(text[static_cast<std::size_t>(k - 1)]))
        return {static_cast<int>(k), true};
    return {k == length ? 0 : static_cast<int>(k), false};
}

} // namespace tarmel::input
