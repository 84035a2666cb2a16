#include "test_support.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>

namespace tarmel::test {

Lines wLines(const std::vector<std::string>& utf8)
{
    Lines lines;
    for (const auto& line : utf8)
        lines.push_back(w(line));
    return lines;
}

int ScriptedRandom::draw(int n)
{
    ranges.push_back(n);
    if (n <= 0)
        return 0;
    if (script_.empty())
        return 0;
    const int value = script_.front();
    script_.pop_front();
    if (value < 0 || value >= n)
        throw std::logic_error("scripted draw " + std::to_string(value) + " is out of range " +
                               std::to_string(n));
    return value;
}

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarmel-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void TempFolder::write(const std::string& name, std::string_view bytes) const
{
    const auto file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempFolder::writeLines(const std::string& name, const std::vector<std::string>& utf8) const
{
    std::string text;
    for (const auto& line : utf8)
        text += w(line) + "\r\n";
    write(name, text);
}

std::vector<std::string> TempFolder::readLines(const std::string& name) const
{
    std::vector<std::string> result;
    for (const auto& line : parseLines(readFileBytes(path_ / name, name)))
        result.push_back(cp1251::toUtf8(line));
    return result;
}

BaseFolder::BaseFolder()
{
    writeLines("Base/Words.Dat",
               {"ЗАГОЛОВОК^Таблица;", "ПРИВЕТ^Привет!;Здравствуй!|Как дела?;",
                "_ХОРОШО^Рад за тебя.;", "КАК ДЕЛА^Нормально.;", "ДО СВИДАНИЯ^До встречи!;@"});
    writeLines("Base/W1.Dat", {"Не знаю.", "Сложный вопрос."});
    writeLines("Base/W2.Dat", {"Понятно.", "Расскажи ещё."});
    writeLines("Base/X.Dat", {"Не ругайся."});
    writeLines("Base/Povtor.Dat", {"Ты повторяешься."});
    writeLines("Base/BigString.Dat", {"Слишком длинно."});
    writeLines("Base/CPUpvt.dat", {"(опять)", "(снова)"});
    writeLines("Base/AI.dat", {"нулевая", "Кстати, я умею учиться."});
    writeLines("Base/Pause.Dat", {"Ты здесь?"});
    writeLines("Base/Begin.dat", {"Здравствуй!"});
    write("Base/Collection.Dat", "");
    write("Base/Log.Dralen", "");
}

} // namespace tarmel::test
