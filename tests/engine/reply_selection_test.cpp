#include "abuse_lists.h"
#include "phrase_base.h"
#include "table_search.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <random>

namespace tarmel::test {
namespace {

TEST(FragmentMatch, ScansWithoutRetryingTheBreakingCharacter)
{
    struct Case {
        const char* phrase;
        const char* fragment;
        std::size_t start;
        bool found;
        std::size_t completedAt;
    };
    const Case cases[] = {
        {"ты дура.", "ДУРА", 1, true, 7},
        {"ддура", "ДУРА", 1, false, 0}, // the breaking "Д" is not retried
        {"аааб", "ААБ", 1, false, 0},
        {"ааб", "ААБ", 1, true, 3},
        {"абв абв", "АБВ", 2, true, 7},
        {"абв", "АБВ", 4, false, 0},
        {"абв", "", 1, false, 0},
        {"ёлка", "ЁЛКА", 1, true, 4},
        {"елка", "ЁЛКА", 1, false, 0}, // "Е" and "Ё" differ
        {"abc", "abc", 1, false, 0},   // a lower-case fragment never matches
    };
    for (const auto& c : cases) {
        std::size_t at = 0;
        EXPECT_EQ(FragmentMatch(cp1251::upper(w(c.phrase)), w(c.fragment), c.start, &at), c.found)
            << c.phrase << " / " << c.fragment;
        if (c.found) {
            EXPECT_EQ(at, c.completedAt) << c.phrase;
        }
    }
}

TEST(FragmentLists, HoldEveryFragmentWithItsBlanks)
{
    ASSERT_EQ(Cenzura().size(), 99u);
    ASSERT_EQ(Filter_nr().size(), 100u);
    EXPECT_EQ(Cenzura().front(), w(" ЛОХ"));
    EXPECT_EQ(Cenzura()[1], w(" ТРУС "));
    EXPECT_EQ(Cenzura().back(), w("Я СОТРУ"));
    EXPECT_EQ(Filter_nr().front(), "FUCK");
    EXPECT_EQ(Filter_nr()[30], w("ИМЯ "));
    EXPECT_EQ(Filter_nr().back(), w("ШЕРСТ"));
}

TEST(KeyWords, CutAtSingleBlanks)
{
    struct Case {
        const char* key;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"КАК ДЕЛА?", {"КАК", "ДЕЛА?"}},
        {"ОДНО", {"ОДНО"}},
        {"А  Б", {"А", " Б"}}, // the second blank starts the next word
        {" А", {" А"}},        // the first character is taken whatever it is
        {"_Б В", {"_Б", "В"}},
    };
    for (const auto& c : cases) {
        const std::string key = w(c.key);
        std::vector<std::string> words;
        for (std::string_view word : KeyWordsOf(key))
            words.push_back(cp1251::toUtf8(word));
        EXPECT_EQ(words, c.words) << c.key;
    }
}

TEST(TableGrammar, BrokenLinesAreNeverMatchable)
{
    struct Case {
        const char* line;
        bool wellFormed;
        bool matchable;
    };
    const Case cases[] = {
        {"ПРИВЕТ^Привет!;Здравствуй!|Как дела?;", true, true},
        {"__КЛЮЧ^один;два;", true, true},
        {"ПОКА^Пока!;@", true, true},
        {"КЛЮЧ^ответ|;", true, true},
        {"КЛЮЧ^", true, false}, // no answers yet
        {"КЛЮЧ^@", true, false},
        {"", false, false},
        {"БЕЗ ШАПКИ", false, false},
        {"КЛЮЧ^ответ", false, false},       // answer not closed
        {"КЛЮЧ^ответ;хвост", false, false}, // text after the last ";"
        {"КЛЮЧ^ответ|хвост", false, false}, // follow-up not closed
        {"КЛЮЧ ^ответ;", false, false},     // key ends in a blank
        {"^ответ;", false, false},          // empty key
        {"__^ответ;", false, false},        // only depth marks
        {"КЛЮЧ^ответ;@@", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWellFormedTableLine(w(c.line)), c.wellFormed) << c.line;
        EXPECT_EQ(IsMatchableTableLine(w(c.line)), c.matchable) << c.line;
    }
}

class SelectionTest : public ::testing::Test {
protected:
    BaseFolder base;
    EngineRig rig;

    void table(const std::vector<std::string>& lines)
    {
        std::vector<std::string> withHeader{"ЗАГОЛОВОК^x;"};
        withHeader.insert(withHeader.end(), lines.begin(), lines.end());
        base.writeLines("Base/Words.Dat", withHeader);
    }
    ReplyOutcome select(const char* normalised)
    {
        rig.engine.state.UserPhrase = w(normalised);
        return rig.engine.SelectReply();
    }
    std::string reply() const { return cp1251::toUtf8(rig.engine.state.ReplyPhrase); }
};

TEST_F(SelectionTest, RoadsByPhrase)
{
    table({"ПРИВЕТ^А;", "КАК ДЕЛА?^Б;", "ГАД^В;"});
    struct Case {
        const char* phrase;
        ReplyRoad road;
        const char* reply;
    };
    const Case cases[] = {
        {"Ты лох.", ReplyRoad::Abuse, "Не ругайся."},
        {"Лох.", ReplyRoad::Fallback, "Понятно."},
        {"Блох.", ReplyRoad::Fallback, "Понятно."},
        {"Ну ты и гад.", ReplyRoad::Abuse, "Не ругайся."},
        {"Гадость.", ReplyRoad::Table, "В"},
        {"Привет, как дела?", ReplyRoad::Table, "А"},
        {"Ну как твои дела?", ReplyRoad::Table, "Б"},
        {"Дела как?", ReplyRoad::Fallback, "Не знаю."},
        {"Что? Не понял.", ReplyRoad::Fallback, "Понятно."},
        {"Меня зовут Петя.", ReplyRoad::Fallback, "Понятно."},
    };
    for (const auto& c : cases) {
        rig.engine.state.BranchDepth = 0;
        const ReplyOutcome outcome = select(c.phrase);
        EXPECT_EQ(outcome.Road, c.road) << c.phrase;
        EXPECT_EQ(reply(), c.reply) << c.phrase;
    }
}

TEST_F(SelectionTest, FilterHitOnlyMarksThePhrase)
{
    const ReplyOutcome named = select("Меня зовут Петя.");
    EXPECT_TRUE(named.FilterHit);
    EXPECT_EQ(named.Road, ReplyRoad::Fallback);
    EXPECT_FALSE(select("Просто слова.").FilterHit);
}

TEST_F(SelectionTest, RepeatComesBeforeEverythingElse)
{
    rig.engine.state.PreviousUserPhrase = w("ТЫ ЛОХ.");
    EXPECT_EQ(select("Ты лох.").Road, ReplyRoad::Repeat);
    EXPECT_EQ(reply(), "Ты повторяешься.");
    EXPECT_EQ(rig.random.ranges, std::vector<int>{1}); // only the reply draw
}

TEST_F(SelectionTest, LongPhraseRoadOnFourDrawsOfSix)
{
    const std::string phrase110(110, 'x');
    const std::string phrase109(109, 'x');
    for (int draw = 0; draw < 6; ++draw) {
        for (const std::string* phrase : {&phrase109, &phrase110}) {
            rig.random.push({draw});
            rig.engine.state.UserPhrase = *phrase;
            const bool expectLong = phrase->size() >= 110 && draw != 1 && draw != 5;
            EXPECT_EQ(rig.engine.SelectReply().Road == ReplyRoad::LongPhrase, expectLong)
                << draw << " " << phrase->size();
            EXPECT_EQ(rig.random.ranges.front(), 6);
            rig.random.ranges.clear();
        }
    }
    EXPECT_EQ(reply(), "Понятно.");
}

TEST_F(SelectionTest, LinesWithoutAnswersOrBrokenAreNeverChosen)
{
    table({"ПРИВЕТ^", "ПРИВЕТ^незакрыт", "ПРИВЕТ ^пробел;", "", "ПРИВЕТ", "^пусто;", "ПРИВЕТ^Да;"});
    const ReplyOutcome outcome = select("Привет.");
    EXPECT_EQ(outcome.Road, ReplyRoad::Table);
    EXPECT_EQ(reply(), "Да");
    EXPECT_EQ(rig.engine.state.BranchLine, 7);
}

TEST_F(SelectionTest, FollowUpIsSetFromTheChosenSlot)
{
    table({"ПРИВЕТ^Привет!;Здравствуй!|Как дела?;"});
    rig.random.push({0, 1});
    select("Привет.");
    EXPECT_EQ(reply(), "Здравствуй!");
    EXPECT_EQ(rig.engine.state.FollowUpPhrase, w("Как дела?"));
}

TEST_F(SelectionTest, BranchContextStateMachine)
{
    table({
        "ПРИВЕТ^Привет!;",       // 1
        "__ГЛУБОКО^Глубина 2;",  // 2
        "_ХОРОШО^Рад за тебя.;", // 3
        "__ОЧЕНЬ^Ещё глубже;",   // 4
        "_ПЛОХО^Жаль.;",         // 5
        "ПОГОДА^Солнечно.;",     // 6
        "_ДОЖДЬ^Зонт.;",         // 7
    });
    struct Step {
        const char* phrase;
        ReplyRoad road;
        const char* reply;
        int depth;
        int line;
    };
    const Step steps[] = {
        {"Привет.", ReplyRoad::Table, "Привет!", 1, 1},
        // depth 2 line 2 is skipped at depth 1
        {"Глубоко, хорошо.", ReplyRoad::Branch, "Рад за тебя.", 2, 3},
        {"Очень.", ReplyRoad::Branch, "Ещё глубже", 3, 4},
        // nothing at depth 3 before the main line 6: searched from line 1
        {"Погода.", ReplyRoad::Table, "Солнечно.", 1, 6},
        // the block of line 6 runs to the table's end without a match
        {"Снег.", ReplyRoad::Fallback, "Понятно.", 0, 6},
        {"Дождь.", ReplyRoad::Fallback, "Понятно.", 0, 6},
    };
    for (const auto& s : steps) {
        const ReplyOutcome outcome = select(s.phrase);
        EXPECT_EQ(outcome.Road, s.road) << s.phrase;
        EXPECT_EQ(reply(), s.reply) << s.phrase;
        EXPECT_EQ(rig.engine.state.BranchDepth, s.depth) << s.phrase;
        EXPECT_EQ(rig.engine.state.BranchLine, s.line) << s.phrase;
    }
}

TEST_F(SelectionTest, BranchSurvivesRepeatAbuseAndLongPhrase)
{
    table({"ПРИВЕТ^Привет!;", "_ХОРОШО^Рад.;"});
    select("Привет.");
    rig.engine.state.PreviousUserPhrase = w("ПРИВЕТ.");
    EXPECT_EQ(select("привет.").Road, ReplyRoad::Repeat);
    EXPECT_EQ(select("Ты лох.").Road, ReplyRoad::Abuse);
    EXPECT_EQ(select(std::string(120, 'x').c_str()).Road, ReplyRoad::LongPhrase);
    EXPECT_EQ(rig.engine.state.BranchDepth, 1);
    EXPECT_EQ(select("Хорошо.").Road, ReplyRoad::Branch);
}

TEST_F(SelectionTest, BranchLinePastAnEditedTableFallsBack)
{
    table({"ПРИВЕТ^Привет!;"});
    rig.engine.state.BranchDepth = 3;
    rig.engine.state.BranchLine = 50;
    EXPECT_EQ(select("Привет.").Road, ReplyRoad::Fallback);
    EXPECT_EQ(rig.engine.state.BranchDepth, 0);
}

TEST_F(SelectionTest, HeaderOnlyTableAlwaysFallsBack)
{
    base.writeLines("Base/Words.Dat", {"ПРИВЕТ^Заголовок;"});
    EXPECT_EQ(select("Привет.").Road, ReplyRoad::Fallback);
}

TEST_F(SelectionTest, TableEditedByAnotherProgramIsUsedAtTheNextTurn)
{
    table({"ПРИВЕТ^Старый;"});
    const char* phrases[] = {"привет", "привет!"}; // not a repeat of each other
    for (int turn = 0; turn < 4; ++turn) {         // enough turns for the index to be built
        rig.engine.state.BranchDepth = 0;
        rig.host.input = w(phrases[turn % 2]);
        rig.engine.RunTurn();
        // (every other reply repeats and gets a tail)
        EXPECT_TRUE(rig.host.transcript.back().starts_with(w("Старый")));
    }
    table({"ПРИВЕТ^Свежий;"}); // same size
    rig.engine.state.BranchDepth = 0;
    rig.host.input = w("привет");
    rig.engine.RunTurn();
    EXPECT_TRUE(rig.host.transcript.back().starts_with(w("Свежий")));
}

// The first matchable line the rule accepts, tried on every line in order:
// what the plain scans (which pass over lines early) and the index must give.
template <typename Rule> std::size_t FirstLineByRule(const Lines& table, Rule rule)
{
    for (std::size_t i = 1; i < table.size(); ++i) {
        if (IsMatchableTableLine(table[i]) && rule(FullKeyOf(table[i])))
            return i;
    }
    return 0;
}

// Random small tables and phrases over a tiny alphabet, so that keys, words
// and partial matches collide often: the index and the plain scan must give
// exactly the line the matching rule gives.
TEST(TableIndex, AgreesWithThePlainScan)
{
    std::mt19937 gen(20240611);
    const std::string alphabet = w("АБВ _^;|@");
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen); };
    auto text = [&](int maxLength, std::string_view letters) {
        std::string s;
        for (int n = pick(maxLength + 1); n > 0; --n)
            s += letters[static_cast<std::size_t>(pick(static_cast<int>(letters.size())))];
        return s;
    };
    const std::string keyLetters = w("АБВ  ");
    for (int round = 0; round < 3000; ++round) {
        Lines table{"HEADER^x;"};
        for (int n = pick(12); n > 0; --n) {
            if (pick(8) == 0) {
                table.push_back(text(10, alphabet)); // anything at all
                continue;
            }
            std::string line(static_cast<std::size_t>(pick(4) == 0), '_');
            line += text(7, keyLetters) + "^";
            for (int a = pick(3); a > 0; --a)
                line += text(3, w("абв")) + ";";
            table.push_back(line);
        }
        const TableIndex index(table);
        for (int p = 0; p < 8; ++p) {
            const std::string phrase = cp1251::upper(text(20, alphabet));
            const std::size_t wholeKey = FirstLineByRule(
                table, [&](std::string_view key) { return FragmentMatch(phrase, key, 1); });
            const std::size_t keyWords = FirstLineByRule(
                table, [&](std::string_view key) { return KeyWordsMatch(phrase, key); });
            ASSERT_EQ(ScanWholeKey(table, phrase), wholeKey)
                << cp1251::toUtf8(phrase) << " round " << round;
            ASSERT_EQ(index.wholeKey(phrase), wholeKey)
                << cp1251::toUtf8(phrase) << " round " << round;
            ASSERT_EQ(ScanKeyWords(table, phrase), keyWords)
                << cp1251::toUtf8(phrase) << " round " << round;
            ASSERT_EQ(index.keyWords(phrase), keyWords)
                << cp1251::toUtf8(phrase) << " round " << round;
        }
    }
}

} // namespace
} // namespace tarmel::test
