#pragma once

#include <QString>

// Opens the file (or with O_DIRECTORY in `flags`, the folder) at `path` for reading, close-on-exec so that
// no child process (the encoder) inherits it and keeps its volume busy; -1 when it cannot be opened.
int openReadOnlyFile(const QString& path, int flags = 0);

// Marks every descriptor above standard error close-on-exec. Runs in a child process between fork and
// exec, so that the child inherits none of the program's files, whoever opened them.
void markDescriptorsCloseOnExec();
