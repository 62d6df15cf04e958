#pragma once

#include "common/DateTime.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace music {

// The length in seconds of song 1 to 135 of the song book, for a song whose file cannot be measured;
// 0 for any other number.
int SongDuration(int number);

// How long before the meeting the list must start: its three lengths (0 for an empty entry) + 20 seconds.
int CountdownTotalSeconds(const std::array<int, 3>& entryLengths);

// The seconds left until the list must start, at `now`.
int SecondsUntilListStart(DateTime nextMeetingTime, DateTime now, int totalSeconds);

// The song of 1 to songCount that leaves the smallest positive rest of `gap` seconds (the lowest number on a
// tie), for a gap below 240 seconds; none when no song is shorter than the gap. `lengthOf` gives a song's
// length in seconds, 0 when it is not known.
std::optional<int> BestFit(int gap, int songCount, const std::function<int(int)>& lengthOf);

// What the text typed so far into the background list's entry field asks for: nothing (not a number), wait
// for more digits, take it as the next entry (no further digit could make another song of it, or typing
// ended with Enter), or refuse it (no song has that number).
enum class TypedEntry { NotANumber, Incomplete, Take, Invalid };
TypedEntry TypedEntryOf(const QString& text, int songCount, bool typingEnded);

// Where the clock stands with the list: still counting down, at the moment to start it (a window of 1.728
// seconds), or past it.
enum class ListMoment { Before, Start, Past };
ListMoment ListMomentOf(DateTime now, DateTime nextMeetingTime, int totalSeconds);

// The countdown to the list's start is shown in red in its last 9.504 seconds.
bool CountdownIsRed(DateTime remaining);

// The shutdown countdown as hh:mm:ss; "00:00:00" from one second before its end on.
QString ShutdownCountdownText(DateTime delay, DateTime elapsed);

} // namespace music
