#pragma once

#include "AudioSamples.h"

#include <QString>
#include <cstdint>
#include <vector>

// Inputs and measuring helpers of the audio benchmark.
namespace bench {

using audiosamples::bestOffset;
using audiosamples::decodeMp3;
using audiosamples::Samples;
using audiosamples::writeWav;

// A song-like signal: three tones that move, with a little noise, so the MP3 is not trivially small.
Samples songSignal(int rate, int channels, std::int64_t frames);
// The gliding tone fed to the capture side; frame `frame` of it.
std::int16_t glide(std::uint64_t frame, int rate);

// Runs lame on a WAVE file; false when it fails.
bool encode(const QString& wav, const QString& mp3, const QStringList& options);

// CPU seconds used by this process / by its waited-for children so far.
double processCpuSeconds();
double childrenCpuSeconds();
double wallSeconds();

} // namespace bench
