#pragma once

#include "common/AudioLibrary.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// Interleaved 16-bit samples and what the audio tests and the benchmark do with them.
namespace audiosamples {

using Samples = std::vector<std::int16_t>;

// Writes a 16-bit PCM WAVE file; false when it cannot be written.
bool writeWav(const QString& path, int rate, int channels, const Samples& samples);
// The samples of a WAVE stream as a stand-in encoder copied it (after its 44-byte header); empty when the
// file cannot be read.
Samples wavSamples(const QString& path);

// A signal whose every pair of samples tells where it is: even frames carry the frame number's low 15 bits,
// odd ones the 15 above them.
std::int16_t counter(std::uint64_t frame);
// The frame at which `samples` of counter() begin, when they are an unbroken run of it.
std::optional<std::uint64_t> counterStart(const Samples& samples);

// Decodes an MP3 file with libmpg123 (gapless); empty when it cannot be decoded.
Samples decodeMp3(const QString& path, int* rate = nullptr, int* channels = nullptr);

// Samples [from, from + count) of `samples` (clipped to its size).
Samples slice(const Samples& samples, std::int64_t from, std::int64_t count);

// Correlation coefficient of `a` and `b` over their common length.
double correlation(const Samples& a, const Samples& b);

// Offset 0..maxOffset into `decoded` at which `expected` lines up best (by correlation).
std::int64_t bestOffset(const Samples& decoded, const Samples& expected, std::int64_t maxOffset);

// Stops `encoder` and waits until its program has exited: the error it exited with (0 = fine), none when
// the stop was refused or no exit came within a minute.
std::optional<int> stopEncoderAndWait(AudioLibrary& audio, AudioHandle encoder);

} // namespace audiosamples
