#pragma once

#include <QString>

// Turning the computer off. Real: logind's PowerOff over the system bus.
class SystemPower {
public:
    virtual ~SystemPower() = default;

    // Asks the system to power off; an empty text when it accepted, else why not (for the operator).
    virtual QString powerOff() = 0;
};
