// Audio engine benchmark. Prints each figure with its baseline from the same run and their ratio:
//   play latency: ChannelPlay to the first sample handed to the device, against libmpg123 opening the file
//   and
//                 decoding its first frame into memory;
//   playback CPU: engine CPU while one song plays (virtual clock, and in real time on the device), against
//                 libmpg123 decoding the same file into memory;
//   capture CPU:  this process's CPU for capture, routing and feeding the encoder per minute of audio,
//   against
//                 lame alone encoding the same signal from a WAVE file;
//   splits:       samples lost or duplicated over a long recording split every 10 minutes (must be 0).
// Usage: bench_audio [real-time play seconds = 20] [split recording hours = 2]
#include "BenchSignals.h"
#include "platform/audio/AudioFactory.h"
#include "platform/audio/SdlBackend.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <future>
#include <mpg123.h>
#include <thread>
#include <unistd.h>

using namespace bench;

namespace {

constexpr int SongRate = 44100;
constexpr double SongSeconds = 180.0;
constexpr int CaptureRate = 22050;

// Passes everything to the real backend and notes when render() first hands over a sound sample.
class TimingBackend : public AudioBackend, public PlaybackSource {
public:
    explicit TimingBackend(std::unique_ptr<AudioBackend> inner) : inner_(std::move(inner)) {}
    void arm() { firstSound_.store(0.0); }
    double firstSound() const { return firstSound_.load(); }

    int openPlayback(AudioFormat format, PlaybackSource& source) override {
        source_ = &source;
        return inner_->openPlayback(format, *this);
    }
    void closePlayback() override { inner_->closePlayback(); }
    double playbackQueueSeconds() const override { return inner_->playbackQueueSeconds(); }
    int renewPlayback(AudioFormat format, PlaybackSource& source) override {
        source_ = &source;
        return inner_->renewPlayback(format, *this);
    }
    bool playbackLost() override { return inner_->playbackLost(); }
    void lockPlayback() override { inner_->lockPlayback(); }
    void unlockPlayback() override { inner_->unlockPlayback(); }
    int captureDevices(QStringList& names) override { return inner_->captureDevices(names); }
    int openCapture(const QString& name, AudioFormat format, CaptureSink& sink) override {
        return inner_->openCapture(name, format, sink);
    }
    void closeCapture() override { inner_->closeCapture(); }
    bool captureLost() override { return inner_->captureLost(); }
    double clockSeconds() const override { return inner_->clockSeconds(); }

    void render(std::int16_t* out, int frames) override {
        source_->render(out, frames);
        if (firstSound_.load(std::memory_order_relaxed) == 0.0 &&
            std::any_of(out, out + frames, [](std::int16_t s) { return s != 0; }))
            firstSound_.store(wallSeconds());
    }
    void waitUntilReady(int frames) override { source_->waitUntilReady(frames); }
    void deviceStarted() override { source_->deviceStarted(); }

private:
    std::unique_ptr<AudioBackend> inner_;
    PlaybackSource* source_ = nullptr;
    std::atomic<double> firstSound_{0.0};
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void printRatio(const char* what, double value, double baseline, const char* unit) {
    std::printf("%-44s %10.3f %-4s baseline %10.3f %-4s ratio %7.2f\n", what, value, unit, baseline, unit,
                baseline > 0 ? value / baseline : 0.0);
}

// libmpg123 opening `path` and decoding its first frame into memory, seconds.
double firstFrameBaseline(const QString& path) {
    const double start = wallSeconds();
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_open(handle, QFile::encodeName(path).constData());
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    mpg123_getformat(handle, &rate, &channels, &encoding);
    std::vector<unsigned char> buffer(1152 * 4);
    size_t done = 0;
    mpg123_read(handle, buffer.data(), buffer.size(), &done);
    const double elapsed = wallSeconds() - start;
    mpg123_close(handle);
    mpg123_delete(handle);
    return elapsed;
}

void benchPlayback(const QString& song, double realSeconds) {
    // Baselines: whole-file decode CPU, first frame time.
    double decodeCpu = 1e9;
    for (int i = 0; i < 3; ++i) {
        const double cpu = processCpuSeconds();
        const Samples decoded = decodeMp3(song);
        decodeCpu = std::min(decodeCpu, processCpuSeconds() - cpu);
    }
    std::vector<double> firstFrame;
    for (int i = 0; i < 20; ++i)
        firstFrame.push_back(firstFrameBaseline(song));
    const double decodeCpuPerSecond = decodeCpu / SongSeconds;

    // The whole song on the null device, as fast as it goes.
    {
        NullAudioLibrary audio = createNullAudioLibrary();
        audio.library->Init(-1, SongRate, AudioLibrary::DeviceMono);
        const double cpu = processCpuSeconds();
        const AudioHandle stream = audio.library->StreamCreateFile(song);
        audio.library->ChannelPlay(stream, false);
        audio.backend->advance(SongSeconds + 0.5);
        const double used = processCpuSeconds() - cpu;
        if (audio.library->ChannelIsActive(stream) != AudioLibrary::Stopped)
            std::printf("warning: the song had not ended on the null device\n");
        printRatio("playback CPU, null device, whole song", used, decodeCpu, "s");
    }

    // The real device: latency and CPU in real time.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", qEnvironmentVariableIsEmpty("PULSE_SERVER") ? "dummy" : "pulseaudio");
    auto timing = std::make_unique<TimingBackend>(std::make_unique<SdlBackend>());
    TimingBackend* timer = timing.get();
    AudioEngine engine(std::move(timing));
    if (!engine.Init(-1, SongRate, AudioLibrary::DeviceMono)) {
        std::printf("no playback device (SDL driver %s): error %d\n", qgetenv("SDL_AUDIODRIVER").constData(),
                    engine.ErrorGetCode());
        return;
    }
    std::printf("device: SDL driver %s\n", qgetenv("SDL_AUDIODRIVER").constData());
    auto latency = [&](bool prepared) {
        std::vector<double> times;
        for (int i = 0; i < 25; ++i) {
            const AudioHandle stream = engine.StreamCreateFile(song);
            if (prepared)
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
            // Spread the starts over the device period, so the median is not that of one phase.
            std::this_thread::sleep_for(std::chrono::milliseconds(i * 37 % 97));
            timer->arm();
            const double start = wallSeconds();
            engine.ChannelPlay(stream, false);
            while (timer->firstSound() == 0.0 && wallSeconds() - start < 2.0)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            times.push_back(timer->firstSound() - start);
            engine.ChannelStop(stream);
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
        return median(times);
    };
    printRatio("play latency, prepared stream (median)", latency(true) * 1000, median(firstFrame) * 1000,
               "ms");
    printRatio("play latency, stream opened just before", latency(false) * 1000, median(firstFrame) * 1000,
               "ms");
    std::vector<double> create;
    for (int i = 0; i < 10; ++i) {
        const double start = wallSeconds();
        engine.StreamCreateFile(song);
        create.push_back(wallSeconds() - start);
    }
    std::printf("%-44s %10.3f ms   (opening and scanning the 3-minute file)\n", "StreamCreateFile (median)",
                median(create) * 1000);

    const AudioHandle stream = engine.StreamCreateFile(song);
    engine.ChannelPlay(stream, false);
    const double cpu = processCpuSeconds();
    std::this_thread::sleep_for(std::chrono::duration<double>(realSeconds));
    const double used = processCpuSeconds() - cpu;
    engine.ChannelStop(stream);
    printRatio("playback CPU per second of song, real time", used / realSeconds * 1000,
               decodeCpuPerSecond * 1000, "ms");
    std::printf("%-44s %10.2f %%    of one core\n", "", used / realSeconds * 100);

    // The mpg123 program playing the same file on the same server, when it is installed.
    if (QStandardPaths::findExecutable(QStringLiteral("mpg123")).isEmpty() ||
        qgetenv("SDL_AUDIODRIVER") != "pulseaudio")
        return;
    const double children = childrenCpuSeconds();
    QProcess player;
    player.start(QStringLiteral("mpg123"),
                 {QStringLiteral("-q"), QStringLiteral("-o"), QStringLiteral("pulse"), song});
    player.waitForStarted(5000);
    std::this_thread::sleep_for(std::chrono::duration<double>(realSeconds));
    player.kill();
    player.waitForFinished(5000);
    const double mpg123Used = childrenCpuSeconds() - children;
    printRatio("playback CPU per second, against mpg123 -o pulse", used / realSeconds * 1000,
               mpg123Used / realSeconds * 1000, "ms");
}

void benchCapture(const QTemporaryDir& dir) {
    constexpr double Minutes = 10.0;
    const auto frames = static_cast<std::uint64_t>(Minutes * 60 * CaptureRate);
    // Cost of making the signal itself, which the null device does on this thread: taken off the figure.
    double signalCpu = processCpuSeconds();
    Samples signal(frames);
    for (std::uint64_t i = 0; i < frames; ++i)
        signal[i] = glide(i, CaptureRate);
    signalCpu = processCpuSeconds() - signalCpu;

    NullAudioLibrary audio = createNullAudioLibrary();
    audio.backend->setInputSignal([](std::uint64_t frame, int) { return glide(frame, CaptureRate); });
    audio.library->RecordInit(-1);
    const QString mp3 = dir.filePath(QStringLiteral("capture.mp3"));
    const double self = processCpuSeconds();
    const double children = childrenCpuSeconds();
    const AudioHandle channel = audio.library->RecordStart(CaptureRate, 1, 0);
    const AudioHandle encoder =
        audio.library->EncodeStart(channel, QStringLiteral("lame -b 48 -m m --id3v2-only - ") + mp3, 0);
    audio.backend->advance(Minutes * 60);
    audio.library->ChannelStop(channel);
    const bool ok = audiosamples::stopEncoderAndWait(*audio.library, encoder) == AudioError::Ok;
    const double selfUsed = processCpuSeconds() - self - signalCpu;
    const double encoderUsed = childrenCpuSeconds() - children;

    const QString wav = dir.filePath(QStringLiteral("capture.wav"));
    writeWav(wav, CaptureRate, 1, signal);
    const double lameStart = childrenCpuSeconds();
    encode(wav, dir.filePath(QStringLiteral("lame-alone.mp3")),
           {QStringLiteral("-b"), QStringLiteral("48"), QStringLiteral("-m"), QStringLiteral("m")});
    const double lameAlone = childrenCpuSeconds() - lameStart;
    std::printf("capture run %s\n", ok ? "finished" : "FAILED");
    printRatio("capture + encoder feeding CPU per minute", selfUsed / Minutes * 1000,
               lameAlone / Minutes * 1000, "ms");
    printRatio("lame fed by the engine, CPU per minute", encoderUsed / Minutes * 1000,
               lameAlone / Minutes * 1000, "ms");
}

double residentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6 : -1;
}

void benchSplits(const QTemporaryDir& dir, double hours) {
    constexpr double SplitSeconds = 600.0;
    NullAudioLibrary audio = createNullAudioLibrary();
    audio.backend->setInputSignal([](std::uint64_t frame, int) { return glide(frame, CaptureRate); });
    audio.library->RecordInit(-1);
    const int files = std::max(1, static_cast<int>(hours * 3600 / SplitSeconds + 0.5));
    std::vector<std::int64_t> lengths;
    bool ok = true;
    const double start = audio.backend->seconds();
    const double memoryAtStart = residentMegabytes();
    double memoryAfterFirst = 0;
    std::vector<std::future<int>> exits;
    for (int k = 0; k < files; ++k) {
        // A split: the next file starts at once, while the last one's encoder is still finishing.
        const AudioHandle channel = audio.library->RecordStart(CaptureRate, 1, 0);
        const AudioHandle encoder = audio.library->EncodeStart(
            channel,
            QStringLiteral("lame -b 48 -m m - ") + dir.filePath(QStringLiteral("split%1.mp3").arg(k)), 0);
        audio.backend->advance(SplitSeconds);
        audio.library->ChannelStop(channel);
        auto exited = std::make_shared<std::promise<int>>();
        exits.push_back(exited->get_future());
        ok &= audio.library->EncodeStop(encoder, [exited](int error) { exited->set_value(error); });
        lengths.push_back(audio.library->ChannelGetPosition(channel) / 2);
        if (k == 0)
            memoryAfterFirst = residentMegabytes();
    }
    for (std::future<int>& exit : exits)
        ok &= exit.get() == AudioError::Ok;
    const double memoryAtEnd = residentMegabytes();
    const auto captured = static_cast<std::int64_t>((audio.backend->seconds() - start) * CaptureRate + 0.5);
    std::int64_t recorded = 0;
    for (std::int64_t length : lengths)
        recorded += length;
    // Each file must hold the signal from the sample after the previous file's last one: with the encoder's
    // constant delay, the first half second of every file lines up at the same offset.
    std::int64_t misplaced = 0;
    std::int64_t delay = -1;
    std::int64_t first = 0;
    for (int k = 0; k < files; ++k) {
        const Samples decoded = decodeMp3(dir.filePath(QStringLiteral("split%1.mp3").arg(k)));
        Samples expected;
        for (std::int64_t i = 0; i < CaptureRate / 2; ++i)
            expected.push_back(glide(static_cast<std::uint64_t>(first + i), CaptureRate));
        const std::int64_t offset = bestOffset(decoded, expected, 3000);
        if (delay < 0)
            delay = offset;
        misplaced += std::abs(offset - delay);
        if (static_cast<std::int64_t>(decoded.size()) < delay + lengths[static_cast<size_t>(k)])
            misplaced += delay + lengths[static_cast<size_t>(k)] - static_cast<std::int64_t>(decoded.size());
        first += lengths[static_cast<size_t>(k)];
        QFile::remove(dir.filePath(QStringLiteral("split%1.mp3").arg(k)));
    }
    std::printf("split recording: %.1f h in %d files, encoders %s\n", hours, files, ok ? "ok" : "FAILED");
    std::printf("%-44s %10.1f %%    (%llu of %llu samples)\n", "capture ring's peak fill",
                100.0 * static_cast<double>(audio.library->captureRingPeak()) /
                    static_cast<double>(audio.library->captureRingCapacity()),
                static_cast<unsigned long long>(audio.library->captureRingPeak()),
                static_cast<unsigned long long>(audio.library->captureRingCapacity()));
    std::printf("%-44s %10.1f MB   (at the start %.1f MB, after the first file %.1f MB)\n",
                "resident memory at the end", memoryAtEnd, memoryAtStart, memoryAfterFirst);
    std::printf("%-44s %10lld      (captured %lld, in files %lld, ring overflow %llu, misplaced %lld)\n",
                "samples lost or duplicated",
                static_cast<long long>(std::llabs(captured - recorded) + misplaced) +
                    static_cast<long long>(audio.library->droppedCaptureSamples()),
                static_cast<long long>(captured), static_cast<long long>(recorded),
                static_cast<unsigned long long>(audio.library->droppedCaptureSamples()),
                static_cast<long long>(misplaced));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const double realSeconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    const double hours = argc > 2 ? std::atof(argv[2]) : 2.0;
    mpg123_init();
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("song.wav"));
    const QString song = dir.filePath(QStringLiteral("song.mp3"));
    writeWav(wav, SongRate, 2, songSignal(SongRate, 2, static_cast<std::int64_t>(SongSeconds * SongRate)));
    if (!encode(wav, song, {QStringLiteral("-b"), QStringLiteral("192")})) {
        std::printf("lame failed\n");
        return 1;
    }
    benchPlayback(song, realSeconds);
    benchCapture(dir);
    benchSplits(dir, hours);
    return 0;
}
