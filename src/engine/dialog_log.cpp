#include "dialog_log.h"

#include "cp1251.h"

namespace tarmel::dialog_log {
namespace {

std::string stamped(std::string_view label, const std::string& date, const std::string& time)
{
    // Eleven blanks after the label's colon, three on each side of the bar.
    return cp1251::fromUtf8(label) + "           " + cp1251::fromUtf8("Дата - ") + date +
           "   |   " + cp1251::fromUtf8("Время - ") + time;
}

} // namespace

std::string startLine(const std::string& date, const std::string& time)
{
    return stamped("Начало диалога:", date, time);
}

std::string endLine(const std::string& date, const std::string& time)
{
    return stamped("Конец диалога:", date, time);
}

Lines headerLines(const std::string& date, const std::string& time)
{
    return {std::string(), std::string(80, '-'), startLine(date, time), std::string()};
}

void appendBlock(Lines& file, const Lines& log, const std::string& date, const std::string& time)
{
    file.reserve(file.size() + log.size() + 4);
    file.emplace_back();
    file.insert(file.end(), log.begin(), log.end());
    file.emplace_back();
    file.push_back(endLine(date, time));
    file.push_back(std::string(53, '='));
}

} // namespace tarmel::dialog_log
