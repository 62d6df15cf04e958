#pragma once

#include <QString>

namespace recording {

// Why `folder` cannot take recordings, as the message shown to the operator; empty when it can. The folder
// stands unquoted at the end of the encoder's command line, which is split at blanks, tabs and double
// quotes: a folder with a blank or tab gets the message "Ordner: <folder> enthält Leerzeichen !" … , one
// with a double quote the same message naming "Anführungszeichen".
QString RecordingFolderProblem(const QString& folder);

// Why no recording can be written to `folder`, as the message shown to the operator; empty when it can. The
// folder is created when it is missing, and a file is created in it and removed again.
QString RecordingFolderUnwritable(const QString& folder);

} // namespace recording
