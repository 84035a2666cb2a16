#pragma once

#include <string>

namespace tarmel {

// Dates and times as the user's locale writes them, for the dialog log.
class Clock {
public:
    virtual ~Clock() = default;
    // The current time in the long time format (hours, minutes, seconds).
    virtual std::string timeText() = 0;
    // The current date in the short date format.
    virtual std::string dateText() = 0;
};

} // namespace tarmel
