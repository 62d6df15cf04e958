#include "recording/DeviceMessages.h"

#include <cmath>

namespace recording {

QString NoOutputDeviceMessage() {
    return QStringLiteral(
        "Kein Tongerät verfügbar – im Moment kann nichts abgespielt werden.\rKandolor sucht "
        "selbst weiter nach dem Gerät; sobald es bereit ist, kann abgespielt werden.");
}

QString NoInputDeviceMessage() {
    return QStringLiteral(
        "Kein Aufnahmegerät verfügbar – im Moment wird nichts aufgenommen.\rDie Aufnahme "
        "beginnt von selbst, sobald das Gerät bereit ist; bis dahin steht „Eingang fehlt !“ "
        "im Fenster.");
}

QString InputMissingMessage(double seconds) {
    const long whole = std::lround(seconds);
    if (whole < 1)
        return QString();
    return QStringLiteral("Der Eingang fehlte während der Aufnahme insgesamt %1; was davor und danach "
                          "aufgenommen wurde, ist gesichert.")
        .arg(whole == 1 ? QStringLiteral("1 Sekunde") : QStringLiteral("%1 Sekunden").arg(whole));
}

} // namespace recording
