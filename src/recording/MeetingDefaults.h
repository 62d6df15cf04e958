#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace recording {

// The meeting of the day: Saturday and Sunday (TodayWeekday 7 and 1) the weekend meeting, else the midweek
// one.
enum class DayKind { Weekend, Weekday };
DayKind DayKindOf(int todayWeekday);

// Default names and topics of the two parts of the meeting, and the DateString they were made with.
struct RecordingDefaults {
    QString DefaultFileName1;
    QString DefaultFileName2;
    QString DefaultTopic1;
    QString DefaultTopic2;
    QString DateString;
};

// BuildDefaultFileNames: DateString := `today`; each default name, which holds only its part prefix, becomes
// `user`, DateString and the prefix joined in `fileNameOrder`.
void BuildDefaultFileNames(RecordingDefaults& defaults, int fileNameOrder, const QString& user,
                           const QDate& today);

// SetRecordingDefaults: prefixes "Vortrag"/"WTS" (weekend) or "BST"/"DZK" (weekday), topics UI texts 20/22 or
// 21/23 of `uiTexts`, BuildDefaultFileNames, then the suffix (".mp3" or "#0.mp3") on both names.
RecordingDefaults SetRecordingDefaults(int todayWeekday, const QStringList& uiTexts, int fileNameOrder,
                                       const QString& user, const QDate& today, int splitMinutes);

// The texts ResetRecordingFields(part) puts into Thema, Redner, Kommentar and Datei (in that order; the
// modified flags of all four are cleared afterwards). Part 1 is the first part, any other the second.
struct RecordingFields {
    QString Thema;
    QString Redner;
    QString Kommentar;
    QString Datei;
};
RecordingFields ResetRecordingFields(const RecordingDefaults& defaults, int part);

// The slots' meeting part text s: UI text 20 + " " + UI text 22 on a weekend, 21 + " " + 23 on a weekday.
QString MeetingPartsText(int todayWeekday, const QStringList& uiTexts);

// Label4 := s up to and including its first blank; Label5 := the 20 characters of s beginning with that
// blank. (s always holds a blank; without one Label4 would be s and Label5 empty.)
struct SlotLabels {
    QString Label4;
    QString Label5;
};
SlotLabels SplitSlotLabels(const QString& s);

} // namespace recording
