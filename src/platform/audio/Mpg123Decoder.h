#pragma once

#include "Decoder.h"

struct mpg123_handle_struct;

// MPEG audio through libmpg123: gapless, with the exact length found by scanning the whole file.
class Mpg123Decoder : public Decoder {
public:
    // Null with `error` set when the file cannot be opened or holds no MPEG audio.
    static std::unique_ptr<Mpg123Decoder> open(const QString& path, int& error);
    ~Mpg123Decoder() override;

    int rate() const override { return rate_; }
    int channels() const override { return channels_; }
    std::int64_t lengthFrames() const override { return length_; }
    bool seek(std::int64_t frame) override;
    std::int64_t read(std::int16_t* out, std::int64_t frames) override;

private:
    explicit Mpg123Decoder(mpg123_handle_struct* handle) : handle_(handle) {}

    mpg123_handle_struct* handle_;
    int fd_ = -1; // the file, which the library reads but does not close
    int rate_ = 0;
    int channels_ = 0;
    std::int64_t length_ = 0;
    std::int64_t position_ = 0;
};
