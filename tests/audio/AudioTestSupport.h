#pragma once

#include "AudioSamples.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

// Test signals, files made with the lame program, and an independent MP3 decoder for checking results.
namespace audiotest {

using audiosamples::bestOffset;
using audiosamples::correlation;
using audiosamples::decodeMp3;
using audiosamples::Samples;
using audiosamples::slice;
using audiosamples::stopEncoderAndWait;

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

// Power of frequency `hz` in channel `channel` of `samples` (Goertzel), normalised to the signal length.
double tonePower(const Samples& samples, int channels, int channel, int rate, double hz);

// Frequency estimated from the zero crossings of channel 0.
double zeroCrossingHz(const Samples& samples, int channels, int rate);

} // namespace audiotest
