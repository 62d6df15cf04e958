#include "SongTitle.h"

#include "Id3TitleReader.h"
#include "common/KandolorError.h"

#include <QFileInfo>

QString SongTitle(const QString& fileName) {
    QString title;
    try {
        title = ReadId3v2Text(fileName, 1);
    } catch (const KandolorError&) {
        title.clear();
    }
    if (title == Id3NoTagText || title.trimmed().isEmpty())
        return QFileInfo(fileName).completeBaseName();
    return title;
}
