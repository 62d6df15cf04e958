#include "Mpg123Decoder.h"

#include "ReadOnlyFile.h"
#include "common/AudioLibrary.h"

#include <QFile>
#include <algorithm>
#include <mpg123.h>
#include <mutex>
#include <unistd.h>

namespace {
void initLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}
} // namespace

std::unique_ptr<Mpg123Decoder> Mpg123Decoder::open(const QString& path, int& error) {
    initLibrary();
    int result = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &result);
    if (!handle) {
        error = AudioError::Mem;
        return nullptr;
    }
    std::unique_ptr<Mpg123Decoder> decoder(new Mpg123Decoder(handle));
    mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    // Decode to 16-bit at the file's own rate and channels.
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

    // The library would open the file without close-on-exec.
    decoder->fd_ = openReadOnlyFile(path);
    if (decoder->fd_ < 0) {
        error = AudioError::FileOpen;
        return nullptr;
    }
    if (mpg123_open_fd(handle, decoder->fd_) != MPG123_OK) {
        error = QFile::exists(path) ? AudioError::FileForm : AudioError::FileOpen;
        return nullptr;
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 || channels < 1 ||
        channels > 2 || encoding != MPG123_ENC_SIGNED_16) {
        error = AudioError::FileForm;
        return nullptr;
    }
    // The scan walks every frame header, so the length is exact (encoder delay and padding removed).
    if (mpg123_scan(handle) != MPG123_OK) {
        error = AudioError::FileForm;
        return nullptr;
    }
    const off_t length = mpg123_length(handle);
    if (length <= 0) {
        error = AudioError::FileForm;
        return nullptr;
    }
    decoder->rate_ = static_cast<int>(rate);
    decoder->channels_ = channels;
    decoder->length_ = length;
    error = AudioError::Ok;
    return decoder;
}

Mpg123Decoder::~Mpg123Decoder() {
    mpg123_close(handle_);
    mpg123_delete(handle_);
    if (fd_ >= 0)
        ::close(fd_);
}

bool Mpg123Decoder::seek(std::int64_t frame) {
    if (frame < 0 || frame > length_)
        return false;
    const off_t reached = mpg123_seek(handle_, static_cast<off_t>(frame), SEEK_SET);
    if (reached < 0)
        return false;
    position_ = reached;
    return true;
}

std::int64_t Mpg123Decoder::read(std::int16_t* out, std::int64_t frames) {
    frames = std::min(frames, length_ - position_);
    std::int64_t total = 0;
    const std::int64_t frameBytes = 2 * channels_;
    while (total < frames) {
        size_t done = 0;
        const int result = mpg123_read(handle_, reinterpret_cast<unsigned char*>(out + total * channels_),
                                       static_cast<size_t>((frames - total) * frameBytes), &done);
        total += static_cast<std::int64_t>(done) / frameBytes;
        if (result == MPG123_DONE)
            break;
        if (result == MPG123_NEW_FORMAT)
            continue;
        if (result != MPG123_OK)
            return total > 0 ? total : -1;
        if (done == 0)
            break;
    }
    position_ += total;
    return total;
}
