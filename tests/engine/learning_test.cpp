#include "errors.h"
#include "phrase_base.h"
#include "table_search.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <random>

namespace tarmel::test {
namespace {

using Utf8Lines = std::vector<std::string>;

class LearningTest : public ::testing::Test {
protected:
    BaseFolder base;
    EngineRig rig;

    // Learning as the fallback road leaves it: the reply list it drew from is
    // still in RE2.
    void learn(const char* phrase, const char* lastReply, bool filterHit = false,
               const char* replyList = "Base/W2.Dat")
    {
        rig.engine.state.LastReply = w(lastReply);
        rig.engine.LoadList(replyList);
        const std::string text = w(phrase);
        rig.engine.LearnPhrase(text, text.size(), filterHit);
    }
    Utf8Lines words() const { return base.readLines("Base/Words.Dat"); }
};

TEST_F(LearningTest, LengthGateCountsTheTypedCharacters)
{
    const Utf8Lines before = words();
    rig.engine.state.LastReply = w("Понятно.");
    rig.engine.LoadList("Base/W2.Dat");
    rig.engine.LearnPhrase(w("Да!!."), 4, false);
    EXPECT_EQ(words(), before);
    rig.engine.LearnPhrase(w("Да!!!"), 5, false);
    EXPECT_EQ(words().back(), "ДА!!!^");
    EXPECT_EQ(base.readLines("Base/W2.Dat").back(), "Да!!!");
}

TEST_F(LearningTest, ReplyListStep)
{
    struct Case {
        const char* name;
        const char* lastReply;
        bool filterHit;
        const char* phrase;
        Utf8Lines w1;
        Utf8Lines w2;
        bool newKey;
    };
    const Utf8Lines w1{"Не знаю.", "Сложный вопрос."};
    const Utf8Lines w2{"Понятно.", "Расскажи ещё."};
    auto plus = [](Utf8Lines lines, const char* line) {
        lines.push_back(line);
        return lines;
    };
    const Case cases[] = {
        {"first turn learns nothing", "", false, "Новая фраза.", w1, w2, false},
        {"filter phrase skips the lists", "", true, "Меня зовут Петя.", w1, w2, true},
        {"statement reply", "Понятно.", false, "Новая фраза.", w1, plus(w2, "Новая фраза."), true},
        {"a question mark anywhere", "Что? Ну ладно.", false, "Новая фраза.",
         plus(w1, "Новая фраза."), w2, true},
        {"already in the list", "", false, "Расскажи ещё.", w1, w2, true},
        {"line 0 is not compared", "Понятно.", false, "Понятно.", w1, plus(w2, "Понятно."), true},
        {"letter case counts", "Понятно.", false, "расскажи ещё.", w1, plus(w2, "расскажи ещё."),
         true},
    };
    for (const auto& c : cases) {
        base.writeLines("Base/W1.Dat", w1);
        base.writeLines("Base/W2.Dat", w2);
        base.writeLines("Base/Words.Dat", {"ЗАГОЛОВОК^x;", "ПРИВЕТ^Привет!;"});
        const std::size_t tableLines = words().size();
        learn(c.phrase, c.lastReply, c.filterHit);
        EXPECT_EQ(base.readLines("Base/W1.Dat"), c.w1) << c.name;
        EXPECT_EQ(base.readLines("Base/W2.Dat"), c.w2) << c.name;
        EXPECT_EQ(words().size(), tableLines + (c.newKey ? 1 : 0)) << c.name;
    }
}

TEST_F(LearningTest, AnswerIsAttachedToTheLineOfThePreviousReply)
{
    base.writeLines("Base/Words.Dat", {"ЗАГОЛОВОК^x;", "КАК ТЕБЯ ЗОВУТ?^Скажи сначала ты.;",
                                       "_ПЕТЯ^Привет, Петя.;", "ПОГОДА^Тепло.;"});
    learn("Меня зовут Петя.", "Как тебя зовут?", true);
    EXPECT_EQ(words(), (Utf8Lines{"ЗАГОЛОВОК^x;", "_ПЕТЯ^Привет, Петя.;", "ПОГОДА^Тепло.;",
                                  "МЕНЯ ЗОВУТ ПЕТЯ.^",
                                  "КАК ТЕБЯ ЗОВУТ?^Скажи сначала ты.;Меня зовут Петя.;"}));
}

// Learning changes the table the searches have indexed: the next search must
// see the lines where they are now, not where the index saw them.
TEST_F(LearningTest, TableSearchedAnewAfterLearning)
{
    base.writeLines("Base/Words.Dat", {"ЗАГОЛОВОК^x;", "ДОМ^Дом;", "САД^Сад;"});
    const auto answeringLine = [&](const char* phrase) {
        rig.engine.state = DialogState{};
        rig.engine.state.UserPhrase = w(phrase);
        const ReplyOutcome outcome = rig.engine.SelectReply();
        return outcome.Road == ReplyRoad::Table ? rig.engine.state.BranchLine : -1;
    };
    for (int search = 0; search < 4; ++search) // enough searches for the index to be built
        ASSERT_EQ(answeringLine("Сад и дом."), 1);
    learn("Новые слова.", "Дом", true);
    ASSERT_EQ(words(),
              (Utf8Lines{"ЗАГОЛОВОК^x;", "САД^Сад;", "НОВЫЕ СЛОВА.^", "ДОМ^Дом;Новые слова.;"}));
    EXPECT_EQ(answeringLine("Сад и дом."), 1);
    EXPECT_EQ(answeringLine("Дом."), 3);
    EXPECT_EQ(answeringLine("Новые слова."), -1); // a key without answers is never chosen
}

TEST_F(LearningTest, AttachedAnswerFollowsTheLeavingMarker)
{
    base.writeLines("Base/Words.Dat", {"ЗАГОЛОВОК^x;", "ПОКА^Пока!;@"});
    learn("До завтра.", "Пока", true);
    EXPECT_EQ(words().back(), "ПОКА^Пока!;@До завтра.;");
    EXPECT_TRUE(IsWellFormedTableLine(w(words().back())));
}

TEST_F(LearningTest, KnownKeyChangesNothingInTheTable)
{
    for (const char* known : {"ПРИВЕТ", "ЗАГОЛОВОК"}) {
        base.writeLines("Base/Words.Dat", {"ЗАГОЛОВОК^x;", "ПРИВЕТ^Привет!;", "КАК ДЕЛА^Норм;"});
        const Utf8Lines before = words();
        learn(known, "Как дела", true);
        EXPECT_EQ(words(), before) << known;
    }
}

TEST_F(LearningTest, PhraseEqualToThePreviousReplyAnswersItself)
{
    learn("Эхо эхо.", "эхо ЭХО.", true);
    EXPECT_EQ(words().back(), "ЭХО ЭХО.^Эхо эхо.;");
}

TEST_F(LearningTest, ReservedCharactersBecomeBlanksInTheTable)
{
    base.writeLines("Base/Words.Dat", {"ЗАГОЛОВОК^x;", "ВОПРОС^Ответ;"});
    learn("_а^б;в|г@д.", "Вопрос", false);
    EXPECT_EQ(base.readLines("Base/W2.Dat").back(), "_а^б;в|г@д."); // lists keep it
    const Utf8Lines table = words();
    EXPECT_EQ(table[table.size() - 2], " А Б В Г Д.^");
    EXPECT_EQ(table.back(), "ВОПРОС^Ответ; а б в г д.;");
}

TEST_F(LearningTest, AbuseIsRecordedEveryTime)
{
    for (int turn = 0; turn < 2; ++turn) {
        rig.engine.state.PreviousUserPhrase.clear();
        rig.host.input = w("ты лох");
        rig.engine.RunTurn();
    }
    EXPECT_EQ(base.readLines("Base/Collection.Dat"), (Utf8Lines{">>> Ты лох.", ">>> Ты лох."}));
}

TEST_F(LearningTest, MissingFileStopsLearningAndNamesIt)
{
    struct Case {
        const char* missing;
        bool listWritten;
    };
    for (const Case c : {Case{"W2.Dat", false}, Case{"Words.Dat", true}}) {
        BaseFolder fresh;
        EngineRig turn;
        turn.engine.state.LastReply = w("Понятно.");
        turn.engine.LoadList("Base/W1.Dat");
        std::filesystem::remove(std::string("Base/") + c.missing);
        try {
            turn.engine.LearnPhrase(w("Новая фраза."), 12, false);
            ADD_FAILURE() << "no error for " << c.missing;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.missing), std::string::npos) << e.what();
        }
        if (c.listWritten) {
            EXPECT_EQ(fresh.readLines("Base/W2.Dat").back(), "Новая фраза.");
        }
    }
}

// Chance from a seeded generator, whatever ranges a turn asks for.
class SeededRandom : public Random {
public:
    explicit SeededRandom(unsigned seed) : gen_(seed) {}
    int draw(int n) override
    {
        return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(gen_);
    }
    void reseed() override {}

private:
    std::mt19937 gen_;
};

// Any phrases at all, fed through whole turns, leave a table whose every line
// from 1 on follows the grammar.
TEST(LearningProperty, TableStaysWellFormed)
{
    BaseFolder base;
    SeededRandom random(11);
    FixedClock clock;
    RecordingHost host;
    Conversation engine(host, random, clock);
    std::mt19937 gen(7);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen); };
    const std::string common = w(" ^_;|@?.,!абвгдАБВ");
    for (int turn = 0; turn < 400; ++turn) {
        std::string phrase;
        const int length = pick(5) == 0 ? 255 : pick(12);
        for (int i = 0; i < length; ++i)
            phrase += pick(3) == 0
                          ? static_cast<char>(pick(256))
                          : common[static_cast<std::size_t>(pick(static_cast<int>(common.size())))];
        phrase.erase(std::remove_if(phrase.begin(), phrase.end(),
                                    [](char c) { return c == '\r' || c == '\n'; }),
                     phrase.end());
        host.input = phrase;
        engine.RunTurn();
        const Lines table = readLineFile("Base/Words.Dat");
        for (std::size_t i = 1; i < table.size(); ++i)
            ASSERT_TRUE(IsWellFormedTableLine(table[i]))
                << "turn " << turn << " line " << i << ": " << cp1251::toUtf8(table[i]);
    }
    EXPECT_GT(readLineFile("Base/Words.Dat").size(), 50u);
}

} // namespace
} // namespace tarmel::test
