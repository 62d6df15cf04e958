#pragma once

#include <QString>
#include <optional>

// Arithmetic of the song number picker: a grid of 15 columns, cell (row r, column c) showing r * 15 + c + 1
// up to the number of songs; the request code 1000 * caller + current number kept in the grid's tag.
namespace NumberPicker {

constexpr int Columns = 15;
constexpr int ColumnWidth = 23;
constexpr int RowHeight = 15;
constexpr int Width = 363;
constexpr int Gap = 10; // between the calling field and the picker

// Callers (request code div 1000).
enum Caller { Slot1 = 1, Slot2 = 2, Slot3 = 3, SpecialSong = 4, BackgroundMusic = 5 };

struct Cell {
    int row, column;
    bool operator==(const Cell&) const = default;
};

// Rows: songCount / 15 rounded up.
int rowCount(int songCount);
// Height of the picker: (rows + 1) * 15.
int height(int songCount);
// The text of a cell: its number, or empty past songCount.
QString cellText(int row, int column, int songCount);
// The number a chosen cell stands for (also for empty cells past the last song).
int numberAt(int row, int column);
// The cell of number (1..), e.g. 15 -> row 0, column 14; none for numbers below 1.
std::optional<Cell> cellOf(int number);
int requestCode(int caller, int number);
int callerOf(int code);
// The current number of a request code (code mod 1000); 0 marks no cell.
int currentNumberOf(int code);
// The cell marked green for a request code, if any.
std::optional<Cell> markedCell(int code);
// Request code of a slot field (callers 1..3): the field's text converted strictly; throws KandolorError
// "''%s'' ist kein gültiger Integer-Wert" so that the picker does not open.
int slotRequestCode(int caller, const QString& fieldText);
// Top of the picker below a field: field's top + field's height + 10.
int topBelow(int fieldTop, int fieldHeight);

} // namespace NumberPicker
