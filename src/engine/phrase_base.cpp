#include "phrase_base.h"

#include <algorithm>

namespace tarmel {

int DepthOf(std::string_view line)
{
    int depth = 0;
    while (static_cast<std::size_t>(depth) < line.size() &&
           line[static_cast<std::size_t>(depth)] == '_')
        ++depth;
    return depth;
}

std::string_view KeyOf(std::string_view line)
{
    const auto start = static_cast<std::size_t>(DepthOf(line));
    if (start >= line.size())
        return {};
    const std::size_t caret = line.find('^', start + 1);
    return line.substr(start,
                       caret == std::string_view::npos ? std::string_view::npos : caret - start);
}

std::string_view FullKeyOf(std::string_view line)
{
    return line.substr(0, line.find('^'));
}

bool HasAnswers(std::string_view line)
{
    const std::size_t caret = line.find('^');
    return caret != std::string_view::npos && caret + 1 < line.size();
}

ChosenAnswer ChooseAnswer(std::string_view line, Random& random)
{
    const auto slots = static_cast<int>(std::count(line.begin(), line.end(), ';'));
    const int a = random.draw(slots) + 1;

    // The answer starts right after its separator: the "^" ending the key for
    // the first slot, the (a-1)-th ";" of the line for the others.
    std::size_t separator = std::string_view::npos;
    if (a == 1) {
        separator = line.find('^', static_cast<std::size_t>(DepthOf(line)) + 1);
        if (separator == std::string_view::npos)
            separator = line.find('^');
    } else {
        int seen = 0;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == ';' && ++seen == a - 1) {
                separator = i;
                break;
            }
        }
    }
    ChosenAnswer chosen;
    if (separator == std::string_view::npos || separator + 1 >= line.size())
        return chosen;

    std::size_t pos = separator + 1;
    // The first character is taken whatever it is.
    chosen.answer += line[pos++];
    while (pos < line.size() && line[pos] != ';' && line[pos] != '|')
        chosen.answer += line[pos++];
    if (pos < line.size() && line[pos] == '|') {
        const std::size_t end = line.find(';', pos + 1);
        chosen.followUp = std::string(line.substr(
            pos + 1, end == std::string_view::npos ? std::string_view::npos : end - pos - 1));
    }
    return chosen;
}

TableCounts CountTable(const Lines& table)
{
    TableCounts counts;
    for (std::size_t i = 1; i < table.size(); ++i) {
        const std::string& line = table[i];
        if (!line.empty() && line[0] == '_')
            ++counts.branches;
        else
            ++counts.mainPhrases;
        counts.answers += static_cast<long>(std::count(line.begin(), line.end(), ';'));
    }
    counts.learned = table.empty() ? 0 : static_cast<long>(table.size()) - 1;
    return counts;
}

} // namespace tarmel
