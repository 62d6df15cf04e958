#include "WeekSlots.h"

#include "SlotNumber.h"
#include "common/TextFile.h"

int findThisWeek(const SongList& list, DateTime today) {
    const DateTime day = dateOf(today);
    for (int r = 1; r <= SongList::Weeks; ++r) {
        const QString& date = list.row(r).date;
        if (date.isEmpty())
            continue;
        const double d = day - stringToDate(date);
        if (d >= 0 && d < 7)
            return r;
    }
    return 0;
}

std::array<std::optional<QString>, 3> slotTextsOfWeek(const SongWeek& week, int todayWeekday) {
    const bool weekend = todayWeekday == 1 || todayWeekday == 7;
    // Slot (0-based) of each column for this meeting, -1 for the other meeting's columns.
    constexpr std::array<int, 5> midweekSlot{0, 1, 2, -1, -1};
    constexpr std::array<int, 5> weekendSlot{-1, -1, -1, 1, 2};
    std::array<std::optional<QString>, 3> texts;
    for (std::size_t c = 0; c < 5; ++c) {
        const int slot = weekend ? weekendSlot[c] : midweekSlot[c];
        const QString text = week.numbers[c].isEmpty() ? QStringLiteral("0") : week.numbers[c];
        if (slot >= 0 && slotNumber(text).value_or(0) > 0)
            texts[static_cast<std::size_t>(slot)] = text;
    }
    return texts;
}

WeekSlots loadWeekSlots(const QString& songListFile, DateTime today, int todayWeekday) {
    WeekSlots result;
    if (!TextFile::exists(songListFile)) {
        result.texts.fill(QStringLiteral("0"));
        result.runChangeHandlers = true;
        return result;
    }
    result.listFileFound = true;
    result.list = SongList::read(songListFile);
    result.week = findThisWeek(result.list, today);
    if (result.week > 0) {
        result.texts = slotTextsOfWeek(result.list.row(result.week), todayWeekday);
        result.runChangeHandlers = true;
    }
    return result;
}

QString userInfoText(const QString& userName, DateTime today) {
    return QStringLiteral("Kandolor   ") + userName + QStringLiteral("  ") + dateToString(today);
}
