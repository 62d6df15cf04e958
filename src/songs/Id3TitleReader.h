#pragma once

#include <QString>

class QIODevice;

// Reads the text of one ID3v2 text frame of a song file or recording; never changes the file.
// Selector 1 "TIT2" (title), 2 "TCOM" (composer), 3 "TALB" (album).

inline const QString Id3NoTagText = QStringLiteral("ID3ERR_NoTag");

// The text of the first frame with the selected identifier, or "ID3ERR_NoTag" when there is no tag, no such
// frame before the padding or the end of the tag, a damaged frame size or an unsupported text encoding.
// The title loses its first characters (the song number and separator): five in ISO-8859-1, the byte-order
// mark and six more in UTF-16. Throws KandolorError (E/A-Fehler) when the file cannot be opened or ends
// inside a header or a content being read.
QString ReadId3v2Text(const QString& fileName, int selector);
// The same on an open, random-access device (a file or an in-memory buffer), read from its start.
QString ReadId3v2Text(QIODevice& device, int selector);
