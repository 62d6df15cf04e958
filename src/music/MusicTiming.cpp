#include "music/MusicTiming.h"

#include <cmath>

namespace music {

namespace {
constexpr std::array<int, 135> SongDurations = {
    123, 139, 169, 126, 108, 161, 174, 134, 106, 226, 112, 143, 199, 226, 161, 156, 137, 215, 174, 84,
    160, 219, 205, 192, 133, 168, 215, 164, 183, 210, 185, 176, 186, 144, 132, 102, 107, 182, 152, 136,
    90,  150, 134, 102, 128, 141, 162, 150, 135, 178, 144, 132, 112, 128, 152, 104, 131, 113, 139, 163,
    128, 117, 141, 183, 148, 117, 125, 155, 128, 163, 110, 118, 203, 131, 131, 129, 150, 132, 102, 124,
    130, 108, 127, 130, 173, 161, 127, 150, 143, 170, 151, 131, 124, 159, 113, 118, 185, 153, 121, 171,
    119, 165, 129, 118, 137, 134, 159, 136, 133, 139, 233, 130, 109, 164, 185, 127, 102, 118, 117, 159,
    176, 126, 162, 125, 132, 172, 162, 104, 107, 142, 224, 135, 150, 204, 135};

int seconds(DateTime value) {
    return static_cast<int>(std::lround(value * SecondsPerDay));
}
} // namespace

int SongDuration(int number) {
    return number >= 1 && number <= 135 ? SongDurations[static_cast<std::size_t>(number - 1)] : 0;
}

int CountdownTotalSeconds(const std::array<int, 3>& entryLengths) {
    return entryLengths[0] + entryLengths[1] + entryLengths[2] + 20;
}

int SecondsUntilListStart(DateTime nextMeetingTime, DateTime now, int totalSeconds) {
    return seconds(nextMeetingTime) - (seconds(now) + totalSeconds);
}

std::optional<int> BestFit(int gap, int songCount, const std::function<int(int)>& lengthOf) {
    if (gap <= 0 || gap >= 240)
        return std::nullopt;
    int best = 240;
    std::optional<int> choice;
    for (int n = 1; n <= songCount; ++n) {
        const int length = lengthOf(n);
        if (length > 0 && length < gap && gap - length < best) {
            best = gap - length;
            choice = n;
        }
    }
    return choice;
}

TypedEntry TypedEntryOf(const QString& text, int songCount, bool typingEnded) {
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (!isNumber)
        return TypedEntry::NotANumber;
    if (number < 1 || number > songCount)
        return TypedEntry::Invalid;
    return typingEnded || number > songCount / 10 ? TypedEntry::Take : TypedEntry::Incomplete;
}

ListMoment ListMomentOf(DateTime now, DateTime nextMeetingTime, int totalSeconds) {
    // In seconds, so a list of an hour or more is no different from a short one.
    const DateTime end = now + totalSeconds / SecondsPerDay;
    if (end > nextMeetingTime && end < nextMeetingTime + 0.00002)
        return ListMoment::Start;
    return end < nextMeetingTime ? ListMoment::Before : ListMoment::Past;
}

bool CountdownIsRed(DateTime remaining) {
    return remaining < 0.00011;
}

QString ShutdownCountdownText(DateTime delay, DateTime elapsed) {
    const DateTime remaining = delay - elapsed;
    if (remaining < 1.0 / SecondsPerDay)
        return QStringLiteral("00:00:00");
    return timeToString(remaining).left(8);
}

} // namespace music
