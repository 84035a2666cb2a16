#include "cp1251.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace tarmel::test {
namespace {

TEST(Cp1251, CaseFollowsTheLettersOfTheCodePage)
{
    struct Case {
        const char* lower;
        const char* upper;
    };
    const Case cases[] = {
        {"привет", "ПРИВЕТ"}, {"ёжик", "ЁЖИК"},         {"hello", "HELLO"},
        {"іїєґў", "ІЇЄҐЎ"},   {"123 ,.!?", "123 ,.!?"}, {"№«»", "№«»"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp1251::upper(w(c.lower)), w(c.upper)) << c.lower;
        EXPECT_EQ(cp1251::lower(w(c.upper)), w(c.lower)) << c.upper;
    }
}

TEST(Cp1251, EveryByteSurvivesTheTripThroughUtf8)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(cp1251::fromUtf8(cp1251::toUtf8(all)), all);
}

TEST(Cp1251, CharactersTheCodePageLacksBecomeQuestionMarks)
{
    EXPECT_EQ(cp1251::fromUtf8("a€b"), "a\x88"
                                       "b");
    EXPECT_EQ(cp1251::fromUtf8("日本"), "??");
    EXPECT_EQ(cp1251::fromUtf8("x\xF0\x9F\x98\x80y"), "x?y"); // an emoji
    EXPECT_EQ(cp1251::fromUtf8("bad\xC3"), "bad?");           // cut short
    EXPECT_EQ(cp1251::fromUtf8("\x80z"), "?z");               // stray byte
}

} // namespace
} // namespace tarmel::test
