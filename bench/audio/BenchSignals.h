#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// Inputs and measuring helpers of the audio benchmark.
namespace bench {

using Samples = std::vector<std::int16_t>;

// A song-like signal: three tones that move, with a little noise, so the MP3 is not trivially small.
Samples songSignal(int rate, int channels, std::int64_t frames);
// The gliding tone fed to the capture side; frame `frame` of it.
std::int16_t glide(std::uint64_t frame, int rate);

void writeWav(const QString& path, int rate, int channels, const Samples& samples);
// Runs lame on a WAVE file; false when it fails.
bool encode(const QString& wav, const QString& mp3, const QStringList& options);
// Decodes an MP3 file to interleaved samples with libmpg123 (gapless).
Samples decode(const QString& path);

// CPU seconds used by this process / by its waited-for children so far.
double processCpuSeconds();
double childrenCpuSeconds();
double wallSeconds();

// Offset 0..maxOffset into `decoded` at which `expected` lines up best.
std::int64_t bestOffset(const Samples& decoded, const Samples& expected, std::int64_t maxOffset);

} // namespace bench
