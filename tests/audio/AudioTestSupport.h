#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

// Test signals, files made with the lame program, and an independent MP3 decoder for checking results.
namespace audiotest {

// Interleaved 16-bit samples.
using Samples = std::vector<std::int16_t>;

// A sine of `hz(frame)` Hz (the frequency may change with the frame) at `amplitude`, the same in every
// channel.
Samples sine(int rate, int channels, std::int64_t frames, const std::function<double(std::int64_t)>& hz,
             double amplitude = 12000.0);

// Writes a 16-bit PCM WAVE file.
void writeWav(const QString& path, int rate, int channels, const Samples& samples);

// Writes `samples` with libsndfile in `format` (SF_FORMAT_* major | minor type), e.g. Ogg Vorbis or FLAC.
void writeSndfile(const QString& path, int format, int rate, int channels, const Samples& samples);

// Encodes `samples` with lame into `path` (a constant bitrate of `kbps`, unless `options` choose otherwise);
// fails the test when lame fails.
void makeMp3(const QString& path, int rate, int channels, const Samples& samples, int kbps = 128,
             const QStringList& options = {});

// Decodes an MP3 file with libmpg123 (gapless); empty when it cannot be decoded.
Samples decodeMp3(const QString& path, int* rate = nullptr, int* channels = nullptr);

// Power of frequency `hz` in channel `channel` of `samples` (Goertzel), normalised to the signal length.
double tonePower(const Samples& samples, int channels, int channel, int rate, double hz);

// Frequency estimated from the zero crossings of channel 0.
double zeroCrossingHz(const Samples& samples, int channels, int rate);

// Correlation coefficient of `a` and `b` over their common length.
double correlation(const Samples& a, const Samples& b);

// Offset 0..maxOffset into `decoded` at which `expected` lines up best (by correlation).
std::int64_t bestOffset(const Samples& decoded, const Samples& expected, std::int64_t maxOffset);

// Samples [from, from + count) of `samples` (clipped to its size).
Samples slice(const Samples& samples, std::int64_t from, std::int64_t count);

} // namespace audiotest
