#include "CdTrackDecoder.h"

#include "CdAddress.h"
#include "common/AudioLibrary.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cdio/cdio.h>

namespace {
// Sectors read at a time: what a drive delivers in one request.
constexpr int ReadSectors = 24;
} // namespace

std::unique_ptr<CdTrackDecoder> CdTrackDecoder::open(const QString& device, int number, int& error) {
    cd::initCdio();
    CdIo_t* cdio = cdio_open(QFile::encodeName(device).constData(), DRIVER_UNKNOWN);
    if (!cdio) {
        error = AudioError::FileOpen;
        return nullptr;
    }
    std::unique_ptr<CdTrackDecoder> decoder(new CdTrackDecoder(cdio));
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t last = cdio_get_last_track_num(cdio);
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK || number < first || number > last) {
        error = AudioError::FileOpen;
        return nullptr;
    }
    const auto track = static_cast<track_t>(number);
    const lsn_t start = cdio_get_track_lsn(cdio, track);
    const unsigned int sectors = cdio_get_track_sec_count(cdio, track);
    if (cdio_get_track_format(cdio, track) != TRACK_FORMAT_AUDIO || start == CDIO_INVALID_LSN ||
        sectors == 0) {
        error = AudioError::FileForm;
        return nullptr;
    }
    decoder->firstSector_ = start;
    decoder->sectors_ = static_cast<int>(sectors);
    error = AudioError::Ok;
    return decoder;
}

CdTrackDecoder::~CdTrackDecoder() {
    cdio_destroy(cdio_);
}

std::int64_t CdTrackDecoder::lengthFrames() const {
    return std::int64_t{sectors_} * cd::FramesPerSector;
}

bool CdTrackDecoder::seek(std::int64_t frame) {
    if (frame < 0 || frame > lengthFrames())
        return false;
    position_ = frame;
    return true;
}

std::int64_t CdTrackDecoder::read(std::int16_t* out, std::int64_t frames) {
    frames = std::min(frames, lengthFrames() - position_);
    if (frames <= 0)
        return 0;
    const auto sector = static_cast<int>(position_ / cd::FramesPerSector);
    const auto skip = static_cast<int>(position_ % cd::FramesPerSector);
    const int count = static_cast<int>(std::min<std::int64_t>(
        {(skip + frames + cd::FramesPerSector - 1) / cd::FramesPerSector, ReadSectors, sectors_ - sector}));
    buffer_.resize(static_cast<size_t>(count) * cd::BytesPerSector);
    if (cdio_read_audio_sectors(cdio_, buffer_.data(), firstSector_ + sector, static_cast<uint32_t>(count)) !=
        DRIVER_OP_SUCCESS)
        return -1;
    frames = std::min<std::int64_t>(frames, std::int64_t{count} * cd::FramesPerSector - skip);
    // CD-DA: interleaved left and right, little-endian.
    const unsigned char* in = buffer_.data() + static_cast<size_t>(skip) * 4;
    for (std::int64_t i = 0; i < frames * 2; ++i)
        out[i] = qFromLittleEndian<std::int16_t>(in + i * 2);
    position_ += frames;
    return frames;
}
