#include "conversation.h"

#include "cp1251.h"
#include "phrase_base.h"

namespace tarmel {

Conversation::Conversation(Host& hostWindow, Random& chance, Clock& timeSource)
    : host(hostWindow), random(chance), clock(timeSource)
{
}

std::string Conversation::NormalisePhrase(std::string phrase)
{
    if (phrase.empty())
        return phrase;
    const auto first = static_cast<unsigned char>(phrase.front());
    if (first >= 0xE0 || first == 0xB8) // а ... я, ё
        phrase.front() = cp1251::toUpper(phrase.front());
    const char last = phrase.back();
    if (last == ',')
        phrase.back() = '.';
    else if (last != '!' && last != '?' && last != '.')
        phrase += '.';
    return phrase;
}

std::string Conversation::AvoidRepeat(const std::string& text)
{
    if (cp1251::upper(text) != cp1251::upper(state.PreviousReply))
        return text;
    LoadList(files::kRepeatTails);
    return text + "     " + RandomLine();
}

std::string Conversation::BotLogLine(const std::string& text)
{
    return "[" + clock.timeText() + "] CPU:     " + text;
}

void Conversation::PostBotLine(const std::string& text)
{
    host.playBotSound();
    host.showLine(text, TextStyle::Cpu);
    Log.append(BotLogLine(text));
}

std::string Conversation::RandomLine()
{
    return RE2.line(static_cast<std::size_t>(random.draw(static_cast<int>(RE2.count()))));
}

void Conversation::RunTurn()
{
    random.reseed();
    std::string phrase = host.exchangeMode() ? LoadtxtCpuCpu.line(0) : host.inputText();
    if (phrase.empty())
        return; // nothing to answer: the turn ends before it changes anything
    state.UserPhrase = std::move(phrase);

    host.setBusyCursor(true);
    try {
        state.FollowUpPhrase.clear();
        const std::size_t rawLength = state.UserPhrase.size();
        state.UserPhrase = NormalisePhrase(state.UserPhrase);
        host.playUserSound();
        host.showLine(state.UserPhrase, TextStyle::User);
        Log.append("[" + clock.timeText() + "] USER:     " + state.UserPhrase);

        const ReplyOutcome outcome = SelectReply();
        if (outcome.Road == ReplyRoad::Abuse)
            RecordAbuse(state.UserPhrase);
        else if (outcome.Road == ReplyRoad::Fallback)
            LearnPhrase(state.UserPhrase, rawLength, outcome.FilterHit);

        if (outcome.Road == ReplyRoad::Table)
            host.setLeaving(!outcome.TableLine.empty() && outcome.TableLine.back() == '@');

        state.ReplyPhrase = AvoidRepeat(state.ReplyPhrase);
        PostBotLine(state.ReplyPhrase);

        if (!state.FollowUpPhrase.empty() && random.draw(2) == 0)
            host.armFollowUp();
        host.setBusyCursor(false);

        if (outcome.Road == ReplyRoad::Repeat || outcome.Road == ReplyRoad::LongPhrase ||
            outcome.Road == ReplyRoad::Fallback) {
            if (random.draw(3) == 0) {
                host.setAfterTurnRemark(true);
                LoadList(files::kAfterTurnRemarks);
            } else {
                host.setAfterTurnRemark(false);
            }
        }

        if (host.exchangeMode()) {
            LoadtxtCpuCpu.clear();
            LoadtxtCpuCpu.append(state.ReplyPhrase);
            files.save(LoadtxtCpuCpu, host.exchangePath());
        }
    } catch (...) {
        // A failed turn must not leave the hourglass behind.
        host.setBusyCursor(false);
        throw;
    }

    state.LastReply = state.ReplyPhrase;
    state.PreviousUserPhrase = state.UserPhrase;
    state.PreviousReply = state.ReplyPhrase;
    host.clearInput();
    state.IdleTicks = 0;
}

} // namespace tarmel
