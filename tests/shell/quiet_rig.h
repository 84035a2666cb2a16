#pragma once

// A window rig whose timers stand still, for tests that tick them by hand.

#include "cp1251.h"
#include "window_rig.h"

#include <QTimer>

#include <string>
#include <vector>

namespace tarmel::test {

struct QuietRig : WindowRig {
    QuietRig()
    {
        for (QTimer* timer : form().findChildren<QTimer*>())
            timer->stop();
    }

    // One turn as the user takes it.
    void say(const QString& phrase)
    {
        type(phrase);
        tick();
        pressEnter();
    }

    // The dialog log, in UTF-8.
    std::vector<std::string> log() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : windows.Form1->engine.Log.lines())
            lines.push_back(cp1251::toUtf8(line));
        return lines;
    }
};

} // namespace tarmel::test
