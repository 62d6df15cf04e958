#pragma once

#include "common/AudioLibrary.h"
#include "common/MediaDevice.h"

#include <QStringList>
#include <functional>

// Audio CDs in drives and disc images (.cue) through libcdio; a track plays as an engine stream of its path.
class CdMediaDevice : public MediaDevice {
public:
    // The devices to look at: drives (/dev/sr0) or disc images.
    using DevicePaths = std::function<QStringList()>;

    CdMediaDevice(AudioLibrary& audio, DevicePaths devices);
    ~CdMediaDevice() override;
    CdMediaDevice(const CdMediaDevice&) = delete;
    CdMediaDevice& operator=(const CdMediaDevice&) = delete;

    // The system's CD drives.
    static QStringList systemDrives();

    std::vector<AudioDisc> audioDiscs() override;
    QString open(const QString& trackPath) override;
    std::optional<CdTrack> track(int number) override;
    void play(Msf from) override;
    void stop() override;
    Msf position() override;

private:
    void close();

    AudioLibrary& audio_;
    DevicePaths devices_;
    // The audio tracks of the open disc and the open one of them.
    std::vector<CdTrack> tracks_;
    CdTrack current_;
    AudioHandle stream_ = 0;
};
