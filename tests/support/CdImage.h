#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// BIN/CUE images of CDs: a .bin of raw 2352-byte sectors and the .cue that lays the tracks out on it.
//
// Sectors are counted from the start of the .bin, as the cue's INDEX times are. libcdio opens the .cue
// (cdio_open with DRIVER_UNKNOWN picks its BIN/CUE driver by the file, and opening the .bin finds the .cue
// of the same name) and reports track n at LSN start, LBA start + 150 and cdio_get_track_msf() at that LBA in
// BCD, so track 1 at sector 0 is at 00:02:00. A track's cdio_get_track_sec_count() runs up to the next
// track's INDEX 01, the last one's to the end of the .bin; the lead-out (last track + 1) reports its LBA
// and format TRACK_FORMAT_ERROR. Reads past the end fail.
namespace CdImage {

struct Track {
    int startSector = 0;
    int sectors = 0;
    bool audio = true; // else a MODE1/2352 data track
};

// Sectors `first` .. first + count - 1 of the image.
struct Range {
    int first = 0;
    int count = 0;
};

// Writes `<folder>/<name>.bin` and `<folder>/<name>.cue` with tracks 1, 2, … as `tracks` (in order, each
// starting where the one before ends) lays them out: the sectors of `filled` carry sample(), all others are
// silence, left unwritten so that the .bin takes space only for `filled`. The .cue's path, or empty with
// `error` saying why.
QString write(const QString& folder, const QString& name, const std::vector<Track>& tracks,
              const std::vector<Range>& filled, QString& error);

// The sample of the image in channel `channel` (0 left, 1 right) of frame `frameInSector` (0..587) of sector
// `sector`: distinct over neighbouring frames, channels and sectors.
std::int16_t sample(int sector, int frameInSector, int channel);

} // namespace CdImage
