#pragma once

#include <QString>

// The title a label shows for a song file: the title of its tag, or, when it has no readable title (no
// tag, no title frame, an empty title, a file that cannot be read), its file name without the extension.
QString SongTitle(const QString& fileName);
