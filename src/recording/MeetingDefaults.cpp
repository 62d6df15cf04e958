#include "MeetingDefaults.h"

#include "RecordingNames.h"
#include "settings/UiTexts.h"

namespace recording {

DayKind DayKindOf(int todayWeekday) {
    return todayWeekday == 1 || todayWeekday == 7 ? DayKind::Weekend : DayKind::Weekday;
}

void BuildDefaultFileNames(RecordingDefaults& defaults, int fileNameOrder, const QString& user,
                           const QDate& today) {
    defaults.DateString = DateString(today);
    defaults.DefaultFileName1 =
        JoinNamePieces(fileNameOrder, user, defaults.DateString, defaults.DefaultFileName1);
    defaults.DefaultFileName2 =
        JoinNamePieces(fileNameOrder, user, defaults.DateString, defaults.DefaultFileName2);
}

RecordingDefaults SetRecordingDefaults(int todayWeekday, const QStringList& uiTexts, int fileNameOrder,
                                       const QString& user, const QDate& today, int splitMinutes) {
    RecordingDefaults defaults;
    if (DayKindOf(todayWeekday) == DayKind::Weekend) {
        defaults.DefaultFileName1 = uiTexts.value(UiText::WeekendPart1);
        defaults.DefaultFileName2 = uiTexts.value(UiText::AbbrevWeekendPart2);
        defaults.DefaultTopic1 = uiTexts.value(UiText::WeekendPart1);
        defaults.DefaultTopic2 = uiTexts.value(UiText::WeekendPart2);
    } else {
        defaults.DefaultFileName1 = uiTexts.value(UiText::AbbrevWeekdayPart1);
        defaults.DefaultFileName2 = uiTexts.value(UiText::AbbrevWeekdayPart2);
        defaults.DefaultTopic1 = uiTexts.value(UiText::WeekdayPart1);
        defaults.DefaultTopic2 = uiTexts.value(UiText::WeekdayPart2);
    }
    BuildDefaultFileNames(defaults, fileNameOrder, user, today);
    defaults.DefaultFileName1 += NameSuffix(splitMinutes);
    defaults.DefaultFileName2 += NameSuffix(splitMinutes);
    return defaults;
}

RecordingFields ResetRecordingFields(const RecordingDefaults& defaults, int part) {
    if (part == 1)
        return {defaults.DefaultTopic1, QString(), QString(), defaults.DefaultFileName1};
    return {defaults.DefaultTopic2, QString(), QString(), defaults.DefaultFileName2};
}

QString MeetingPartsText(int todayWeekday, const QStringList& uiTexts) {
    const bool weekend = DayKindOf(todayWeekday) == DayKind::Weekend;
    return uiTexts.value(weekend ? UiText::WeekendPart1 : UiText::WeekdayPart1) + QChar(u' ') +
           uiTexts.value(weekend ? UiText::WeekendPart2 : UiText::WeekdayPart2);
}

SlotLabels SplitSlotLabels(const QString& s) {
    const qsizetype blank = s.indexOf(QChar(u' '));
    if (blank < 0)
        return {s, QString()};
    return {s.left(blank + 1), s.mid(blank, 20)};
}

} // namespace recording
