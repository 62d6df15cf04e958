#include "AudioTestSupport.h"

#include <QFile>
#include <QProcess>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <sndfile.h>

namespace audiotest {

Samples sine(int rate, int channels, std::int64_t frames, const std::function<double(std::int64_t)>& hz,
             double amplitude) {
    Samples out;
    out.reserve(static_cast<size_t>(frames * channels));
    double phase = 0.0;
    for (std::int64_t f = 0; f < frames; ++f) {
        const auto value = static_cast<std::int16_t>(std::lround(amplitude * std::sin(phase)));
        for (int c = 0; c < channels; ++c)
            out.push_back(value);
        phase += 2.0 * std::numbers::pi * hz(f) / rate;
    }
    return out;
}

void writeWav(const QString& path, int rate, int channels, const Samples& samples) {
    ASSERT_TRUE(audiosamples::writeWav(path, rate, channels, samples)) << path.toStdString();
}

void writeSndfile(const QString& path, int format, int rate, int channels, const Samples& samples) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(sf_writef_short(file, samples.data(), static_cast<sf_count_t>(samples.size()) / channels),
              static_cast<sf_count_t>(samples.size()) / channels);
    sf_close(file);
}

void makeMp3(const QString& path, int rate, int channels, const Samples& samples, int kbps,
             const QStringList& options) {
    const QString wav = path + QStringLiteral(".wav");
    writeWav(wav, rate, channels, samples);
    QProcess lame;
    QStringList arguments{QStringLiteral("--quiet"),
                          channels == 1 ? QStringLiteral("-mm") : QStringLiteral("-mj")};
    if (options.isEmpty())
        arguments << QStringLiteral("-b") << QString::number(kbps);
    lame.start(QStringLiteral("lame"), arguments + options + QStringList{wav, path});
    ASSERT_TRUE(lame.waitForFinished(60000)) << "lame did not finish";
    ASSERT_EQ(lame.exitCode(), 0) << lame.readAllStandardError().toStdString();
    QFile::remove(wav);
}

double tonePower(const Samples& samples, int channels, int channel, int rate, double hz) {
    const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * hz / rate);
    double s1 = 0.0;
    double s2 = 0.0;
    size_t n = 0;
    for (size_t i = static_cast<size_t>(channel); i < samples.size();
         i += static_cast<size_t>(channels), ++n) {
        const double s0 = samples[i] / 32768.0 + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    if (n == 0)
        return 0.0;
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return power / (static_cast<double>(n) * static_cast<double>(n));
}

double zeroCrossingHz(const Samples& samples, int channels, int rate) {
    int crossings = 0;
    size_t frames = 0;
    for (size_t i = static_cast<size_t>(channels); i < samples.size();
         i += static_cast<size_t>(channels), ++frames)
        if ((samples[i - static_cast<size_t>(channels)] < 0) != (samples[i] < 0))
            ++crossings;
    return frames == 0 ? 0.0 : crossings / 2.0 * rate / static_cast<double>(frames);
}

} // namespace audiotest
