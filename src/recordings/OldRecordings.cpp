#include "OldRecordings.h"

#include "common/KandolorError.h"
#include "songs/Id3TitleReader.h"
#include "songs/SongFiles.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace recordings {

int DeleteAgeDays(const QString& deleteAgeCode) {
    if (deleteAgeCode == QLatin1String("1"))
        return 30;
    if (deleteAgeCode == QLatin1String("2"))
        return 60;
    if (deleteAgeCode == QLatin1String("3"))
        return 90;
    return 0;
}

bool IsOwnRecording(const QString& composer, const QString& album) {
    const QString mark = QStringLiteral("Kandolor");
    return composer.startsWith(mark) || album.startsWith(mark);
}

bool IsOldEnough(DateTime modified, DateTime today, int days) {
    return std::floor(today) - modified > days;
}

QStringList OldRecordingsToDelete(const QString& folder, DateTime today, int days,
                                  const QSet<QString>& busy) {
    QStringList names = matchingFiles(folder, QStringLiteral("*.mp3"));
    std::reverse(names.begin(), names.end());
    QStringList doomed;
    for (const QString& name : names) {
        const QString path = folder + name;
        if (busy.contains(path))
            continue;
        try {
            const QString composer = ReadId3v2Text(path, 2);
            const QString album = ReadId3v2Text(path, 3);
            if (IsOwnRecording(composer, album) &&
                IsOldEnough(toDateTime(QFileInfo(path).lastModified()), today, days))
                doomed << path;
        } catch (const KandolorError&) {
            // A file that cannot be read (still being written, no rights) stays.
        }
    }
    return doomed;
}

} // namespace recordings
