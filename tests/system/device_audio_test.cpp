#include "AudioTestSupport.h"
#include "platform/audio/AudioFactory.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace audiotest;

// The real device path on the private PulseAudio server of the test command (null sink "null_out", its
// monitor remapped as the default source "capture").
namespace {

constexpr int Rate = 44100;

class DeviceAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
            GTEST_SKIP() << "no private PulseAudio server (PULSE_SERVER unset)";
        qputenv("SDL_AUDIODRIVER", "pulseaudio");
        audio_ = createAudioLibrary();
        ASSERT_TRUE(audio_->Init(-1, Rate, AudioLibrary::DeviceMono)) << audio_->ErrorGetCode();
    }
    AudioLibrary& lib() { return *audio_; }
    QString file(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    // Plays `stream` to its end (bounded wait), reading `monitor` meanwhile when given.
    void playToEnd(AudioHandle stream, QProcess* monitor, QByteArray* heard) {
        ASSERT_TRUE(lib().ChannelPlay(stream, false));
        QDeadlineTimer deadline(20000);
        while (lib().ChannelIsActive(stream) != AudioLibrary::Stopped && !deadline.hasExpired()) {
            if (monitor && monitor->waitForReadyRead(50))
                heard->append(monitor->readAll());
            else
                QThread::msleep(50);
        }
        ASSERT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Stopped) << "the song did not end in time";
        EXPECT_EQ(lib().ChannelGetPosition(stream), lib().ChannelGetLength(stream));
    }

    QTemporaryDir dir_;
    std::unique_ptr<AudioLibrary> audio_;
};

TEST_F(DeviceAudioTest, APlayedSongArrivesAtTheSinkSampleForSample) {
    const Samples song =
        sine(Rate, 2, 2 * Rate, [](std::int64_t f) { return 300.0 + 600.0 * f / (2.0 * Rate); });
    makeMp3(file("song.mp3"), Rate, 2, song);
    const Samples decoded = decodeMp3(file("song.mp3"));
    Samples reference; // the left channel, as the mono device mixes two equal channels
    for (size_t i = 0; i < decoded.size(); i += 2)
        reference.push_back(decoded[i]);

    QProcess monitor;
    monitor.start(QStringLiteral("parec"),
                  {QStringLiteral("-d"), QStringLiteral("null_out.monitor"), QStringLiteral("--raw"),
                   QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                   QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20")});
    ASSERT_TRUE(monitor.waitForStarted(5000));
    QByteArray heard;
    monitor.waitForReadyRead(1000);
    heard.append(monitor.readAll());

    const AudioHandle stream = lib().StreamCreateFile(file("song.mp3"));
    ASSERT_NE(stream, 0u);
    playToEnd(stream, &monitor, &heard);
    for (int i = 0; i < 20; ++i)
        if (monitor.waitForReadyRead(50))
            heard.append(monitor.readAll());
    monitor.kill();
    monitor.waitForFinished(2000);

    const Samples received(reinterpret_cast<const std::int16_t*>(heard.constData()),
                           reinterpret_cast<const std::int16_t*>(heard.constData()) + heard.size() / 2);
    ASSERT_GT(received.size(), reference.size());
    // Aligned on a part after the first 50 ms: a stream that joins the null sink while it has rendered ahead
    // misses that much of its start at the monitor (a sound card's buffer is rewound instead), and the
    // song's first tone is periodic enough that a few lost milliseconds would align it a whole period off.
    const std::int64_t skip = Rate / 20;
    const std::int64_t start =
        bestOffset(received, slice(reference, skip, Rate / 10),
                   static_cast<std::int64_t>(received.size() - reference.size()) + skip) -
        skip;
    ASSERT_GE(start, 0);
    EXPECT_GT(correlation(slice(received, start, static_cast<std::int64_t>(reference.size())), reference),
              0.98);
}

TEST_F(DeviceAudioTest, APlayedSongIsRecordedBackThroughTheCaptureDevice) {
    makeMp3(file("tone.mp3"), Rate, 2, sine(Rate, 2, 3 * Rate, [](std::int64_t) { return 1000.0; }));
    ASSERT_TRUE(lib().RecordInit(-1)) << lib().ErrorGetCode();
    ASSERT_TRUE(lib().RecordGetInputName(0).has_value());
    const AudioHandle channel = lib().RecordStart(22050, 1, 0);
    ASSERT_NE(channel, 0u) << lib().ErrorGetCode();
    const AudioHandle encoder = lib().EncodeStart(
        channel, QStringLiteral("lame -b 48 -m m --id3v2-only --tc \"Prüfung\" - ") + file("aufnahme1.mp3"),
        AudioLibrary::EncodeUnicode);
    ASSERT_NE(encoder, 0u) << lib().ErrorGetCode();

    const AudioHandle stream = lib().StreamCreateFile(file("tone.mp3"));
    ASSERT_NE(stream, 0u);
    playToEnd(stream, nullptr, nullptr);
    EXPECT_GT(lib().ChannelGetPosition(channel), 2 * 22050 * 2);
    ASSERT_TRUE(lib().ChannelStop(channel));
    ASSERT_EQ(audiotest::stopEncoderAndWait(lib(), encoder), AudioError::Ok);

    const Samples recorded = decodeMp3(file("aufnahme1.mp3"));
    ASSERT_GT(recorded.size(), static_cast<size_t>(2 * 22050));
    const double tone = tonePower(recorded, 1, 0, 22050, 1000.0);
    EXPECT_GT(tone, 0.001);
    EXPECT_GT(tone, 100 * tonePower(recorded, 1, 0, 22050, 700.0));
    ASSERT_TRUE(lib().RecordFree());
    ASSERT_TRUE(lib().Free());
}

} // namespace
