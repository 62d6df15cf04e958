#include "CdMediaDevice.h"

#include "platform/CdDriveStatus.h"
#include "platform/audio/CdAddress.h"
#include "settings/UiTexts.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cdio/cdio.h>
#include <memory>
#include <sys/stat.h>

namespace {

QString notOpened(const QString& trackPath, const QString& why) {
    return uiText(UiText::CdTrackNotOpenedBecause, trackPath, why);
}

struct CdioCloser {
    void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};

struct TocTrack {
    CdTrack track;
    bool audio = false;
};

// The table of contents of the disc in a device, or why there is none.
struct Toc {
    enum Status { Missing, NoAccess, NoDisc, Read };
    Status status = Missing;
    std::vector<TocTrack> tracks;
};

bool isBlockDevice(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISBLK(info.st_mode);
}

Toc readToc(const QString& device) {
    Toc toc;
    const QFileInfo file(device);
    if (!file.exists())
        return toc;
    if (!file.isReadable()) {
        toc.status = Toc::NoAccess;
        return toc;
    }
    toc.status = Toc::NoDisc;
    // An empty drive answers at once; libcdio would wait for it.
    if (isBlockDevice(device) && !driveReportsDisc(device))
        return toc;
    cd::initCdio();
    const std::unique_ptr<CdIo_t, CdioCloser> cdio(
        cdio_open(QFile::encodeName(device).constData(), DRIVER_UNKNOWN));
    if (!cdio)
        return toc;
    const track_t first = cdio_get_first_track_num(cdio.get());
    const track_t last = cdio_get_last_track_num(cdio.get());
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK || first > last)
        return toc;
    for (track_t number = first; number <= last; ++number) {
        const lsn_t start = cdio_get_track_lsn(cdio.get(), number);
        if (start == CDIO_INVALID_LSN)
            return toc;
        TocTrack entry;
        entry.track.number = number;
        entry.track.start = cd::discPosition(start);
        entry.track.length = cd::msf(static_cast<int>(cdio_get_track_sec_count(cdio.get(), number)));
        entry.audio = cdio_get_track_format(cdio.get(), number) == TRACK_FORMAT_AUDIO;
        toc.tracks.push_back(entry);
    }
    toc.status = Toc::Read;
    return toc;
}

std::vector<CdTrack> audioTracks(const Toc& toc) {
    std::vector<CdTrack> tracks;
    for (const TocTrack& entry : toc.tracks)
        if (entry.audio)
            tracks.push_back(entry.track);
    return tracks;
}

} // namespace

CdMediaDevice::CdMediaDevice(AudioLibrary& audio, DevicePaths devices)
    : audio_(audio), devices_(std::move(devices)) {}

CdMediaDevice::~CdMediaDevice() {
    close();
}

QStringList CdMediaDevice::systemDrives() {
    cd::initCdio();
    QStringList drives;
    QStringList seen; // a drive is often listed under its links too (/dev/cdrom)
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    for (char** device = devices; device && *device; ++device) {
        const QString path = QFile::decodeName(*device);
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (seen.contains(canonical.isEmpty() ? path : canonical))
            continue;
        seen << (canonical.isEmpty() ? path : canonical);
        drives << path;
    }
    if (devices)
        cdio_free_device_list(devices);
    return drives;
}

std::vector<AudioDisc> CdMediaDevice::audioDiscs() {
    std::vector<AudioDisc> discs;
    for (const QString& device : devices_()) {
        AudioDisc disc{device, audioTracks(readToc(device))};
        if (!disc.tracks.empty())
            discs.push_back(std::move(disc));
    }
    return discs;
}

QString CdMediaDevice::open(const QString& trackPath) {
    close();
    const std::optional<cd::TrackPath> path = cd::parseTrackPath(trackPath);
    if (!path)
        return notOpened(trackPath, uiText(UiText::CdNoTrackName));
    const Toc toc = readToc(path->device);
    switch (toc.status) {
    case Toc::Missing:
        return notOpened(trackPath, uiText(UiText::CdDriveMissing));
    case Toc::NoAccess:
        return notOpened(trackPath, uiText(UiText::CdNoAccess));
    case Toc::NoDisc:
        return notOpened(trackPath, uiText(UiText::CdNoDisc));
    case Toc::Read:
        break;
    }
    const auto entry = std::find_if(toc.tracks.begin(), toc.tracks.end(),
                                    [&](const TocTrack& t) { return t.track.number == path->number; });
    if (entry == toc.tracks.end())
        return notOpened(trackPath, uiText(UiText::CdNoSuchTrack, QString::number(path->number)));
    if (!entry->audio)
        return notOpened(trackPath, uiText(UiText::CdNotAudio, QString::number(path->number)));
    const AudioHandle stream = audio_.StreamCreateFile(trackPath);
    if (stream == 0)
        return notOpened(trackPath, uiText(UiText::CdUnreadable));
    stream_ = stream;
    tracks_ = audioTracks(toc);
    current_ = entry->track;
    return {};
}

std::optional<CdTrack> CdMediaDevice::track(int number) {
    const auto it = std::find_if(tracks_.begin(), tracks_.end(),
                                 [number](const CdTrack& t) { return t.number == number; });
    if (it == tracks_.end())
        return std::nullopt;
    return *it;
}

void CdMediaDevice::play(Msf from) {
    if (stream_ == 0)
        return;
    const int length = cd::sectors(current_.length);
    const int offset = std::clamp(cd::sectors(from) - cd::sectors(current_.start), 0, length);
    audio_.ChannelSetPosition(stream_, std::int64_t{offset} * cd::BytesPerSector);
    // At the end nothing is left to play (a stream that has ended would play again from its start).
    if (offset < length)
        audio_.ChannelPlay(stream_, false);
}

void CdMediaDevice::stop() {
    if (stream_ != 0)
        audio_.ChannelStop(stream_);
}

Msf CdMediaDevice::position() {
    if (stream_ == 0)
        return {};
    const std::int64_t bytes = std::max<std::int64_t>(0, audio_.ChannelGetPosition(stream_));
    return cd::msf(cd::sectors(current_.start) + static_cast<int>(bytes / cd::BytesPerSector));
}

void CdMediaDevice::close() {
    if (stream_ != 0)
        audio_.StreamFree(stream_);
    stream_ = 0;
    tracks_.clear();
    current_ = {};
}
