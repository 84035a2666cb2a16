#include "conversation.h"

#include "cp1251.h"
#include "phrase_base.h"

namespace tarmel {

bool Conversation::FragmentMatch(std::string_view fragment, std::size_t start,
                                 std::size_t* completedAt) const
{
    const std::string& phrase = state.UserPhrase;
    if (fragment.empty() || start == 0)
        return false;
    std::size_t matched = 0;
    for (std::size_t i = start; i <= phrase.size(); ++i) {
        if (cp1251::toUpper(phrase[i - 1]) == fragment[matched]) {
            if (++matched == fragment.size()) {
                if (completedAt)
                    *completedAt = i;
                return true;
            }
        } else {
            matched = 0;
        }
    }
    return false;
}

// A first reply selection: the first main line whose key occurs in the
// phrase, otherwise a question or statement reply.
ReplyOutcome Conversation::SelectReply()
{
    ReplyOutcome outcome;
    LoadList(files::kWords);
    for (std::size_t i = 1; i < RE2.count(); ++i) {
        const std::string& line = RE2.line(i);
        if (DepthOf(line) != 0 || !HasAnswers(line) || !FragmentMatch(KeyOf(line), 1))
            continue;
        ChosenAnswer chosen = ChooseAnswer(line, random);
        state.ReplyPhrase = std::move(chosen.answer);
        state.FollowUpPhrase = std::move(chosen.followUp);
        state.BranchDepth = 1;
        state.BranchLine = static_cast<int>(i);
        outcome.Road = ReplyRoad::Table;
        outcome.TableLine = line;
        return outcome;
    }
    const bool question = !state.UserPhrase.empty() && state.UserPhrase.back() == '?';
    LoadList(question ? files::kQuestionReplies : files::kStatementReplies);
    state.ReplyPhrase = RandomLine();
    outcome.Road = ReplyRoad::Fallback;
    return outcome;
}

} // namespace tarmel
