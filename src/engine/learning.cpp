#include "conversation.h"
#include "cp1251.h"
#include "phrase_base.h"

#include <algorithm>

namespace tarmel {
namespace {

// Phrases typed shorter than this teach nothing.
constexpr std::size_t kShortestLearned = 5;

// Reserved characters of the table grammar. A phrase can still carry them
// (the exchange-file mode, or a phrase sent before the input guard emptied
// the line). What learning writes into the main table - a new key and an
// attached answer - has each of them replaced by a blank, so a "^" cannot cut
// a key short, a "_" cannot turn a key into a branch line, a ";" or "|" cannot
// split an answer and an "@" cannot become a leaving marker. The reply lists
// have no grammar and receive the phrase as it is. A normalised phrase always
// ends in ".", "!" or "?", so the cleaned key never ends in a blank.
constexpr std::string_view kReserved = "^_;|@";

std::string TableSafe(std::string text)
{
    std::replace_if(
        text.begin(), text.end(),
        [](char c) { return kReserved.find(c) != std::string_view::npos; }, ' ');
    return text;
}

// FullKeyOf(line) == key for a key without "^", reading no more of the line
// than the key's length and one character.
bool FullKeyIs(std::string_view line, std::string_view key)
{
    return line.size() >= key.size() && (line.size() == key.size() || line[key.size()] == '^') &&
           line.compare(0, key.size(), key) == 0;
}

} // namespace

void Conversation::RecordAbuse(const std::string& phrase)
{
    LoadList(files::kAbuseRecord);
    RE2.append(">>> " + phrase);
    SaveList(files::kAbuseRecord);
}

void Conversation::LearnPhrase(const std::string& phrase, std::size_t rawLength, bool filterHit)
{
    if (rawLength < kShortestLearned)
        return;

    if (!filterHit) {
        // RE2 still holds the reply list the fallback drew from; line 0 is
        // not compared.
        bool known = false;
        for (std::size_t i = 1; i < RE2.count() && !known; ++i)
            known = RE2.line(i) == phrase;
        if (!known) {
            if (state.LastReply.empty())
                return;
            const std::string_view target = state.LastReply.find('?') != std::string::npos
                                                ? files::kQuestionReplies
                                                : files::kStatementReplies;
            LoadList(target);
            RE2.append(phrase);
            SaveList(target);
        }
    }

    const std::string entry = TableSafe(phrase);
    const std::string key = cp1251::upper(entry);
    if (key.empty() || key.back() == ' ')
        return; // never write a key the matching could not use

    LoadList(files::kWords);
    // One pass over the table tells whether the key is known (any line,
    // header included) and finds the line that answers the previous reply:
    // the first line from 1 on that has a "^" and the reply as its full key.
    // A reply holding a "^" is the full key of no such line.
    const std::string lastKey = cp1251::upper(state.LastReply);
    const bool attach = !state.LastReply.empty() && lastKey.find('^') == std::string::npos;
    std::size_t target = 0;
    const Lines& table = RE2.lines();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string& line = table[i];
        if (FullKeyIs(line, key))
            return;
        if (attach && target == 0 && i >= 1 && line.size() > lastKey.size() &&
            FullKeyIs(line, lastKey))
            target = i;
    }
    // The new key and the attached answer are saved together, once: the same
    // file as saving after each of them, with no state in between.
    files.prepareChange(RE2, files::kWords);
    RE2.append(key + "^");
    // The new line answers the previous reply when no line before it does.
    if (attach && target == 0 && key == lastKey && RE2.count() >= 2)
        target = RE2.count() - 1;
    if (target != 0)
        RE2.moveToEnd(target, entry + ";");
    SaveList(files::kWords);
}

} // namespace tarmel
