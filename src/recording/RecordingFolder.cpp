#include "RecordingFolder.h"

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

QString ApplyRecordingFolder(const QString& current, const QString& chosen) {
    return RecordingFolderProblem(chosen).isEmpty() ? chosen : current;
}

} // namespace recording
