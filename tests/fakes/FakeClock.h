#pragma once

#include "common/Clock.h"

// A clock that stands still until a test sets or advances it.
class FakeClock : public Clock {
public:
    DateTime now() override { return current; }
    void set(int year, int month, int day, int hours = 12, int minutes = 0, int seconds = 0) {
        current = toDateTime(QDate(year, month, day)) + timeOfDay(hours, minutes, seconds);
    }
    void advanceSeconds(double seconds) { current += seconds / SecondsPerDay; }
    DateTime current = toDateTime(QDate(2026, 12, 9)) + timeOfDay(12, 0);
};
