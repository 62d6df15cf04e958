#pragma once

#include <QDate>
#include <QString>

namespace recording {

// The value of SplitMinutes that means "no splitting".
inline constexpr int NoSplitting = 100;

// Whether recordings are split: SplitMinutes other than 100, 0 and 1. The settings show 0 and 1 (possible
// only from an edited settings file) as "no splitting" and save them as 100, so they are treated as such here
// too (0 would otherwise split at every tick of the first minute).
bool SplittingOn(int splitMinutes);

// The day as year_month_day without leading zeros: 2015_3_1.
QString DateString(const QDate& day);

// `user`, `dateString` and `title` joined with "_" in FileNameOrder: 0 user-date-title, 1 date-user-title,
// 2 date-title-user, 3 title-date-user. A FileNameOrder outside 0..3 (only from an edited settings file) is
// taken as 0.
QString JoinNamePieces(int fileNameOrder, const QString& user, const QString& dateString,
                       const QString& title);

// End of a name made from its pieces: ".mp3", or "#0.mp3" when splitting is on.
QString NameSuffix(int splitMinutes);

// The file name that follows speaker and topic as they are typed (ThemaChange): the pieces with the title
// speaker + "_" + topic, then the suffix. Blanks in speaker and topic stay.
QString ThemaChangeFileName(int fileNameOrder, const QString& user, const QDate& today,
                            const QString& speaker, const QString& topic, int splitMinutes);

// The text without any of the characters \ / : * ? " < > | and without control characters (a line end or
// a tab pasted into the topic); the result of RemoveForbiddenChars once its write-back has stopped
// changing the text.
QString RemoveForbiddenChars(const QString& text);

} // namespace recording
