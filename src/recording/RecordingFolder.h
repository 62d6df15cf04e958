#pragma once

#include <QString>

namespace recording {

// Why no recording can be written to `folder`, as the message shown to the operator; empty when it can. The
// folder is created when it is missing, and a file is created in it and removed again.
QString RecordingFolderUnwritable(const QString& folder);

// Whether `folder` exists or can be created (a path with a NUL byte from a damaged file cannot).
bool RecordingFolderCanBeMade(const QString& folder);

// The message when the recording folder `folder` of the settings cannot be made and `fallback` is taken.
QString FolderFallbackMessage(const QString& folder, const QString& fallback);

} // namespace recording
