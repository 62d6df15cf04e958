#include "RecordingFolder.h"

#include <QDir>
#include <QTemporaryFile>

namespace recording {

namespace {
QString refusal(const QString& folder, const QString& what) {
    const QChar cr(u'\r');
    return QStringLiteral("Ordner: ") + folder + QStringLiteral(" enthält ") + what + QStringLiteral(" !") +
           cr + QStringLiteral("Aufnahme in diesen Ordner nicht möglich !") + cr +
           QStringLiteral("Bitte anderen Ordner wählen bzw. ") + what + QStringLiteral(" entfernen !");
}
} // namespace

QString RecordingFolderProblem(const QString& folder) {
    if (folder.contains(QChar(u' ')) || folder.contains(QChar(u'\t')))
        return refusal(folder, QStringLiteral("Leerzeichen"));
    if (folder.contains(QChar(u'"')))
        return refusal(folder, QStringLiteral("Anführungszeichen"));
    return QString();
}

QString RecordingFolderUnwritable(const QString& folder) {
    const QChar cr(u'\r');
    const auto message = [&](const QString& what) {
        return QStringLiteral("Der Aufnahme-Ordner ") + folder + QLatin1Char(' ') + what +
               QStringLiteral(" !") + cr + QStringLiteral("Aufnahmen sind so nicht möglich !") + cr +
               QStringLiteral("Bitte in den Einstellungen einen anderen Ordner wählen !");
    };
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return message(QStringLiteral("kann nicht angelegt werden"));
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".kandolor-XXXXXX")));
    if (!probe.open())
        return message(QStringLiteral("kann nicht beschrieben werden"));
    return QString();
}

} // namespace recording
