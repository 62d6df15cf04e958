#include "SongListEditor.h"

#include "SlotNumber.h"
#include "common/TextFile.h"
#include "settings/UiTexts.h"

namespace SongListEditor {

QStringList headings() {
    return {QString(),
            uiText(UiText::AbbrevWeekdayPart1),
            uiText(UiText::AbbrevWeekdayPart2),
            uiText(UiText::HeadingClosingSong),
            uiText(UiText::AbbrevWeekendPart2),
            uiText(UiText::HeadingClosingSong)};
}

DateTime baseDate(DateTime today) {
    const DateTime day = dateOf(today);
    return day - (dayOfWeek(day) - 2) - 14;
}

SongList emptyWeeks(DateTime today) {
    SongList weeks;
    const DateTime base = baseDate(today);
    for (int i = 1; i <= SongList::Weeks; ++i)
        weeks.row(i).date = dateToString(base + 7 * i);
    return weeks;
}

SongList placeByDate(const SongList& weeks, const SongList& file) {
    SongList placed = weeks;
    for (int line = 1; line <= SongList::Weeks; ++line) {
        const SongWeek& entry = file.row(line);
        for (int r = 1; r <= SongList::Weeks; ++r) {
            if (placed.row(r).date == entry.date)
                placed.row(r).numbers = entry.numbers;
        }
    }
    return placed;
}

SongList load(const QString& songListFile, DateTime today) {
    const SongList weeks = emptyWeeks(today);
    if (!TextFile::exists(songListFile))
        return weeks;
    return placeByDate(weeks, SongList::read(songListFile));
}

QString numberMessage(const QString& text, int songCount) {
    if (text.isEmpty())
        return {};
    const std::optional<int> number = slotNumber(text);
    if (number && *number <= songCount)
        return {};
    return uiText(UiText::InvalidSongListNumber, text);
}

int dateColumnWidth(int dateTextWidth) {
    return dateTextWidth + 15;
}

int numberColumnWidth(int clientWidth, int dateColumnWidthPx) {
    return (clientWidth - dateColumnWidthPx - 10) / 5;
}

} // namespace SongListEditor
