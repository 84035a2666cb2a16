#include "errors.h"
#include "phrase_base.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace tarmel::test {
namespace {

TEST(Conversation, NormalisePhrase)
{
    struct Case {
        const char* typed;
        const char* normalised;
    };
    const Case cases[] = {
        {"привет", "Привет."}, {"как дела,", "Как дела."},
        {"ёжик", "Ёжик."},     {"hello", "hello."},
        {"Ура!!!", "Ура!!!"},  {"Кто ты?", "Кто ты?"},
        {"Ну...", "Ну..."},    {"Что?!", "Что?!"},
        {"я", "Я."},           {"1 кот", "1 кот."},
        {"ж,", "Ж."},          {" привет", " привет."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Conversation::NormalisePhrase(w(c.typed)), w(c.normalised)) << c.typed;
}

class TurnTest : public ::testing::Test {
protected:
    BaseFolder base;
    EngineRig rig;

    void say(const char* utf8)
    {
        rig.host.input = w(utf8);
        rig.engine.RunTurn();
    }
    std::vector<std::string> log() const
    {
        std::vector<std::string> lines;
        for (const auto& line : rig.engine.Log.lines())
            lines.push_back(cp1251::toUtf8(line));
        return lines;
    }
};

TEST_F(TurnTest, PhraseIsShownLoggedAndAnsweredFromTheTable)
{
    rig.engine.state.IdleTicks = 57;
    say("привет");
    EXPECT_EQ(rig.host.events,
              (std::vector<std::string>{"sound:user", "user:Привет.", "sound:bot", "bot:Привет!"}));
    EXPECT_EQ(log(), (std::vector<std::string>{"[12:34:56] USER:     Привет.",
                                               "[12:34:56] CPU:     Привет!"}));
    EXPECT_TRUE(rig.host.input.empty());
    EXPECT_EQ(rig.engine.state.IdleTicks, 0);
    EXPECT_EQ(rig.engine.state.PreviousUserPhrase, w("Привет."));
    EXPECT_EQ(rig.engine.state.PreviousReply, w("Привет!"));
    EXPECT_EQ(rig.engine.state.LastReply, w("Привет!"));
    EXPECT_FALSE(rig.host.busy);
    EXPECT_EQ(rig.random.reseeds, 1);
}

TEST_F(TurnTest, EmptyPhraseChangesNothing)
{
    rig.engine.state.IdleTicks = 5;
    say("");
    EXPECT_TRUE(rig.host.events.empty());
    EXPECT_TRUE(rig.engine.Log.empty());
    EXPECT_EQ(rig.engine.state.IdleTicks, 5);
}

TEST_F(TurnTest, RepeatedReplyGetsATail)
{
    rig.engine.state.PreviousReply = w("ПРИВЕТ!");
    rig.random.push({0, 0, 1}); // long-phrase draw, first answer "Привет!", second tail
    say("привет");
    EXPECT_EQ(rig.engine.state.PreviousReply, w("Привет!     (снова)"));
    EXPECT_EQ(rig.host.transcript.back(), w("Привет!     (снова)"));
}

TEST_F(TurnTest, FirstEmptyReplyReceivesTheTail)
{
    base.write("Base/W2.Dat", "");
    say("непонятное");
    EXPECT_EQ(rig.host.transcript.back(), w("     (опять)"));
}

TEST_F(TurnTest, FollowUpIsArmedOnADrawOfZero)
{
    struct Case {
        int draw;
        bool armed;
    };
    for (const Case c : {Case{0, true}, Case{1, false}}) {
        rig.host.followUpArmed = false;
        rig.engine.state.PreviousUserPhrase.clear();
        rig.engine.state.PreviousReply.clear();
        rig.random.push({0, 1, c.draw}); // long-phrase draw; answer 2 carries "Как дела?"
        say("привет");
        EXPECT_EQ(rig.engine.state.FollowUpPhrase, w("Как дела?"));
        EXPECT_EQ(rig.host.followUpArmed, c.armed) << c.draw;
    }
}

TEST_F(TurnTest, LeavingMarkerSwitchesTheAnimation)
{
    say("до свидания");
    EXPECT_TRUE(rig.host.leaving);
    // The answering line is the table's last, so a branch continuation would
    // run off the end; start the next turn outside any branch.
    rig.engine.state.BranchDepth = 0;
    say("как дела");
    EXPECT_FALSE(rig.host.leaving);
}

TEST_F(TurnTest, AfterTurnRemarkOnFallbackIsDrawnOneInThree)
{
    for (const int draw : {0, 1, 2}) {
        rig.engine.state.PreviousReply.clear();
        rig.random.push({0, 0, draw}); // long-phrase draw, reply line, remark draw
        say(("что-то новое " + std::to_string(draw)).c_str());
        EXPECT_EQ(rig.host.afterTurnRemark, draw == 0) << draw;
        if (draw == 0) {
            EXPECT_EQ(rig.engine.RE2.line(1), w("Кстати, я умею учиться."));
        }
    }
}

TEST_F(TurnTest, ExchangeModeAnswersTheFileAndWritesTheReplyBack)
{
    base.writeLines("Txt.Dat", {"как дела", "вторая строка"});
    rig.host.cpuMode = true;
    rig.host.input = w("не отсюда");
    rig.engine.files.load(rig.engine.LoadtxtCpuCpu, "Txt.Dat");
    rig.engine.RunTurn();
    EXPECT_EQ(rig.host.transcript.front(), w("Как дела."));
    EXPECT_EQ(base.readLines("Txt.Dat"), std::vector<std::string>{"Нормально."});
    EXPECT_EQ(base.readLines("Txt.Dat").size(), 1u);
}

TEST_F(TurnTest, MissingReplyFileStopsTheTurnKeepingWhatWasDone)
{
    std::filesystem::remove("Base/W2.Dat");
    rig.host.input = w("неизвестное");
    try {
        rig.engine.RunTurn();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("W2.Dat"), std::string::npos);
    }
    EXPECT_EQ(rig.host.transcript, std::vector<std::string>{w("Неизвестное.")});
    EXPECT_EQ(rig.engine.Log.count(), 1u);
    EXPECT_EQ(rig.host.input, w("неизвестное"));
    EXPECT_TRUE(rig.engine.state.PreviousUserPhrase.empty());
    EXPECT_FALSE(rig.host.busy);
}

} // namespace
} // namespace tarmel::test
