#include "RecordingStatus.h"

#include "EncoderFault.h"

#include <QDir>
#include <cmath>

namespace recording {

int MinutesOfRoom(std::int64_t freeBytes) {
    return freeBytes < 0 ? -1 : static_cast<int>(freeBytes / RecordingBytesPerMinute);
}

QString NoRoomMessage(const QString& folder, bool running) {
    return QStringLiteral("Der Speicher für ") + folder +
           QStringLiteral(" ist voll: Platz für weniger als ") + QString::number(StopMinutes) +
           QStringLiteral(" Minuten Aufnahme !\r") +
           (running ? QStringLiteral("Die Aufnahme ist angehalten; ")
                    : QStringLiteral("Die Aufnahme startet nicht; ")) +
           QStringLiteral("bitte Platz schaffen oder in den Einstellungen einen anderen Ordner wählen.");
}

QString LostAudioMessage(double seconds) {
    return QStringLiteral(
               "Der Encoder kam nicht nach: %1 Sekunden dieser Aufnahme fehlen !\rDer Computer war "
               "zu stark belastet; der Rest der Aufnahme ist gesichert.")
        .arg(std::ceil(seconds), 0, 'f', 0);
}

bool SilenceWatch::update(double seconds, int level) {
    const double step = seconds >= last_ ? seconds - last_ : seconds;
    last_ = seconds;
    silentFor_ = level >= 0 && level < SilenceLevel ? silentFor_ + step : 0;
    return silentFor_ >= SilenceSeconds;
}

QString StatusText(const RecordingStatus& status) {
    if (status.minutesOfRoom >= 0 && status.minutesOfRoom < WarnMinutes)
        return QStringLiteral("Speicher fast voll: noch %1 Minuten Aufnahme").arg(status.minutesOfRoom);
    if (status.encoderRestarted)
        return EncoderRestartedStatus();
    if (status.silent)
        return QStringLiteral("Kein Eingangssignal !");
    if (status.encoderBehind)
        return QStringLiteral("Encoder kommt nicht nach !");
    return QString();
}

QString FolderGoneMessage(const QString& lost, const QString& folder, bool remade, bool goesOn) {
    const QChar cr(u'\r');
    const QString gone =
        QStringLiteral("Der Aufnahme-Ordner ") + lost + QStringLiteral(" ist verschwunden !");
    if (folder.isEmpty())
        return gone + cr +
               QStringLiteral("Er kann nicht neu angelegt werden, und der Standard-Ordner auch ") +
               QStringLiteral("nicht: die Aufnahme ist angehalten.");
    const QString where =
        remade ? QStringLiteral("Er wurde neu angelegt.")
               : QStringLiteral("Er kann nicht neu angelegt werden; Aufnahmen gehen ab jetzt in ") +
                     QStringLiteral("den Standard-Ordner ") + folder + QStringLiteral(" .");
    const QString kept =
        QStringLiteral("Was bis dahin aufgenommen wurde, wird in ") + folder + QStringLiteral(" gesichert.");
    if (!goesOn)
        return gone + cr + where + cr + kept;
    return gone + cr + where + cr + QStringLiteral("Die Aufnahme läuft weiter in ") + folder +
           QStringLiteral(" ; was bis dahin aufgenommen wurde, wird dort gesichert.");
}

QString FolderGoneStatus(const QString& folder) {
    // The message box names the whole path; the status line has room for the folder's own name.
    const QString name = QDir(folder).dirName();
    return QStringLiteral("Ordner fehlte – Aufnahme läuft weiter in \"") + name + QLatin1Char('"');
}

QString FinishingText() {
    return QStringLiteral("Aufnahme wird noch geschrieben …");
}

} // namespace recording
