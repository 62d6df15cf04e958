#include "RecordingNames.h"

namespace recording {

bool SplittingOn(int splitMinutes) {
    return splitMinutes != NoSplitting && splitMinutes != 0 && splitMinutes != 1;
}

QString DateString(const QDate& day) {
    return QStringLiteral("%1_%2_%3").arg(day.year()).arg(day.month()).arg(day.day());
}

QString JoinNamePieces(int fileNameOrder, const QString& user, const QString& dateString,
                       const QString& title) {
    const QChar sep(u'_');
    switch (fileNameOrder) {
    case 1:
        return dateString + sep + user + sep + title;
    case 2:
        return dateString + sep + title + sep + user;
    case 3:
        return title + sep + dateString + sep + user;
    default:
        return user + sep + dateString + sep + title;
    }
}

QString NameSuffix(int splitMinutes) {
    return SplittingOn(splitMinutes) ? QStringLiteral("#0.mp3") : QStringLiteral(".mp3");
}

QString ThemaChangeFileName(int fileNameOrder, const QString& user, const QDate& today,
                            const QString& speaker, const QString& topic, int splitMinutes) {
    const QString title = speaker + QChar(u'_') + topic;
    return JoinNamePieces(fileNameOrder, user, DateString(today), title) + NameSuffix(splitMinutes);
}

QString RemoveForbiddenChars(const QString& text) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (!forbidden.contains(c) && c.category() != QChar::Other_Control)
            result.append(c);
    }
    return result;
}

} // namespace recording
