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

void writeWav(const QString& path, int rate, int channels, const Samples& samples) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    auto le32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        file.write(b, 4);
    };
    auto le16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        file.write(b, 2);
    };
    const auto dataBytes = static_cast<quint32>(samples.size() * 2);
    file.write("RIFF");
    le32(36 + dataBytes);
    file.write("WAVEfmt ");
    le32(16);
    le16(1);
    le16(static_cast<quint16>(channels));
    le32(static_cast<quint32>(rate));
    le32(static_cast<quint32>(rate * channels * 2));
    le16(static_cast<quint16>(channels * 2));
    le16(16);
    file.write("data");
    le32(dataBytes);
    file.write(reinterpret_cast<const char*>(samples.data()), static_cast<qint64>(dataBytes));
}

bool encode(const QString& wav, const QString& mp3, const QStringList& options) {
    QProcess lame;
    lame.start(QStringLiteral("lame"),
               QStringList{QStringLiteral("--quiet")} + options + QStringList{wav, mp3});
    return lame.waitForFinished(600000) && lame.exitStatus() == QProcess::NormalExit && lame.exitCode() == 0;
}

Samples decode(const QString& path) {
    mpg123_init();
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    Samples out;
    if (mpg123_open(handle, QFile::encodeName(path).constData()) == MPG123_OK) {
        std::vector<unsigned char> buffer(1 << 16);
        for (;;) {
            size_t done = 0;
            const int result = mpg123_read(handle, buffer.data(), buffer.size(), &done);
            const auto* samples = reinterpret_cast<const std::int16_t*>(buffer.data());
            out.insert(out.end(), samples, samples + done / 2);
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
                break;
        }
    }
    mpg123_close(handle);
    mpg123_delete(handle);
    return out;
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

std::int64_t bestOffset(const Samples& decoded, const Samples& expected, std::int64_t maxOffset) {
    std::int64_t best = 0;
    double bestScore = -2.0;
    for (std::int64_t offset = 0; offset <= maxOffset; ++offset) {
        double ab = 0.0;
        double aa = 0.0;
        double bb = 0.0;
        for (size_t i = 0; i < expected.size() && static_cast<size_t>(offset) + i < decoded.size(); ++i) {
            const double a = decoded[static_cast<size_t>(offset) + i];
            const double b = expected[i];
            ab += a * b;
            aa += a * a;
            bb += b * b;
        }
        const double score = aa == 0.0 || bb == 0.0 ? -1.0 : ab / std::sqrt(aa * bb);
        if (score > bestScore) {
            bestScore = score;
            best = offset;
        }
    }
    return best;
}

} // namespace bench
