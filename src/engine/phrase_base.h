#pragma once

// The phrase base: the files of the folder "Base" and the line grammar of the
// main table "Base\Words.Dat":
//   depth marks "_"*, KEY, "^", answer slots "answer[|follow-up];"*, optional "@"
// Line 0 of the table is a header and is never matched or counted.

#include "line_file.h"
#include "random.h"

#include <string>
#include <string_view>

namespace tarmel {

namespace files {
inline constexpr std::string_view kWords = "Base\\Words.Dat";
inline constexpr std::string_view kQuestionReplies = "Base\\W1.Dat";
inline constexpr std::string_view kStatementReplies = "Base\\W2.Dat";
inline constexpr std::string_view kAbuseReplies = "Base\\X.Dat";
inline constexpr std::string_view kRepeatReplies = "Base\\Povtor.Dat";
inline constexpr std::string_view kLongPhraseReplies = "Base\\BigString.Dat";
inline constexpr std::string_view kRepeatTails = "Base\\CPUpvt.dat";
inline constexpr std::string_view kAfterTurnRemarks = "Base\\AI.dat";
inline constexpr std::string_view kAbuseRecord = "Base\\Collection.Dat";
inline constexpr std::string_view kIdleRemarks = "Base\\Pause.Dat";
inline constexpr std::string_view kGreetings = "Base\\Begin.dat";
inline constexpr std::string_view kDictionary = "Base\\dictionary.dat";
inline constexpr std::string_view kDialogLog = "Base\\Log.Dralen";
} // namespace files

// Number of leading "_".
int DepthOf(std::string_view line);
// The key: the text after the depth marks up to the first "^" that follows the
// key's first character (the rest of the line when there is none).
std::string_view KeyOf(std::string_view line);
// All text before the first "^", depth marks included (the whole line when it
// has none).
std::string_view FullKeyOf(std::string_view line);
// True when the line has text after its first "^".
bool HasAnswers(std::string_view line);

struct ChosenAnswer {
    std::string answer;
    std::string followUp; // empty when the slot has none
};

// Draws one answer slot of a table line that has answers.
ChosenAnswer ChooseAnswer(std::string_view line, Random& random);

// What the statistics count in a table (header line 0 not counted).
struct TableCounts {
    long mainPhrases = 0; // lines not starting with "_"
    long branches = 0;    // lines starting with "_"
    long learned = 0;     // every line but the header
    long answers = 0;     // ";" in lines 1 ... count-1
};
TableCounts CountTable(const Lines& table);

} // namespace tarmel
