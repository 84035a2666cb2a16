#include "abuse_lists.h"
#include "conversation.h"
#include "cp1251.h"
#include "phrase_base.h"
#include "table_search.h"

#include <algorithm>

namespace tarmel {
namespace {

// Phrases this long or longer may get a reply of their own.
constexpr std::size_t kLongPhrase = 110;

bool AnyFragmentIn(std::string_view upperPhrase, const std::vector<std::string>& fragments)
{
    return std::any_of(fragments.begin(), fragments.end(), [&](const std::string& fragment) {
        return FragmentMatch(upperPhrase, fragment, 1);
    });
}

} // namespace

void Conversation::ReplyFromList(std::string_view name)
{
    LoadList(name);
    state.ReplyPhrase = RandomLine();
}

void Conversation::ReplyFromTableLine(std::size_t index, ReplyRoad road, ReplyOutcome& outcome)
{
    outcome.TableLine = RE2.line(index);
    outcome.Road = road;
    ChosenAnswer chosen = ChooseAnswer(outcome.TableLine, random);
    state.ReplyPhrase = std::move(chosen.answer);
    if (!chosen.followUp.empty())
        state.FollowUpPhrase = std::move(chosen.followUp);
    // A branch answer goes one level deeper; a main-line answer starts at 1
    // because the context was 0 before it.
    state.BranchDepth += 1;
    state.BranchLine = static_cast<int>(index);
}

std::size_t Conversation::ContinueBranch(std::string_view upperPhrase, bool& tableEnded)
{
    const int depth = state.BranchDepth;
    for (auto j = static_cast<std::size_t>(std::max(state.BranchLine, 0)) + 1;; ++j) {
        // The table is read again before every line, so an edit made in the
        // meantime is seen; the file cache makes this a status check.
        LoadList(files::kWords);
        if (j >= RE2.count()) {
            tableEnded = true;
            return 0;
        }
        const std::string& line = RE2.line(j);
        const int lineDepth = DepthOf(line);
        if (lineDepth == 0)
            return 0; // a main line: the branch block has ended
        if (lineDepth == depth && IsMatchableTableLine(line) &&
            FragmentMatch(upperPhrase, KeyOf(line), 1))
            return j;
    }
}

ReplyOutcome Conversation::SelectReply()
{
    ReplyOutcome outcome;
    const std::string upperPhrase = cp1251::upper(state.UserPhrase);

    if (upperPhrase == cp1251::upper(state.PreviousUserPhrase)) {
        ReplyFromList(files::kRepeatReplies);
        outcome.Road = ReplyRoad::Repeat;
        return outcome;
    }
    if (AnyFragmentIn(upperPhrase, Cenzura())) {
        ReplyFromList(files::kAbuseReplies);
        outcome.Road = ReplyRoad::Abuse;
        return outcome;
    }
    outcome.FilterHit = AnyFragmentIn(upperPhrase, Filter_nr());

    const int draw = random.draw(6);
    if (draw != 1 && draw != 5 && state.UserPhrase.size() >= kLongPhrase) {
        ReplyFromList(files::kLongPhraseReplies);
        outcome.Road = ReplyRoad::LongPhrase;
        return outcome;
    }

    bool tableEnded = false;
    if (state.BranchDepth >= 1) {
        const std::size_t j = ContinueBranch(upperPhrase, tableEnded);
        if (j != 0) {
            ReplyFromTableLine(j, ReplyRoad::Branch, outcome);
            return outcome;
        }
        state.BranchDepth = 0;
    }

    if (!tableEnded) {
        LoadList(files::kWords);
        std::size_t i = tableSearch.wholeKey(RE2.shared(), upperPhrase);
        if (i == 0)
            i = tableSearch.keyWords(RE2.shared(), upperPhrase);
        if (i != 0) {
            ReplyFromTableLine(i, ReplyRoad::Table, outcome);
            return outcome;
        }
    }

    const bool question = !state.UserPhrase.empty() && state.UserPhrase.back() == '?';
    ReplyFromList(question ? files::kQuestionReplies : files::kStatementReplies);
    outcome.Road = ReplyRoad::Fallback;
    return outcome;
}

} // namespace tarmel
