#include "RecordingFolder.h"
#include "settings/UiTexts.h"

#include <QDir>
#include <QTemporaryFile>

namespace recording {

QString RecordingFolderUnwritable(const QString& folder) {
    if (!RecordingFolderCanBeMade(folder))
        return uiText(UiText::FolderCannotBeMade, folder);
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".kandolor-XXXXXX")));
    if (!probe.open())
        return uiText(UiText::FolderNotWritable, folder);
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
    return uiText(UiText::FolderFallback, shown, fallback);
}

} // namespace recording
