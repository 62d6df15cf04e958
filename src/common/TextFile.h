#pragma once

#include <QString>
#include <QStringList>

// Text files of one value per line. Reading accepts UTF-8 (a BOM is skipped) and falls back to
// Windows-1252 when the bytes are not valid UTF-8; line ends CR LF, LF or CR. Writing is UTF-8
// without BOM with CR LF line ends, the file replaced whole at once.
namespace TextFile {

// Whether a regular file exists at path.
bool exists(const QString& path);
// All lines of the file; throws KandolorError (E/A-Fehler) when it cannot be opened or read.
QStringList readLines(const QString& path);
// Decodes file bytes as described above and splits them into lines.
QStringList decodeLines(const QByteArray& bytes);
// Replaces the file by one with the given lines, each ended by CR LF: a new file is written beside it,
// synced and renamed over it, so that a failed save leaves the old file as it was. Throws KandolorError on
// failure.
void writeLines(const QString& path, const QStringList& lines);

} // namespace TextFile

// Windows-1252 to Unicode.
QString fromWindows1252(const QByteArray& bytes);
