#pragma once

// Helpers shared by the engine tests: scripted chance, a fixed clock, a
// recording window, and a temporary working folder holding a phrase base.

#include "clock.h"
#include "conversation.h"
#include "cp1251.h"
#include "host.h"
#include "line_file.h"
#include "random.h"

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace tarmel::test {

// Windows-1251 text from a UTF-8 literal.
inline std::string w(std::string_view utf8)
{
    return cp1251::fromUtf8(utf8);
}
// Windows-1251 lines from UTF-8 literals.
Lines wLines(const std::vector<std::string>& utf8);

// Draws from a script; when the script runs out every draw is 0. Each draw
// is also recorded with its range.
class ScriptedRandom : public Random {
public:
    explicit ScriptedRandom(std::deque<int> script = {}) : script_(std::move(script)) {}
    int draw(int n) override;
    void reseed() override { ++reseeds; }
    void push(std::initializer_list<int> draws) { script_.insert(script_.end(), draws); }

    std::vector<int> ranges; // the n of every draw, in order
    int reseeds = 0;

private:
    std::deque<int> script_;
};

class FixedClock : public Clock {
public:
    std::string timeText() override { return time; }
    std::string dateText() override { return date; }
    std::string time = "12:34:56";
    std::string date = "11.12.2026";
};

// Records what the engine asks of the window.
class RecordingHost : public Host {
public:
    bool exchangeMode() const override { return cpuMode; }
    std::string inputText() const override { return input; }
    std::string exchangePath() const override { return exchangeFile; }
    void clearInput() override { input.clear(); }
    void setBusyCursor(bool busy) override { this->busy = busy; }
    void playUserSound() override { events.push_back("sound:user"); }
    void playBotSound() override { events.push_back("sound:bot"); }
    void showLine(const std::string& text, TextStyle style) override
    {
        transcript.push_back(text);
        events.push_back((style == TextStyle::User ? "user:" : "bot:") + cp1251::toUtf8(text));
    }
    void setLeaving(bool on) override { leaving = on; }
    void armFollowUp() override { followUpArmed = true; }
    void setAfterTurnRemark(bool on) override { afterTurnRemark = on; }

    bool cpuMode = false;
    std::string input;
    std::string exchangeFile = "Txt.Dat";
    bool busy = false;
    bool leaving = false;
    bool followUpArmed = false;
    bool afterTurnRemark = false;
    std::vector<std::string> transcript;
    std::vector<std::string> events;
};

// A temporary folder made the current directory for the test's lifetime.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes raw bytes to a file (relative to the folder).
    void write(const std::string& name, std::string_view bytes) const;
    // Writes plain Windows-1251 lines given in UTF-8.
    void writeLines(const std::string& name, const std::vector<std::string>& utf8) const;
    // The lines of a file as the program reads them, in UTF-8.
    std::vector<std::string> readLines(const std::string& name) const;

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// A small but complete phrase base in a temporary folder.
class BaseFolder : public TempFolder {
public:
    BaseFolder();
};

// An engine wired to the fakes above.
struct EngineRig {
    ScriptedRandom random;
    FixedClock clock;
    RecordingHost host;
    Conversation engine{host, random, clock};
};

} // namespace tarmel::test
