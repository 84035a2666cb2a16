#include "phrase_base.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace tarmel::test {
namespace {

TEST(PhraseBase, KeysAndDepths)
{
    struct Case {
        const char* line;
        int depth;
        const char* key;
        const char* fullKey;
        bool answers;
    };
    const Case cases[] = {
        {"ПРИВЕТ^Привет!;", 0, "ПРИВЕТ", "ПРИВЕТ", true},
        {"__КЛЮЧ^один;два;", 2, "КЛЮЧ", "__КЛЮЧ", true},
        {"КЛЮЧ^", 0, "КЛЮЧ", "КЛЮЧ", false},
        {"БЕЗ КРЫШКИ", 0, "БЕЗ КРЫШКИ", "БЕЗ КРЫШКИ", false},
        {"", 0, "", "", false},
        {"___", 3, "", "___", false},
    };
    for (const auto& c : cases) {
        const std::string line = w(c.line);
        EXPECT_EQ(DepthOf(line), c.depth) << c.line;
        EXPECT_EQ(std::string(KeyOf(line)), w(c.key)) << c.line;
        EXPECT_EQ(std::string(FullKeyOf(line)), w(c.fullKey)) << c.line;
        EXPECT_EQ(HasAnswers(line), c.answers) << c.line;
    }
}

TEST(PhraseBase, ChooseAnswerTakesTheDrawnSlot)
{
    struct Case {
        const char* line;
        int draw;
        const char* answer;
        const char* followUp;
    };
    const Case cases[] = {
        {"ПРИВЕТ^Привет!;", 0, "Привет!", ""},
        {"__КЛЮЧ^один;два;три;", 1, "два", ""},
        {"__КЛЮЧ^один;два;три;", 2, "три", ""},
        {"КЛЮЧ^ответ|;", 0, "ответ", ""},
        {"ПРИВЕТ^Привет!;Здравствуй!|Как дела?;", 1, "Здравствуй!", "Как дела?"},
        {"ПОКА^Пока!;@До завтра.;", 1, "@До завтра.", ""},
        // A slot that begins with ";" reads as ";" and the following slot.
        {"К^а;;б;", 1, ";б", ""},
        // An unfinished follow-up runs to the end of the line.
        {"К^а|дальше", 0, "а", "дальше"},
    };
    for (const auto& c : cases) {
        ScriptedRandom random({c.draw});
        const ChosenAnswer chosen = ChooseAnswer(w(c.line), random);
        EXPECT_EQ(chosen.answer, w(c.answer)) << c.line;
        EXPECT_EQ(chosen.followUp, w(c.followUp)) << c.line;
    }
}

TEST(PhraseBase, ChooseAnswerDrawsOverEverySemicolonOfTheLine)
{
    ScriptedRandom random;
    ChooseAnswer(w("К^а;б;в;"), random);
    ASSERT_EQ(random.ranges.size(), 1u);
    EXPECT_EQ(random.ranges[0], 3);
}

TEST(PhraseBase, CountingRules)
{
    const TableCounts counts = CountTable(wLines({"ЗАГОЛОВОК^x;", "А^x;y;", "_Б^z;", "В^"}));
    EXPECT_EQ(counts.mainPhrases, 2);
    EXPECT_EQ(counts.branches, 1);
    EXPECT_EQ(counts.learned, 3);
    EXPECT_EQ(counts.answers, 3);

    const TableCounts headerOnly = CountTable(wLines({"ЗАГОЛОВОК^x;"}));
    EXPECT_EQ(headerOnly.mainPhrases + headerOnly.branches + headerOnly.learned, 0);
}

} // namespace
} // namespace tarmel::test
