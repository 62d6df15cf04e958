#pragma once

#include "Decoder.h"

#include <vector>

struct sf_private_tag;

// WAV, OGG, FLAC and AIFF files through libsndfile.
class SndfileDecoder : public Decoder {
public:
    // Null with `error` set when the file cannot be opened or is not a supported sound file.
    static std::unique_ptr<SndfileDecoder> open(const QString& path, int& error);
    ~SndfileDecoder() override;

    int rate() const override { return rate_; }
    int channels() const override { return channels_; }
    std::int64_t lengthFrames() const override { return length_; }
    bool seek(std::int64_t frame) override;
    std::int64_t read(std::int16_t* out, std::int64_t frames) override;

private:
    explicit SndfileDecoder(sf_private_tag* file) : file_(file) {}

    sf_private_tag* file_;
    int rate_ = 0;
    int channels_ = 0;
    std::int64_t length_ = 0;
    // Floating-point samples are read as such and scaled here: the library would hand them to 16-bit reads
    // unscaled, as silence.
    bool floatSamples_ = false;
    std::vector<float> floats_;
};
