#pragma once

#include "clock.h"

namespace tarmel {

// Dates and times in the formats of the system locale.
class SystemClock : public Clock {
public:
    std::string timeText() override;
    std::string dateText() override;
};

} // namespace tarmel
