#pragma once

#include <QString>

namespace recording {

// Whole seconds of a recording from the library's seconds: truncated; -1 (no valid channel) and any other
// negative value count as 0.
int ElapsedSeconds(double librarySeconds);

// Elapsed time as H:MM:SS: hours without leading zero, minutes and seconds with two digits (0:05:07,
// 1:00:00).
QString ElapsedText(int seconds);

// Whether a recording at `seconds` is split now: its minute within the hour, (seconds mod 3600) div 60,
// equals SplitMinutes, and splitting is on (SplittingOn). A new file starts at 0, so each file is
// SplitMinutes long.
bool SplitDue(int seconds, int splitMinutes);

// What the blinking label "Aufnahme" does in a tick.
enum class Blink { None, Show, Hide };

// The blink steps: BlinkTicks + 1; at 18 show the label, at 36 hide it and start again from 0 (0.9 s visible,
// 0.9 s hidden at 50 ms per tick).
class BlinkCounter {
public:
    Blink Tick();
    void Reset() { BlinkTicks = 0; }
    int BlinkTicks = 0;
};

} // namespace recording
