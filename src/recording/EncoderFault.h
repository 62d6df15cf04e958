#pragma once

#include <QString>
#include <QStringList>

namespace recording {

// A recording's encoder that fails again within this many seconds of recording after it was replaced ends
// the recording.
inline constexpr double RestartWindowSeconds = 60.0;

// What a running recording does when its encoder has exited or stalled: stop because the disk is full
// (a new encoder would fail the same way), stop because the encoder failed again soon after it was
// replaced, or go on with a new encoder in a new file.
enum class EncoderFault { DiskFull, FailedAgain, Restart };
// `minutesOfRoom` as MinutesOfRoom gives it; `sinceRestart` the seconds of recording since the last
// replacement, negative when there was none.
EncoderFault JudgeEncoderFault(int minutesOfRoom, double sinceRestart);

// The status line while a recording goes on with a replaced encoder.
QString EncoderRestartedStatus();
// The message when the replaced encoder fails again, and when no new encoder starts.
QString EncoderFailedAgainMessage();
QString EncoderRestartFailedMessage();
// The message when the encoder program cannot be started at the start of a recording: `installed` tells
// whether it is on the search path at all.
QString EncoderStartMessage(bool installed);
// Whether the encoder program is on the search path.
bool EncoderInstalled();

// The message once the last part of a recording whose encoder was replaced is finished: the full paths of
// its files in order; `interrupted` when the recording ended by a fault.
QString PartsMessage(const QStringList& files, bool interrupted);

} // namespace recording
