#include "app/StartupRules.h"

namespace StartupRules {

DateTime nextMeetingTime(DateTime meetingTime1, DateTime meetingTime2, DateTime now) {
    const bool firstAhead = meetingTime1 - now > 0;
    const bool secondAhead = meetingTime2 - now > 0;
    if (firstAhead && secondAhead)
        return meetingTime1 > meetingTime2 ? meetingTime2 : meetingTime1;
    return firstAhead ? meetingTime1 : meetingTime2;
}

QString defaultRecordingFolder(const QString& home) {
    QString folder = home + QStringLiteral("/Aufnahmen");
    folder.replace(QLatin1Char(' '), QLatin1Char('_'));
    return folder;
}

int splitMenuChoice(int splitMinutes) {
    switch (splitMinutes) {
    case 10:
    case 20:
    case 30:
    case 40:
        return splitMinutes;
    default:
        return (splitMinutes >= 0 && splitMinutes <= 100) ? 100 : -1;
    }
}

} // namespace StartupRules
