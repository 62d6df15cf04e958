#include "RecordName.h"

#include "RecordingNames.h"

#include <QFileInfo>

namespace recording {

bool ExistsOnDisk(const QString& path) {
    return QFileInfo::exists(path);
}

QString StripNumber(const QString& name) {
    const qsizetype hash = name.indexOf(QChar(u'#'));
    if (hash < 0)
        return name;
    QString stripped = name;
    stripped.remove(hash, 4);
    return stripped;
}

QString ApplyNumberingRule(const QString& name, const QString& extension, const QString& folder,
                           const FileExists& exists) {
    QString n = name;
    for (int k = 0; exists(folder + n + extension); ++k)
        n = StripNumber(n) + QChar(u'#') + QString::number(k);
    return n;
}

NameParts SplitExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(QChar(u'.'));
    if (dot < 0)
        return {fileName, QString()};
    return {fileName.left(dot), fileName.mid(dot)};
}

RecordName FixRecordName(const QString& datei, const QString& defaultName, int splitMinutes,
                         const QString& recordingFolder, const FileExists& exists) {
    const QString text = datei.isEmpty() ? defaultName : datei;
    const NameParts parts = SplitExtension(text);
    const QString mp3 = QStringLiteral(".mp3");
    QString extension = parts.extension.toLower();
    if (extension != mp3)
        extension = mp3;
    QString baseName = StripNumber(parts.baseName);
    if (SplittingOn(splitMinutes))
        baseName += QStringLiteral("#0");
    return {ApplyNumberingRule(baseName, extension, recordingFolder, exists), extension};
}

} // namespace recording
