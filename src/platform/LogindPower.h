#pragma once

#include "common/SystemPower.h"

#include <QDBusConnection>

// PowerOff of org.freedesktop.login1 on the given bus (the system bus; a test passes its own).
class LogindPower : public SystemPower {
public:
    explicit LogindPower(QDBusConnection bus = QDBusConnection::systemBus());
    QString powerOff() override;

private:
    QDBusConnection bus_;
};
