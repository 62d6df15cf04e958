#pragma once

#include <QString>

namespace recording {

// Why `folder` cannot take recordings, as the message shown to the operator; empty when it can. The folder
// stands unquoted at the end of the encoder's command line, which is split at blanks, tabs and double
// quotes: a folder with a blank or tab gets the message "Ordner: <folder> enthält Leerzeichen !" … , one
// with a double quote the same message naming "Anführungszeichen".
QString RecordingFolderProblem(const QString& folder);

// ApplyRecordingFolder: the folder that applies after choosing `chosen` — `chosen`, or `current` when
// RecordingFolderProblem(chosen) is not empty (the controller shows that message).
QString ApplyRecordingFolder(const QString& current, const QString& chosen);

} // namespace recording
