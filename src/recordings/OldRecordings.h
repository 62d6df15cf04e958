#pragma once

#include "common/DateTime.h"

#include <QSet>
#include <QString>
#include <QStringList>

namespace recordings {

// Days of DeleteAgeCode: "1" 30, "2" 60, "3" 90; 0 (never delete) for "0" and anything else.
int DeleteAgeDays(const QString& deleteAgeCode);

// A recording of the system's own: its composer or album text begins with "Kandolor".
bool IsOwnRecording(const QString& composer, const QString& album);

// Old enough to go: more than `days` days from its last change to today at 0:00.
bool IsOldEnough(DateTime modified, DateTime today, int days);

// The files DeleteOldRecordings deletes in `folder`: the "*.mp3" files directly in it, from the last in name
// order to the first, of the system's own and old enough. Files in `busy` (being written, finished or
// copied) and files that cannot be read are left alone; a missing folder gives none.
QStringList OldRecordingsToDelete(const QString& folder, DateTime today, int days, const QSet<QString>& busy);

} // namespace recordings
