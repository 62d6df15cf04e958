#include "SndfileDecoder.h"

#include "ReadOnlyFile.h"
#include "common/AudioLibrary.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <sndfile.h>

std::unique_ptr<SndfileDecoder> SndfileDecoder::open(const QString& path, int& error) {
    SF_INFO info{};
    // The library would open the file without close-on-exec; it closes the descriptor at sf_close.
    const int fd = openReadOnlyFile(path);
    if (fd < 0) {
        error = AudioError::FileOpen;
        return nullptr;
    }
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (!file) {
        error = QFile::exists(path) ? AudioError::FileForm : AudioError::FileOpen;
        return nullptr;
    }
    std::unique_ptr<SndfileDecoder> decoder(new SndfileDecoder(file));
    if (info.samplerate <= 0 || info.channels < 1 || info.channels > 8 || info.frames <= 0 ||
        !info.seekable) {
        error = AudioError::FileForm;
        return nullptr;
    }
    decoder->rate_ = info.samplerate;
    decoder->channels_ = info.channels;
    decoder->length_ = info.frames;
    const int subtype = info.format & SF_FORMAT_SUBMASK;
    decoder->floatSamples_ = subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
    error = AudioError::Ok;
    return decoder;
}

SndfileDecoder::~SndfileDecoder() {
    sf_close(file_);
}

bool SndfileDecoder::seek(std::int64_t frame) {
    if (frame < 0 || frame > length_)
        return false;
    return sf_seek(file_, frame, SEEK_SET) == frame;
}

std::int64_t SndfileDecoder::read(std::int16_t* out, std::int64_t frames) {
    sf_count_t got = 0;
    if (floatSamples_) {
        floats_.resize(static_cast<std::size_t>(frames * channels_));
        got = sf_readf_float(file_, floats_.data(), frames);
        // Full scale is 1.0, as the 16-bit reads of integer files take it.
        for (std::size_t i = 0; i < static_cast<std::size_t>(std::max<sf_count_t>(0, got) * channels_); ++i)
            out[i] =
                static_cast<std::int16_t>(std::lrint(std::clamp(floats_[i] * 32768.0f, -32768.0f, 32767.0f)));
    } else {
        got = sf_readf_short(file_, out, frames);
    }
    if (got == 0 && sf_error(file_) != SF_ERR_NO_ERROR)
        return -1;
    return got;
}
