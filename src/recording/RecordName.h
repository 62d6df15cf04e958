#pragma once

#include <QString>

#include <functional>

namespace recording {

// Whether a file exists at a full path.
using FileExists = std::function<bool(const QString& path)>;
// The FileExists of the real file system.
bool ExistsOnDisk(const QString& path);

// `name` with its "#" number removed: from its first "#" four characters (the "#" and at most three more).
QString StripNumber(const QString& name);

// The numbering rule: the first name of n, n#0, n#1 … (n stripped of an earlier "#" number once a collision
// happens) for which `folder` + name + `extension` does not exist. Returns the name without extension.
QString ApplyNumberingRule(const QString& name, const QString& extension, const QString& folder,
                           const FileExists& exists);

// A file name split at its last "." (the dot goes with the extension; no dot: empty extension).
struct NameParts {
    QString baseName;
    QString extension;
};
NameParts SplitExtension(const QString& fileName);

// The name of a recording fixed at its start (RecordBaseName, RecordExtension).
struct RecordName {
    QString RecordBaseName;
    QString RecordExtension;
    QString fileName() const { return RecordBaseName + RecordExtension; }
};

// Fixing the name at the start of a recording from the text of the file name field: an empty field takes
// `defaultName` (DefaultFileName1 when the first slot is checked, else DefaultFileName2); the extension is
// lower-cased and becomes ".mp3" if it is another; the "#" number is stripped; "#0" is appended when
// splitting is on; the numbering rule makes the name unique in `recordingFolder`. The field then shows
// fileName().
RecordName FixRecordName(const QString& datei, const QString& defaultName, int splitMinutes,
                         const QString& recordingFolder, const FileExists& exists);

} // namespace recording
