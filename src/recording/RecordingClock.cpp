#include "RecordingClock.h"

#include "RecordingNames.h"

#include <cmath>

namespace recording {

int ElapsedSeconds(double librarySeconds) {
    if (!(librarySeconds > 0)) // also NaN
        return 0;
    return static_cast<int>(std::trunc(librarySeconds));
}

QString ElapsedText(int seconds) {
    const int h = seconds / 3600;
    const int m = seconds % 3600 / 60;
    const int s = seconds % 60;
    return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
}

bool SplitDue(int seconds, int splitMinutes) {
    return SplittingOn(splitMinutes) && seconds % 3600 / 60 == splitMinutes;
}

Blink BlinkCounter::Tick() {
    ++BlinkTicks;
    if (BlinkTicks == 18)
        return Blink::Show;
    if (BlinkTicks >= 36) {
        BlinkTicks = 0;
        return Blink::Hide;
    }
    return Blink::None;
}

} // namespace recording
