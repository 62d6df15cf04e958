#include "EncoderFault.h"

#include "RecordingStatus.h"

#include <QStandardPaths>

namespace recording {

EncoderFault JudgeEncoderFault(int minutesOfRoom, double sinceRestart) {
    if (minutesOfRoom >= 0 && minutesOfRoom < StopMinutes)
        return EncoderFault::DiskFull;
    if (sinceRestart >= 0 && sinceRestart < RestartWindowSeconds)
        return EncoderFault::FailedAgain;
    return EncoderFault::Restart;
}

QString EncoderRestartedStatus() {
    return QStringLiteral("Encoder neu gestartet: Aufnahme läuft in neuer Datei");
}

QString EncoderFailedAgainMessage() {
    return QStringLiteral("Der Encoder (lame) hat erneut aufgehört zu arbeiten !\rDie Aufnahme ist "
                          "angehalten; bitte neu starten.");
}

QString EncoderRestartFailedMessage() {
    return QStringLiteral("Der Encoder (lame) hat aufgehört zu arbeiten und lässt sich nicht neu starten !\r"
                          "Die Aufnahme ist angehalten.");
}

QString EncoderStartMessage(bool installed) {
    if (!installed)
        return QStringLiteral("Kann Mp3-Encoding nicht starten\rDas Programm \"lame\" ist nicht installiert. "
                              "Bitte das Paket \"lame\" installieren (lassen).\r"
                              "Es wird nicht aufgenommen !");
    return QStringLiteral("Kann Mp3-Encoding nicht starten\rDas Programm \"lame\" lässt sich nicht "
                          "ausführen.\rEs wird nicht aufgenommen !");
}

bool EncoderInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty();
}

QString PartsMessage(const QStringList& files, bool interrupted) {
    const QString list = files.join(QStringLiteral(" und "));
    if (interrupted)
        return QStringLiteral("Was bis dahin aufgenommen wurde, ist gesichert: ") + list;
    if (files.size() < 2)
        return QStringLiteral("Der Encoder wurde neu gestartet; die Aufnahme ist gesichert: ") + list;
    const QString count = files.size() == 2 ? QStringLiteral("zwei") : QString::number(files.size());
    return QStringLiteral("Der Encoder wurde neu gestartet; die Aufnahme ist in %1 Dateien: ").arg(count) +
           list;
}

} // namespace recording
