#pragma once

#include "clock.h"
#include "host.h"
#include "line_list.h"
#include "random.h"
#include "table_search.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tarmel {

// Variables of the conversation, kept from turn to turn for the whole run.
struct DialogState {
    std::string UserPhrase;         // the current user phrase, normalised
    std::string ReplyPhrase;        // the reply being produced, or the last idle remark/greeting
    std::string LastReply;          // the reply of the previous turn (learning reads it)
    std::string PreviousUserPhrase; // the user phrase of the previous turn (repeat test)
    std::string PreviousReply;      // the reply of the previous turn (AvoidRepeat)
    std::string FollowUpPhrase;     // follow-up of the chosen answer, said later by T13
    int IdleTicks = 0;              // T2 ticks since the last turn or idle remark
    int BranchDepth = 0;            // depth of the branch level the next turn continues; 0 = none
    int BranchLine = 0;             // table line that gave the last table reply
};

enum class ReplyRoad { Repeat, Abuse, LongPhrase, Branch, Table, Fallback };

// What reply selection returns besides ReplyPhrase and FollowUpPhrase.
struct ReplyOutcome {
    ReplyRoad Road = ReplyRoad::Fallback;
    bool FilterHit = false; // a Filter_nr fragment occurs in the phrase
    std::string TableLine;  // the table line that answered (roads Table and Branch)
};

// The conversation engine: the dialog state, the hidden line lists and one
// conversation turn, with reply selection and learning.
class Conversation {
public:
    Conversation(Host& host, Random& random, Clock& clock);

    // One conversation turn: takes the phrase, shows and logs it, selects and
    // shows a reply, learns, arms the timers. An empty phrase ends the turn at
    // once and changes nothing. A failing file stops the turn with an Error;
    // what was done before stays done.
    void RunTurn();

    // First letter to capital (Russian letters only), end punctuation fixed.
    static std::string NormalisePhrase(std::string phrase);
    // The text with five blanks and a line of "Base\CPUpvt.dat" appended when
    // it equals the previous reply apart from letter case.
    std::string AvoidRepeat(const std::string& text);
    // Shows and logs a bot line: bot sound, transcript line, log line.
    void PostBotLine(const std::string& text);
    // The log line of a bot text, "[time] CPU:     text".
    std::string BotLogLine(const std::string& text);

    ReplyOutcome SelectReply();
    // Selection steps: a reply drawn from a phrase list; an answer drawn from
    // table line index of RE2 (follow-up and branch context set); the branch
    // continuation, giving the matching line or 0 (tableEnded when the table
    // ran out first).
    void ReplyFromList(std::string_view name);
    void ReplyFromTableLine(std::size_t index, ReplyRoad road, ReplyOutcome& outcome);
    std::size_t ContinueBranch(std::string_view upperPhrase, bool& tableEnded);

    void RecordAbuse(const std::string& phrase);
    void LearnPhrase(const std::string& phrase, std::size_t rawLength, bool filterHit);

    // LoadList / SaveList / RandomLine on the scratch list RE2.
    void LoadList(std::string_view name) { files.load(RE2, name); }
    void SaveList(std::string_view name) { files.save(RE2, name); }
    std::string RandomLine();

    DialogState state;
    LineList RE2;           // scratch list every phrase file passes through
    LineList Log;           // the log lines of the current dialog
    LineList LoadtxtCpuCpu; // the exchange file's lines in Cpu\Cpu mode
    LineFileStore files;
    TableSearch tableSearch; // whole-key and key-words searches of the main table

    Host& host;
    Random& random;
    Clock& clock;
};

} // namespace tarmel
