// A program killed at any moment while it learns loses at most the turn in
// flight: every base file still reads back, the table still parses, and every
// turn that completed is in the table.

#include "cp1251.h"
#include "line_file.h"
#include "phrase_base.h"
#include "table_search.h"
#include "test_support.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tarmel::test {
namespace {

// Six letters that spell the number: every phrase is unique and none
// contains another, so each one is learned as a new key.
std::string phraseFor(std::uint32_t number)
{
    std::string phrase;
    for (int i = 0; i < 6; ++i) {
        phrase += static_cast<char>(0xE0 + (number & 31));
        number >>= 5;
    }
    return phrase;
}

[[noreturn]] void learnUntilKilled(std::uint32_t firstNumber, int ackFd)
{
    EngineRig rig;
    rig.engine.state.LastReply = w("Понятно.");
    for (std::uint32_t number = firstNumber;; ++number) {
        rig.host.input = phraseFor(number);
        rig.engine.RunTurn();
        const ssize_t written = ::write(ackFd, &number, sizeof number);
        if (written != sizeof number)
            ::_exit(2);
    }
}

TEST(KilledWhileLearning, LosesAtMostTheTurnInFlight)
{
    BaseFolder base;
    std::mt19937 chance(20261211);
    std::set<std::string> completed; // upper-cased phrases of finished turns
    constexpr int kKills = 200;
    for (int round = 0; round < kKills; ++round) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            learnUntilKilled(static_cast<std::uint32_t>(round) << 16, pipeFds[1]);
        }
        ::close(pipeFds[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(chance() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the learner stopped by itself, status " << status;

        std::uint32_t number = 0;
        while (::read(pipeFds[0], &number, sizeof number) == sizeof number)
            completed.insert(cp1251::upper(Conversation::NormalisePhrase(phraseFor(number))));
        ::close(pipeFds[0]);

        for (const char* name : {"Base/W1.Dat", "Base/W2.Dat", "Base/Collection.Dat"})
            ASSERT_NO_THROW(readLineFile(name)) << name << " after kill " << round;
        const Lines table = readLineFile("Base/Words.Dat");
        std::set<std::string> keys;
        for (std::size_t i = 1; i < table.size(); ++i) {
            ASSERT_TRUE(IsWellFormedTableLine(table[i]))
                << "line " << i << " after kill " << round << ": " << cp1251::toUtf8(table[i]);
            keys.insert(std::string(FullKeyOf(table[i])));
        }
        for (const auto& key : completed)
            ASSERT_TRUE(keys.count(key)) << "lost " << cp1251::toUtf8(key) << " at kill " << round;
    }
    EXPECT_GT(completed.size(), 50u) << "too few turns completed to prove anything";
}

} // namespace
} // namespace tarmel::test
