#pragma once

#include "common/MediaDevice.h"

// Audio discs a test sets; play() and stop() are recorded, the position is the last start until a test
// moves it.
class FakeMediaDevice : public MediaDevice {
public:
    std::vector<AudioDisc> audioDiscs() override { return discs; }
    QString open(const QString& trackPath) override {
        opened = trackPath;
        return openError;
    }
    std::optional<CdTrack> track(int number) override {
        for (const AudioDisc& disc : discs)
            for (const CdTrack& t : disc.tracks)
                if (t.number == number)
                    return t;
        return std::nullopt;
    }
    void play(Msf from) override {
        played.push_back(from);
        current = from;
        playing = true;
    }
    void stop() override { playing = false; }
    Msf position() override { return current; }

    std::vector<AudioDisc> discs;
    QString openError;
    QString opened;
    std::vector<Msf> played;
    Msf current;
    bool playing = false;
};
