#include "BenchSignals.h"

#include <QFile>
#include <QProcess>
#include <QtEndian>
#include <chrono>
#include <cmath>
#include <ctime>
#include <mpg123.h>
#include <numbers>
#include <sys/resource.h>

namespace bench {

Samples songSignal(int rate, int channels, std::int64_t frames) {
    Samples out;
    out.reserve(static_cast<size_t>(frames * channels));
    std::uint32_t noise = 1;
    for (std::int64_t f = 0; f < frames; ++f) {
        const double t = static_cast<double>(f) / rate;
        const double tones = std::sin(2 * std::numbers::pi * 220 * t) +
                             0.5 * std::sin(2 * std::numbers::pi * (330 + 40 * std::sin(t)) * t) +
                             0.3 * std::sin(2 * std::numbers::pi * 1760 * t);
        noise = noise * 1664525u + 1013904223u;
        const double value = 6000.0 * tones + static_cast<double>(static_cast<std::int32_t>(noise) >> 20);
        for (int c = 0; c < channels; ++c)
            out.push_back(static_cast<std::int16_t>(std::lround(value)));
    }
    return out;
}

std::int16_t glide(std::uint64_t frame, int rate) {
    const double t = static_cast<double>(frame) / rate;
    const double phase =
        2.0 * std::numbers::pi *
        (600.0 * t - 300.0 / (2.0 * std::numbers::pi * 0.37) * std::cos(2.0 * std::numbers::pi * 0.37 * t));
    return static_cast<std::int16_t>(std::lround(16000.0 * std::sin(phase)));
}

bool encode(const QString& wav, const QString& mp3, const QStringList& options) {
    QProcess lame;
    lame.start(QStringLiteral("lame"),
               QStringList{QStringLiteral("--quiet")} + options + QStringList{wav, mp3});
    return lame.waitForFinished(600000) && lame.exitStatus() == QProcess::NormalExit && lame.exitCode() == 0;
}

namespace {
double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}
} // namespace

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double childrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace bench
