#pragma once

#include <QString>

class QIODevice;

// Reads the text of one ID3v2 text frame (versions 2.2, 2.3 and 2.4) of a song file or recording; never
// changes the file. Selector 1 "TIT2" (title), 2 "TCOM" (composer), 3 "TALB" (album); in version 2.2
// "TT2", "TCM" and "TAL".

inline const QString Id3NoTagText = QStringLiteral("ID3ERR_NoTag");

// The text of the first frame with the selected identifier, or "ID3ERR_NoTag" when there is no tag, no such
// frame before the padding or the end of the tag, a damaged frame size or an unknown text encoding. The
// text is decoded as Id3FrameText::decode says: a title loses its song number prefix ("001 - ").
// Throws KandolorError (E/A-Fehler) when the file cannot be opened or ends inside a header or a content
// being read.
QString ReadId3v2Text(const QString& fileName, int selector);
// The same on an open, random-access device (a file or an in-memory buffer), read from its start.
QString ReadId3v2Text(QIODevice& device, int selector);
