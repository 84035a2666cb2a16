#include "input_logic.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <set>

namespace tarmel::input {
namespace {

using test::w;

// --- layout fix ---

struct LayoutCase {
    const char* typed; // UTF-8
    const char* fixed; // UTF-8
};

class LayoutFixTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutFixTest, RewritesTheKeysOfTheLatinLayout)
{
    EXPECT_EQ(cp1251::toUtf8(fixLayout(w(GetParam().typed))), GetParam().fixed);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LayoutFixTest,
    ::testing::Values(
        LayoutCase{"ghbdtn", "привет"}, LayoutCase{"Ghbdtn", "Привет"},
        LayoutCase{"GHBDTN", "ПРИВЕТ"}, LayoutCase{"j,tl", "о,ед"}, LayoutCase{"j<tl", "обед"},
        LayoutCase{"Rfr ltkf?", "Как дела?"},
        // The keyboard's rows, unshifted and shifted.
        LayoutCase{"`qwertyuiop[]asdfghjkl;'zxcvbnm,./", "ёйцукенгшщзхъфывапролдж'ячсмить,.."},
        LayoutCase{"~QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>?", "ЁЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬбю?"},
        LayoutCase{"!@#$%^&*()_+|\\-=", "!\"№;%:?*()_+/\\-="},
        // Nothing to convert: digits, Cyrillic, the apostrophe stay as they are.
        LayoutCase{"0123456789 уже 'Ёё'", "0123456789 уже 'Ёё'"}, LayoutCase{"", ""},
        // A replaced character is not looked up again within one use...
        LayoutCase{"@$^|", "\";:/"}));

TEST(LayoutFix, ASecondUseConvertsWhatTheFirstProduced)
{
    const std::string once = fixLayout(w("ghbdtn @$^| z"));
    EXPECT_EQ(cp1251::toUtf8(once), "привет \";:/ я");
    EXPECT_EQ(cp1251::toUtf8(fixLayout(once)), "привет ЭжЖ. я");
}

TEST(LayoutFix, HasSeventyKeysAndLeavesEveryOtherCharacterAlone)
{
    const std::string keys = layoutKeys();
    const std::set<char> distinct(keys.begin(), keys.end());
    EXPECT_EQ(keys.size(), 70u);
    EXPECT_EQ(distinct.size(), 70u);
    for (int i = 0; i < 256; ++i) {
        const char c = static_cast<char>(i);
        if (distinct.count(c) != 0)
            EXPECT_NE(layoutFixed(c), c) << "key " << i;
        else
            EXPECT_EQ(layoutFixed(c), c) << "character " << i;
    }
}

// --- completion search ---

// A small dictionary in file order.
const std::vector<std::string>& dictionary()
{
    static const std::vector<std::string> entries = test::wLines({
        "привет",      // 0
        "Москва",      // 1
        "ООН",         // 2
        "добрый день", // 3
        "",            // 4: an empty line never matches
        "из-за",       // 5
        "Ёлка",        // 6
        "прием",       // 7
    });
    return entries;
}

struct SearchCase {
    const char* line; // UTF-8
    int index;        // CompletionIndex before the search
    int found;        // index of the match, -1 for none
    const char* tail; // UTF-8
};

class CompletionSearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(CompletionSearchTest, FindsTheFirstEntryAfterTheIndexThatBeginsWithTheLastWord)
{
    const SearchCase& c = GetParam();
    const CompletionResult result = searchCompletion(w(c.line), dictionary(), c.index);
    EXPECT_EQ(result.index, c.found);
    EXPECT_EQ(result.found, c.found >= 0);
    if (c.found >= 0) {
        EXPECT_EQ(result.entry, dictionary()[static_cast<std::size_t>(c.found)]);
        EXPECT_EQ(cp1251::toUtf8(result.tail), c.tail);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CompletionSearchTest,
    ::testing::Values(SearchCase{"как дела, прив", -1, 0, "ет"}, SearchCase{"мос", -1, 1, "ква"},
                      SearchCase{"оо", -1, 2, "Н"}, SearchCase{"ДОБ", -1, 3, "рый день"},
                      SearchCase{"а что из-", -1, 5, "за"}, SearchCase{"ёл", -1, 6, "ка"},
                      SearchCase{"МОСКВА", -1, 1, ""},
                      // The search starts after the index.
                      SearchCase{"при", -1, 0, "вет"}, SearchCase{"при", 0, 7, "ем"},
                      SearchCase{"при", 7, -1, ""}, SearchCase{"при", 100, -1, ""},
                      // No word at the end of the line.
                      SearchCase{"", -1, -1, ""}, SearchCase{"прив ", -1, -1, ""},
                      SearchCase{"прив,", -1, -1, ""}, SearchCase{"прив.", -1, -1, ""},
                      SearchCase{"прив!", -1, -1, ""}, SearchCase{"прив?", -1, -1, ""},
                      // Longer than every entry, or beginning none.
                      SearchCase{"приветствие", -1, -1, ""}, SearchCase{"xyz", -1, -1, ""}));

TEST(CompletionSearch, FindsNothingInAnEmptyDictionary)
{
    EXPECT_FALSE(searchCompletion(w("прив"), {}, -1).found);
}

// The arrow keys step the index, and the search that the key arms runs from
// the index after it.
struct ArrowCase {
    int shown; // index of the match on show
    HookKey key;
    int next; // index shown after the search, -1 for none
};

class ArrowKeyTest : public ::testing::TestWithParam<ArrowCase> {};

TEST_P(ArrowKeyTest, StepsThroughTheEntriesThatBeginWithTheWord)
{
    // Entries 0, 1, 2, 3 and 5 begin with "при".
    const std::vector<std::string> entries =
        test::wLines({"прибор", "привет", "прием", "приезд", "москва", "призыв"});
    const ArrowCase& c = GetParam();
    const int index = completionIndexAfterKey(c.shown, c.key, entries.size());
    EXPECT_EQ(searchCompletion(w("при"), entries, index).index, c.next);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ArrowKeyTest,
    ::testing::Values(ArrowCase{1, HookKey::Other, 2}, ArrowCase{1, HookKey::Down, 3},
                      ArrowCase{3, HookKey::Up, 2},
                      // m - 1 does not begin with the word: m again
                      ArrowCase{5, HookKey::Up, 5}, ArrowCase{3, HookKey::Other, 5},
                      // the clamps
                      ArrowCase{0, HookKey::Up, 1}, ArrowCase{1, HookKey::Up, 1},
                      ArrowCase{5, HookKey::Down, -1}, ArrowCase{-1, HookKey::Other, 1}));

TEST(ArrowKeys, KeepTheIndexWithinTheDictionary)
{
    EXPECT_EQ(completionIndexAfterKey(9, HookKey::Other, 4), 3);
    EXPECT_EQ(completionIndexAfterKey(3, HookKey::Down, 4), 3);
    EXPECT_EQ(completionIndexAfterKey(-1, HookKey::Up, 4), 0);
    EXPECT_EQ(completionIndexAfterKey(-1, HookKey::Down, 4), 0);
}

// --- input guard ---

// Runs the guard tick by tick over the lines given, one line per tick.
std::vector<GuardStep> scanTicks(const std::vector<std::string>& lines, int scanPos = 0)
{
    std::vector<GuardStep> steps;
    for (const std::string& line : lines) {
        steps.push_back(guardScan(line, scanPos));
        scanPos = steps.back().scanPos;
    }
    return steps;
}

std::vector<int> positions(const std::vector<GuardStep>& steps)
{
    std::vector<int> result;
    for (const GuardStep& step : steps)
        result.push_back(step.hit ? -step.scanPos : step.scanPos);
    return result;
}

TEST(InputGuard, WalksTheLineOneCharacterPerTickAndWraps)
{
    // Positive: position examined (0 after the last); negative: a hit there.
    EXPECT_EQ(positions(scanTicks({"abc", "abc", "abc", "abc"})), (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(positions(scanTicks({"ab^c", "ab^c", "ab^c"})), (std::vector<int>{1, 2, -3}));
}

TEST(InputGuard, FollowsALineThatChangesBetweenTicks)
{
    // The line grows behind the scan, is emptied, and a shorter line starts
    // again from its first character.
    EXPECT_EQ(positions(scanTicks({"a", "ab", "abc", "", "", "abcd", "ab", "x_"})),
              (std::vector<int>{0, 1, 2, 2, 2, 3, 1, -2}));
    // A reserved character already passed is met on the next pass.
    EXPECT_EQ(positions(scanTicks({"ab", "a|b", "a|b"}, 1)), (std::vector<int>{0, 1, -2}));
}

TEST(InputGuard, ActsOnTheFiveReservedCharactersOnly)
{
    for (const char c : std::string("^_;@|"))
        EXPECT_TRUE(guardScan(std::string(1, c), 0).hit) << c;
    for (const char c : w("$:/&#*\"'`~.,!?-+=\\[]{}<>()%ж№"))
        EXPECT_FALSE(guardScan(std::string(1, c), 0).hit) << c;
}

} // namespace
} // namespace tarmel::input
