#pragma once

#include <QString>
#include <cstdint>

namespace recording {

// What a minute of recording takes on the disk at 48 kbit/s.
inline constexpr std::int64_t RecordingBytesPerMinute = 48000 / 8 * 60;
// With less room than this a recording stops, or does not start.
inline constexpr int StopMinutes = 2;
// With less room than this the status line warns.
inline constexpr int WarnMinutes = 30;
// How often a running recording looks at the room left, in seconds of recording.
inline constexpr double RoomCheckSeconds = 10.0;

// Whole minutes of recording that `freeBytes` hold; -1 when the free space is unknown (negative).
int MinutesOfRoom(std::int64_t freeBytes);

// The message when the volume of `folder` has no room for StopMinutes of recording, for a recording that
// was `running` (and stops) or one that does not start.
QString NoRoomMessage(const QString& folder, bool running);

// The message when the folder `lost` of a running recording has vanished (removed, its volume unmounted):
// the recording goes on in `folder`, which is `lost` made anew (`remade`) or the default recording folder,
// and what was recorded so far is copied there; unless `goesOn` is false (the next file could not start, and
// the start said why). An empty `folder`: no folder could be made, the recording stops.
QString FolderGoneMessage(const QString& lost, const QString& folder, bool remade, bool goesOn = true);
// The status line for the rest of such a recording.
QString FolderGoneStatus(const QString& folder);

// The status line while a stopped recording is still being written and finished.
QString FinishingText();

// An encoder whose program has more than this many seconds of audio still to take falls behind.
inline constexpr double EncoderBehindSeconds = 30.0;

// The message at a stop when `seconds` of the recording were lost because the encoder could not keep up.
QString LostAudioMessage(double seconds);

// The input counts as silent below -60 dBFS of full scale (32768).
inline constexpr int SilenceLevel = 33;
inline constexpr double SilenceSeconds = 30.0;

// Follows the input level over the seconds of the recording: silent once the level has stayed below
// SilenceLevel for SilenceSeconds. The seconds start again at 0 after a split; the silence goes on.
class SilenceWatch {
public:
    bool update(double seconds, int level);
    void reset() { *this = SilenceWatch(); }

private:
    double last_ = 0;
    double silentFor_ = 0;
};

// What the status line of the recording says, the first that applies: little room, a replaced encoder,
// silence, an encoder that falls behind; empty while all is well.
struct RecordingStatus {
    int minutesOfRoom = -1;
    bool silent = false;
    bool encoderBehind = false;
    bool encoderRestarted = false;
};
QString StatusText(const RecordingStatus& status);

} // namespace recording
