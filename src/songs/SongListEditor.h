#pragma once

#include "SongList.h"
#include "common/DateTime.h"

#include <QString>
#include <QStringList>

// Plain logic of the song list editor: the weeks shown from today on, the file's entries placed by date, the
// message while typing.
namespace SongListEditor {

// Weeks 1..53 are shown; week 54 is kept and saved but not shown.
constexpr int ShownWeeks = 53;
constexpr int Columns = 6;

// Headings of columns 0..5: "", "BST", "DZK", "Schluss", "WTS", "Schluss".
QStringList headings();
// today - (weekday - 2) - 14 with weekday 1 = Sunday .. 7 = Saturday; week i (1..54) is base + 7 * i.
DateTime baseDate(DateTime today);
// The 54 weeks with their dates from today and every number empty.
SongList emptyWeeks(DateTime today);
// The weeks from today with the numbers of every file line whose date text equals a week's date text; lines
// of other dates are dropped.
SongList placeByDate(const SongList& weeks, const SongList& file);
// The weeks from today with the numbers of songListFile when it exists; throws KandolorError on a read error.
SongList load(const QString& songListFile, DateTime today);
// The message for a changed cell text, or empty: a non-empty text that is no number or above songCount gives
// "\"text\" ist keine gültige Liednummer !"; zero and negative numbers are accepted.
QString numberMessage(const QString& text, int songCount);
// Width of columns 1..5: (client width - column 0 width - 10) div 5; column 0 is its date text's width + 15.
int dateColumnWidth(int dateTextWidth);
int numberColumnWidth(int clientWidth, int dateColumnWidth);

} // namespace SongListEditor
