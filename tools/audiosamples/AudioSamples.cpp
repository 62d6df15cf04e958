#include "AudioSamples.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <future>
#include <memory>
#include <mpg123.h>

namespace audiosamples {

bool writeWav(const QString& path, int rate, int channels, const Samples& samples) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
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
    for (std::int16_t s : samples)
        le16(static_cast<quint16>(s));
    return file.error() == QFileDevice::NoError;
}

Samples wavSamples(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll().mid(44);
    Samples samples(static_cast<std::size_t>(bytes.size() / 2));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
    return samples;
}

std::int16_t counter(std::uint64_t frame) {
    return static_cast<std::int16_t>((frame % 2 == 0 ? frame : frame >> 15) & 0x7FFF);
}

std::optional<std::uint64_t> counterStart(const Samples& samples) {
    if (samples.size() < 3)
        return std::nullopt;
    const auto low = [](std::int16_t s) { return static_cast<std::uint64_t>(s); };
    for (std::uint64_t first :
         {low(samples[0]) | low(samples[1]) << 15, (low(samples[1]) | low(samples[2]) << 15) - 1}) {
        std::size_t i = 0;
        while (i < samples.size() && samples[i] == counter(first + i))
            ++i;
        if (i == samples.size())
            return first;
    }
    return std::nullopt;
}

Samples decodeMp3(const QString& path, int* rate, int* channels) {
    mpg123_init();
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    Samples out;
    long r = 0;
    int ch = 0;
    int encoding = 0;
    if (mpg123_open(handle, QFile::encodeName(path).constData()) == MPG123_OK &&
        mpg123_getformat(handle, &r, &ch, &encoding) == MPG123_OK && encoding == MPG123_ENC_SIGNED_16) {
        std::vector<unsigned char> buffer(65536);
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
    if (rate)
        *rate = static_cast<int>(r);
    if (channels)
        *channels = ch;
    return out;
}

double correlation(const Samples& a, const Samples& b) {
    const size_t n = std::min(a.size(), b.size());
    double ab = 0.0;
    double aa = 0.0;
    double bb = 0.0;
    for (size_t i = 0; i < n; ++i) {
        ab += static_cast<double>(a[i]) * b[i];
        aa += static_cast<double>(a[i]) * a[i];
        bb += static_cast<double>(b[i]) * b[i];
    }
    return aa == 0.0 || bb == 0.0 ? 0.0 : ab / std::sqrt(aa * bb);
}

std::int64_t bestOffset(const Samples& decoded, const Samples& expected, std::int64_t maxOffset) {
    std::int64_t best = 0;
    double bestCorrelation = -2.0;
    for (std::int64_t offset = 0; offset <= maxOffset; ++offset) {
        const double c =
            correlation(slice(decoded, offset, static_cast<std::int64_t>(expected.size())), expected);
        if (c > bestCorrelation) {
            bestCorrelation = c;
            best = offset;
        }
    }
    return best;
}

Samples slice(const Samples& samples, std::int64_t from, std::int64_t count) {
    const auto size = static_cast<std::int64_t>(samples.size());
    from = std::clamp<std::int64_t>(from, 0, size);
    const std::int64_t to = std::clamp<std::int64_t>(from + count, from, size);
    return Samples(samples.begin() + from, samples.begin() + to);
}

std::optional<int> stopEncoderAndWait(AudioLibrary& audio, AudioHandle encoder) {
    auto exited = std::make_shared<std::promise<int>>();
    std::future<int> result = exited->get_future();
    if (!audio.EncodeStop(encoder, [exited](int error) { exited->set_value(error); }))
        return std::nullopt;
    if (result.wait_for(std::chrono::minutes(1)) != std::future_status::ready)
        return std::nullopt;
    return result.get();
}

} // namespace audiosamples
