#pragma once

#include "common/MediaDevice.h"

#include <QString>
#include <optional>

namespace playback {

// Whether the path names an audio CD track: its extension is exactly ".cda".
bool IsCdTrackPath(const QString& path);
// The track number of "<device>/TrackNN.cda": the two digits after "Track" in the path's last part only.
std::optional<int> CdTrackNumberOf(const QString& path);
// The track path of track `number` on `device`: "<device>/TrackNN.cda".
QString CdTrackPath(const QString& device, int number);
// The disc position at which a start mark of `markSeconds` on the track starting at `trackStart` begins.
Msf CdStartPosition(Msf trackStart, int markSeconds);
// A track's length as the transport keeps it: (minutes × 60 + seconds) × 1000 + frames.
int CdTrackLengthValue(Msf length);
// The minutes and seconds of a length, each of two digits at least: "04:31".
QString CdLengthText(Msf length);
// Whole seconds played since the track's start; frames are not counted.
int CdElapsedSeconds(Msf position, Msf trackStart);
// The file name of a path up to (not including) its first ".".
QString NameBeforeFirstDot(const QString& path);

} // namespace playback
