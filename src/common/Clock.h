#pragma once

#include "DateTime.h"

// The system clock, local time.
class Clock {
public:
    virtual ~Clock() = default;
    // Date and time now, as days since 1899-12-30 with the time of day as fraction.
    virtual DateTime now() = 0;
    // Today's date (whole days).
    DateTime today() { return dateOf(now()); }
};
