#pragma once

#include <QString>
#include <cstdint>
#include <memory>

// A source of 16-bit interleaved PCM frames read from an audio file or an audio CD track.
class Decoder {
public:
    virtual ~Decoder() = default;
    virtual int rate() const = 0;
    virtual int channels() const = 0;
    // Exact number of frames in the file.
    virtual std::int64_t lengthFrames() const = 0;
    // Moves to frame `frame` (0..length); false on failure.
    virtual bool seek(std::int64_t frame) = 0;
    // Reads up to `frames` frames into `out`; the number read, 0 at the end, -1 on a decoding error.
    virtual std::int64_t read(std::int16_t* out, std::int64_t frames) = 0;
};

// Opens `path` with the decoder it calls for: an audio CD track `<device>/TrackNN.cda` through libcdio, WAV,
// OGG, FLAC and AIFF through libsndfile, anything else as MPEG audio. Returns null and sets `error`
// (AudioError code) when the file is missing or not a playable audio file.
std::unique_ptr<Decoder> openDecoder(const QString& path, int& error);
