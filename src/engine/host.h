#pragma once

#include <string>

namespace tarmel {

// The two text styles of the transcript.
enum class TextStyle { User, Cpu };

// What a conversation turn needs from the window. The main window implements
// it; engine tests implement it with a recording fake. Texts are Windows-1251.
class Host {
public:
    virtual ~Host() = default;

    // Cpu\Cpu mode is chosen ("C&pu\Cpu" ticked): the phrase comes from the
    // exchange file and the reply goes back into it.
    virtual bool exchangeMode() const = 0;
    // The text of the input line.
    virtual std::string inputText() const = 0;
    // The exchange file's name as the editor window shows it (UTF-8).
    virtual std::string exchangePath() const = 0;
    // Empties the input line.
    virtual void clearInput() = 0;

    // The application's busy (hourglass) cursor on or off.
    virtual void setBusyCursor(bool busy) = 0;
    // MP2: the user's line is written.
    virtual void playUserSound() = 0;
    // MP5: a bot line is written.
    virtual void playBotSound() = 0;
    // Appends a line to the transcript in the given style.
    virtual void showLine(const std::string& text, TextStyle style) = 0;

    // T4: the leaving animation on or off.
    virtual void setLeaving(bool on) = 0;
    // T13: the follow-up remark is switched on.
    virtual void armFollowUp() = 0;
    // T9: the after-turn remark on or off.
    virtual void setAfterTurnRemark(bool on) = 0;
};

} // namespace tarmel
