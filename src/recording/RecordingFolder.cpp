#include "RecordingFolder.h"

#include <QDir>
#include <QTemporaryFile>

namespace recording {

QString RecordingFolderUnwritable(const QString& folder) {
    const QChar cr(u'\r');
    const auto message = [&](const QString& what) {
        return QStringLiteral("Der Aufnahme-Ordner ") + folder + QLatin1Char(' ') + what +
               QStringLiteral(" !") + cr + QStringLiteral("Aufnahmen sind so nicht möglich !") + cr +
               QStringLiteral("Bitte in den Einstellungen einen anderen Ordner wählen !");
    };
    if (!RecordingFolderCanBeMade(folder))
        return message(QStringLiteral("kann nicht angelegt werden"));
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".kandolor-XXXXXX")));
    if (!probe.open())
        return message(QStringLiteral("kann nicht beschrieben werden"));
    return QString();
}

bool RecordingFolderCanBeMade(const QString& folder) {
    return !folder.isEmpty() && QDir().mkpath(folder);
}

QString FolderFallbackMessage(const QString& folder, const QString& fallback) {
    QString shown = folder;
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    return QStringLiteral("Der Aufnahme-Ordner ") + shown +
           QStringLiteral(" kann nicht angelegt werden !\r") +
           QStringLiteral("Aufnahmen gehen ab jetzt in den Standard-Ordner ") + fallback +
           QStringLiteral(" ; in den Einstellungen kann ein anderer gewählt werden.");
}

} // namespace recording
