#pragma once

// Turns without a window, for the benchmark and the fuzz targets: a host that
// shows nothing and takes its phrase from a string, and a clock that stands
// still.

#include "clock.h"
#include "host.h"

#include <string>

namespace tarmel {

class HeadlessHost : public Host {
public:
    bool exchangeMode() const override { return false; }
    std::string inputText() const override { return input; }
    std::string exchangePath() const override { return {}; }
    void clearInput() override { input.clear(); }
    void setBusyCursor(bool) override {}
    void playUserSound() override {}
    void playBotSound() override {}
    void showLine(const std::string&, TextStyle) override {}
    void setLeaving(bool) override {}
    void armFollowUp() override {}
    void setAfterTurnRemark(bool) override {}

    std::string input; // the phrase of the next turn
};

class StillClock : public Clock {
public:
    std::string timeText() override { return "12:00:00"; }
    std::string dateText() override { return "01.01.2026"; }
};

} // namespace tarmel
