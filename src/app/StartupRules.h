#pragma once

#include "common/DateTime.h"

#include <QByteArray>
#include <QString>

// Plain rules of the start-up sequence.
namespace StartupRules {

// The meeting time that applies today at time of day now.
DateTime nextMeetingTime(DateTime meetingTime1, DateTime meetingTime2, DateTime now);

// home + "/Aufnahmen", blanks replaced by "_" (without trailing separator).
QString defaultRecordingFolder(const QString& home);

// The split menu item to check for the minutes: 10..40 their own, 100 "Nein" (every other value 0..100),
// -1 none.
int splitMenuChoice(int splitMinutes);

} // namespace StartupRules
