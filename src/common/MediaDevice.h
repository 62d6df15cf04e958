#pragma once

#include <QString>
#include <optional>
#include <vector>

// A position or length on an audio CD in minutes, seconds and frames (75 frames to the second).
struct Msf {
    int minutes = 0;
    int seconds = 0;
    int frames = 0;
    bool operator==(const Msf&) const = default;
};

// One audio track of a disc: its number, its start on the disc and its length.
struct CdTrack {
    int number = 0;
    Msf start;
    Msf length;
};

// An audio CD in a drive: the device (a drive, or a disc image) and its audio tracks.
struct AudioDisc {
    QString device;
    std::vector<CdTrack> tracks;
};

// Audio CD tracks: the discs in the drives, and the track of one disc played from a position on the disc. A
// track is named `<device>/TrackNN.cda` (e.g. /dev/sr0/Track05.cda).
class MediaDevice {
public:
    virtual ~MediaDevice() = default;
    // The audio discs in the drives now.
    virtual std::vector<AudioDisc> audioDiscs() = 0;
    // Opens the disc and the track a track path names; empty on success, else a German message naming
    // the path and the reason.
    virtual QString open(const QString& trackPath) = 0;
    // Track `number` of the open disc, when it has that audio track.
    virtual std::optional<CdTrack> track(int number) = 0;
    // Plays the open track from the disc position `from` (not before the track's start) to its end.
    virtual void play(Msf from) = 0;
    virtual void stop() = 0;
    // The disc position being played; after a stop where it stopped.
    virtual Msf position() = 0;
};
