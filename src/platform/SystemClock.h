#pragma once

#include "common/Clock.h"

// The system clock in local time.
class SystemClock : public Clock {
public:
    DateTime now() override { return toDateTime(QDateTime::currentDateTime()); }
};
