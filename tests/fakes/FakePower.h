#pragma once

#include "common/SystemPower.h"

// Counts the power-offs asked for; answers with `refusal` (empty: accepted).
class FakePower : public SystemPower {
public:
    QString powerOff() override {
        ++calls;
        return refusal;
    }
    int calls = 0;
    QString refusal;
};
