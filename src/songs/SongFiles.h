#pragma once

#include <QString>

// Song files in the song folder: "iasn_" + language code + "_" + number (at least three digits) + extension.
// Masks are matched case-insensitively; folders end with "/".

// Smallest number of song files a song folder should hold.
constexpr int MinimumSongCount = 135;

// The song number with at least three digits: 7 -> "007", 1234 -> "1234".
QString paddedSongNumber(int number);
// "iasn_X_007.mp3" for language code "X", number 7 and extension ".mp3".
QString songFileName(const QString& languageCode, int number, const QString& ext);
// Whether name matches mask ("*" any run of characters, "?" one character), ignoring case.
bool matchesFileMask(const QString& name, const QString& mask);
// Names of the files in folder matching mask, in case-insensitive alphabetical order.
QStringList matchingFiles(const QString& folder, const QString& mask);

// The file name (without folder) of song number in folder, or an empty string when there is none: the first
// match of the name with languageCode, then, when fallback is allowed, of "iasn_*_" + number + ext.
QString FindSongFile(const QString& folder, const QString& languageCode, const QString& ext, int number,
                     bool fallback);
// Number of files in folder matching "*" + ext.
int CountSongFiles(const QString& folder, const QString& ext);
// UI text FewerSongsWarning when folder holds fewer than MinimumSongCount song files, else an empty string.
QString songFolderWarning(const QString& folder, const QString& ext);
// The folder part of a path: everything up to and including its last "/" (empty when it has none).
QString folderOfPath(const QString& path);
