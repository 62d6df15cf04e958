#include "NumberPicker.h"

#include "common/KandolorError.h"

namespace NumberPicker {

int rowCount(int songCount) {
    return songCount <= 0 ? 0 : (songCount + Columns - 1) / Columns;
}

int height(int songCount) {
    return (rowCount(songCount) + 1) * RowHeight;
}

QString cellText(int row, int column, int songCount) {
    const int number = numberAt(row, column);
    return number <= songCount ? QString::number(number) : QString();
}

int numberAt(int row, int column) {
    return row * Columns + column + 1;
}

std::optional<Cell> cellOf(int number) {
    if (number < 1)
        return std::nullopt;
    return Cell{(number - 1) / Columns, (number - 1) % Columns};
}

int requestCode(int caller, int number) {
    return 1000 * caller + number;
}

int callerOf(int code) {
    return code / 1000;
}

int currentNumberOf(int code) {
    return code % 1000;
}

std::optional<Cell> markedCell(int code) {
    return cellOf(currentNumberOf(code));
}

int slotRequestCode(int caller, const QString& fieldText) {
    return requestCode(caller, strToInt(fieldText));
}

int topBelow(int fieldTop, int fieldHeight) {
    return fieldTop + fieldHeight + Gap;
}

} // namespace NumberPicker
