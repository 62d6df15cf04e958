#pragma once

#include "common/DateTime.h"
#include "common/FileCopier.h"
#include "recording/RecordName.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace recordings {

// A recording of the recording folder: its file name and the day of its last change.
struct RecordingFile {
    QString name;
    DateTime day = 0;
};

// The "*.mp3" files directly in folder, in ascending name order regardless of case; a missing folder
// gives none.
std::vector<RecordingFile> ListRecordings(const QString& folder);

// The age group (1 today ... 8 six weeks and more) of a recording's day, seen on `today`; 0 for a day after
// today, which is not listed.
int AgeGroupOf(DateTime day, DateTime today);

// The copy dialog's source list: for each age group that holds a recording its heading ("--> " and the
// group's text from `uiTexts`) and then the names of its recordings in their order.
QStringList SourceList(const std::vector<RecordingFile>& recordings, DateTime today,
                       const QStringList& uiTexts);

// A line of the source list is a heading exactly when it begins with "-->".
bool IsHeading(const QString& line);

// The folders of the first four selected target lines, top down.
QStringList TakenTargets(const QStringList& targetFolders, const std::vector<bool>& selected);

// The full paths of the selected source lines that are no heading, in list order.
QStringList SelectedSources(const QStringList& lines, const std::vector<bool>& selected,
                            const QString& folder);

// The name a file can have on any stick (vfat and exFAT included): without the characters \ / : * ? " < > |
// and control characters, as recording names are made.
QString StickName(const QString& name);

// The name a recording is copied under into `folder`: its StickName with the numbering rule, so nothing is
// replaced (name, base#0, base#1 ...; a "#" number of its own is replaced at the first collision).
QString NameOnTarget(const QString& name, const QString& folder, const recording::FileExists& exists);

// The message for a copy of `file` to `target` that did not end in CopyResult::Done; it says that the
// recording itself is kept.
QString CopyFailureMessage(const CopyOutcome& outcome, const QString& file, const QString& target);

// The note that `file` was copied to `target` as `copy`, a name without the characters sticks refuse.
QString RenamedCopyMessage(const QString& file, const QString& copy, const QString& target);

} // namespace recordings
