#include "dialog_log.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace tarmel::test {
namespace {

const std::string kStart = "Начало диалога:           Дата - 11.12.2026   |   Время - 09:05:07";
const std::string kEnd = "Конец диалога:           Дата - 11.12.2026   |   Время - 09:15:00";

std::vector<std::string> utf8(const Lines& lines)
{
    std::vector<std::string> result;
    for (const auto& line : lines)
        result.push_back(cp1251::toUtf8(line));
    return result;
}

TEST(DialogLog, HeaderOpensTheDialog)
{
    EXPECT_EQ(utf8(dialog_log::headerLines("11.12.2026", "09:05:07")),
              (std::vector<std::string>{"", std::string(80, '-'), kStart, ""}));
}

TEST(DialogLog, BlockIsAppendedAfterWhatTheFileHolds)
{
    const std::vector<std::string> previous = {"", "",      std::string(80, '-'), "старое",
                                               "", "Конец", std::string(53, '=')};
    const std::vector<std::string> said = {"[09:05:10] USER:     Привет.",
                                           "[09:05:10] CPU:     Привет!"};
    std::vector<std::string> header = {"", std::string(80, '-'), kStart, ""};
    std::vector<std::string> dialog = header;
    dialog.insert(dialog.end(), said.begin(), said.end());
    const std::vector<std::string> tail = {"", kEnd, std::string(53, '=')};

    struct Case {
        const char* what;
        std::vector<std::string> file;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"first block of an empty file", {}, dialog},
        {"second block after the separator of the first", previous, dialog},
        {"new dialog: no header", previous, said},
        {"new dialog with nothing said", {}, {}},
    };
    for (const auto& c : cases) {
        Lines file = wLines(c.file);
        dialog_log::appendBlock(file, wLines(c.log), "11.12.2026", "09:15:00");
        std::vector<std::string> expected = c.file;
        expected.push_back("");
        expected.insert(expected.end(), c.log.begin(), c.log.end());
        expected.insert(expected.end(), tail.begin(), tail.end());
        EXPECT_EQ(utf8(file), expected) << c.what;
    }
}

TEST(DialogLog, BlockReadsBackLineForLine)
{
    // The log file is written as RTF; what the user typed may hold the
    // characters RTF gives a meaning to.
    TempFolder folder;
    folder.write("Base/Log.Dralen", "");
    Lines file;
    Lines log = dialog_log::headerLines("11.12.2026", "09:05:07");
    log.push_back(w("[09:05:10] USER:     {Скобки} и \\par обратная черта."));
    log.push_back(w("[09:05:10] CPU:     "));
    log.push_back(w("[09:05:11] CPU:     Ёжик, «кавычки» — тире."));
    dialog_log::appendBlock(file, log, "11.12.2026", "09:15:00");
    writeLineFile("Base\\Log.Dralen", file);
    EXPECT_EQ(readLineFile("Base\\Log.Dralen"), file);
}

} // namespace
} // namespace tarmel::test
