#include "AudioTestSupport.h"
#include "platform/audio/AudioFactory.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <sndfile.h>
#include <thread>

using namespace audiotest;

namespace {

struct TestFile {
    const char* name;
    int rate;
    int channels;
    double seconds;
    bool mp3;
    const char* options = ""; // lame options instead of the constant bitrate
    int sndfileFormat = 0;    // written by libsndfile in this format instead of a WAVE file
};

// Second k of the stepped tone sounds at 300 + 100 k Hz, so the content shows where playback stands.
double steppedHz(std::int64_t frame, int rate) {
    return 300.0 + 100.0 * static_cast<double>(frame / rate);
}

const TestFile Stepped{"stepped.mp3", 44100, 2, 3.0, true};
const TestFile MonoLow{"mono22k.mp3", 22050, 1, 2.5, true};
const TestFile Short48k{"short48k.mp3", 48000, 2, 0.7, true};
const TestFile Wave{"tone.wav", 44100, 2, 1.25, false};
// Variable bitrate, and a large tag in front of the audio, as song files have.
const TestFile Variable{"vbr.mp3", 44100, 2, 2.2, true, "-V 4"};
const TestFile Vorbis{"tone.ogg", 44100, 2, 1.5, false, "", SF_FORMAT_OGG | SF_FORMAT_VORBIS};
const TestFile Flac{"tone.flac", 48000, 1, 0.9, false, "", SF_FORMAT_FLAC | SF_FORMAT_PCM_16};
const TestFile Tagged{"tagged.mp3", 32000, 1, 1.3, true, "-b 64 --tt Lied --ta Chor --pad-id3v2-size 20000"};

class PlaybackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<QTemporaryDir>();
        for (const TestFile& file : {Stepped, MonoLow, Short48k, Wave, Variable, Tagged, Vorbis, Flac}) {
            const auto frames = static_cast<std::int64_t>(file.seconds * file.rate);
            const int rate = file.rate;
            const Samples samples =
                sine(file.rate, file.channels, frames, [rate](std::int64_t f) { return steppedHz(f, rate); });
            if (file.mp3)
                makeMp3(path(file), file.rate, file.channels, samples, 128,
                        QString::fromLatin1(file.options).split(u' ', Qt::SkipEmptyParts));
            else if (file.sndfileFormat != 0)
                writeSndfile(path(file), file.sndfileFormat, file.rate, file.channels, samples);
            else
                writeWav(path(file), file.rate, file.channels, samples);
        }
        makeMp3(dir_->filePath("a440.mp3"), 44100, 2,
                sine(44100, 2, 4 * 44100, [](std::int64_t) { return 440.0; }));
        makeMp3(dir_->filePath("b1000.mp3"), 44100, 2,
                sine(44100, 2, 4 * 44100, [](std::int64_t) { return 1000.0; }));
    }
    static void TearDownTestSuite() { dir_.reset(); }
    static QString path(const TestFile& file) { return dir_->filePath(QString::fromLatin1(file.name)); }
    static QString path(const char* name) { return dir_->filePath(QString::fromLatin1(name)); }

    void SetUp() override {
        audio_ = createNullAudioLibrary();
        ASSERT_TRUE(lib().Init(-1, 44100, 0));
    }
    AudioEngine& lib() { return *audio_.library; }
    NullBackend& device() { return *audio_.backend; }
    AudioHandle open(const QString& file) {
        const AudioHandle handle = lib().StreamCreateFile(file);
        EXPECT_NE(handle, 0u) << file.toStdString();
        return handle;
    }

    static std::unique_ptr<QTemporaryDir> dir_;
    NullAudioLibrary audio_;
};
std::unique_ptr<QTemporaryDir> PlaybackTest::dir_;

constexpr std::int64_t BytesPerSecond = 44100 * 4;
// The converter is handed a frame or two ahead of the output.
constexpr std::int64_t PositionSlack = 16;

class LengthTest : public PlaybackTest, public ::testing::WithParamInterface<TestFile> {};

TEST_P(LengthTest, LengthInBytesAndSecondsIsThatOfTheDecodedSamples) {
    const TestFile file = GetParam();
    const AudioHandle stream = open(path(file));
    const auto frames = static_cast<std::int64_t>(file.seconds * file.rate);
    const std::int64_t bytes = frames * file.channels * 2;
    EXPECT_EQ(lib().ChannelGetLength(stream), bytes);
    EXPECT_DOUBLE_EQ(lib().ChannelBytes2Seconds(stream, bytes), static_cast<double>(frames) / file.rate);
    EXPECT_EQ(lib().ChannelSeconds2Bytes(stream, file.seconds), bytes);
    if (file.mp3)
        EXPECT_EQ(static_cast<std::int64_t>(decodeMp3(path(file)).size()) * 2, bytes);
    EXPECT_EQ(lib().ChannelGetPosition(stream), 0);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Stopped);
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::Ok);
}

TEST_P(LengthTest, PlaysToItsEndAndStopsThere) {
    const TestFile file = GetParam();
    const AudioHandle stream = open(path(file));
    device().keepOutput(true);
    ASSERT_TRUE(lib().ChannelPlay(stream, false));
    device().advance(file.seconds / 2);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Playing);
    device().advance(file.seconds / 2 + 0.2);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Stopped);
    EXPECT_EQ(lib().ChannelGetPosition(stream), lib().ChannelGetLength(stream));
    // The first second's tone (300 Hz) came out, converted to the device's 44100 Hz stereo.
    EXPECT_NEAR(zeroCrossingHz(slice(device().output(), 0, 2 * 44100 / 2), 2, 44100), 300.0, 15.0);
}

INSTANTIATE_TEST_SUITE_P(Files, LengthTest,
                         ::testing::Values(Stepped, MonoLow, Short48k, Wave, Variable, Tagged, Vorbis, Flac),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

TEST_F(PlaybackTest, PlaysTheWholeFileWithoutGapsThenStopsAtItsLength) {
    const AudioHandle stream = open(path(Stepped));
    device().keepOutput(true);
    ASSERT_TRUE(lib().ChannelPlay(stream, false));
    device().advance(3.5);
    const Samples out = device().output();
    const Samples in = sine(44100, 2, 3 * 44100, [](std::int64_t f) { return steppedHz(f, 44100); });
    // Sample-aligned from the first frame on: no encoder delay, nothing dropped at the seconds' seams.
    EXPECT_GT(correlation(slice(out, 0, 6 * 44100), in), 0.99);
    EXPECT_GT(correlation(slice(out, 2 * 2 * 44100, 44100 * 2), slice(in, 2 * 2 * 44100, 44100 * 2)), 0.99);
    EXPECT_LT(tonePower(slice(out, 6 * 44100, 2 * 44100), 2, 0, 44100, 500.0), 1e-9); // silence after the end
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Stopped);
    EXPECT_EQ(lib().ChannelGetPosition(stream), lib().ChannelGetLength(stream));
}

TEST_F(PlaybackTest, PositionFollowsTheClockAndPauseKeepsIt) {
    const AudioHandle stream = open(path(Stepped));
    ASSERT_TRUE(lib().ChannelPlay(stream, false));
    device().advance(1.0);
    EXPECT_NEAR(lib().ChannelGetPosition(stream), BytesPerSecond, PositionSlack);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Playing);

    ASSERT_TRUE(lib().ChannelPause(stream));
    const std::int64_t paused = lib().ChannelGetPosition(stream);
    device().keepOutput(true);
    device().advance(1.0);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Paused);
    EXPECT_EQ(lib().ChannelGetPosition(stream), paused);
    EXPECT_LT(tonePower(device().output(), 2, 0, 44100, 400.0), 1e-9);

    ASSERT_TRUE(lib().ChannelPlay(stream, false));
    device().advance(0.5);
    EXPECT_NEAR(lib().ChannelGetPosition(stream), paused + BytesPerSecond / 2, PositionSlack);
}

TEST_F(PlaybackTest, StopKeepsThePositionAndPlayGoesOnFromIt) {
    const AudioHandle stream = open(path(Stepped));
    lib().ChannelPlay(stream, false);
    device().advance(1.2);
    ASSERT_TRUE(lib().ChannelStop(stream));
    const std::int64_t stopped = lib().ChannelGetPosition(stream);
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Stopped);
    EXPECT_EQ(lib().ChannelGetPosition(stream), stopped);
    lib().ChannelPlay(stream, false);
    device().advance(0.3);
    EXPECT_NEAR(lib().ChannelGetPosition(stream), stopped + BytesPerSecond * 3 / 10, PositionSlack);
}

TEST_F(PlaybackTest, SetPositionMovesPlaybackToThatPlaceInTheFile) {
    const AudioHandle stream = open(path(Stepped));
    const std::int64_t two = lib().ChannelSeconds2Bytes(stream, 2.0);
    ASSERT_EQ(two, 2 * BytesPerSecond);
    ASSERT_TRUE(lib().ChannelSetPosition(stream, two));
    EXPECT_EQ(lib().ChannelGetPosition(stream), two);

    device().keepOutput(true);
    lib().ChannelPlay(stream, false);
    device().advance(0.25);
    EXPECT_NEAR(zeroCrossingHz(device().output(), 2, 44100), 500.0, 15.0);

    // Back to the start while playing.
    ASSERT_TRUE(lib().ChannelSetPosition(stream, 0));
    EXPECT_EQ(lib().ChannelGetPosition(stream), 0);
    device().keepOutput(true);
    device().advance(0.25);
    EXPECT_NEAR(zeroCrossingHz(device().output(), 2, 44100), 300.0, 15.0);
    EXPECT_NEAR(lib().ChannelGetPosition(stream), BytesPerSecond / 4, PositionSlack);
}

TEST_F(PlaybackTest, SetPositionOutsideTheStreamIsRefused) {
    const AudioHandle stream = open(path(Stepped));
    const std::int64_t length = lib().ChannelGetLength(stream);
    EXPECT_FALSE(lib().ChannelSetPosition(stream, length + 4));
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::Position);
    EXPECT_FALSE(lib().ChannelSetPosition(stream, -4));
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::Position);
    // Odd byte positions fall to the frame.
    ASSERT_TRUE(lib().ChannelSetPosition(stream, 4003));
    EXPECT_EQ(lib().ChannelGetPosition(stream), 4000);
    // The end itself: the stream ends as soon as it plays.
    ASSERT_TRUE(lib().ChannelSetPosition(stream, length));
    lib().ChannelPlay(stream, false);
    device().advance(0.05);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Stopped);
    EXPECT_EQ(lib().ChannelGetPosition(stream), length);
}

TEST_F(PlaybackTest, AnEndedStreamPlaysAgainFromItsStart) {
    const AudioHandle stream = open(path(Short48k));
    lib().ChannelPlay(stream, false);
    device().advance(1.0);
    ASSERT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Stopped);
    ASSERT_EQ(lib().ChannelGetPosition(stream), lib().ChannelGetLength(stream));
    lib().ChannelPlay(stream, false);
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Playing);
    EXPECT_NEAR(lib().ChannelGetPosition(stream), 48000 * 4 / 2, 64);
}

TEST_F(PlaybackTest, TwoStreamsPlayAtTheSameTime) {
    const AudioHandle song = open(path("a440.mp3"));
    const AudioHandle music = open(path("b1000.mp3"));
    device().keepOutput(true);
    lib().ChannelPlay(song, false);
    lib().ChannelPlay(music, false);
    device().advance(1.0);
    EXPECT_EQ(lib().ChannelIsActive(song), AudioLibrary::Playing);
    EXPECT_EQ(lib().ChannelIsActive(music), AudioLibrary::Playing);
    EXPECT_NEAR(lib().ChannelGetPosition(song), BytesPerSecond, PositionSlack);
    EXPECT_NEAR(lib().ChannelGetPosition(music), BytesPerSecond, PositionSlack);
    const Samples out = device().output();
    const double a = tonePower(out, 2, 0, 44100, 440.0);
    const double b = tonePower(out, 2, 1, 44100, 1000.0);
    const double neither = tonePower(out, 2, 0, 44100, 700.0);
    EXPECT_GT(a, 0.01);
    EXPECT_GT(b, 0.01);
    EXPECT_LT(neither, a / 1000);

    // Stopping one leaves the other playing.
    lib().ChannelStop(music);
    device().keepOutput(true);
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(song), AudioLibrary::Playing);
    EXPECT_LT(tonePower(device().output(), 2, 0, 44100, 1000.0),
              tonePower(device().output(), 2, 0, 44100, 440.0) / 1000);
}

TEST_F(PlaybackTest, MonoOutputMixesTheStreamDownAndKeepsItsOwnFormat) {
    ASSERT_TRUE(lib().Free());
    ASSERT_TRUE(lib().Init(-1, 44100, AudioLibrary::DeviceMono));
    device().settle();
    EXPECT_EQ(device().playbackFormat().channels, 1);
    const AudioHandle stream = open(path(Stepped));
    EXPECT_EQ(lib().ChannelGetLength(stream), 3 * BytesPerSecond);
    device().keepOutput(true);
    lib().ChannelPlay(stream, false);
    device().advance(0.5);
    EXPECT_NEAR(lib().ChannelGetPosition(stream), BytesPerSecond / 2, PositionSlack);
    EXPECT_NEAR(zeroCrossingHz(device().output(), 1, 44100), 300.0, 15.0);
}

TEST_F(PlaybackTest, ManyStreamsStayPlayable) {
    // More streams than keep their decoders: the early ones are reloaded when played or moved.
    std::vector<AudioHandle> streams;
    for (int i = 0; i < 8; ++i)
        streams.push_back(open(path(Stepped)));
    device().advance(0.2);
    ASSERT_TRUE(lib().ChannelSetPosition(streams[0], lib().ChannelSeconds2Bytes(streams[0], 1.0)));
    device().keepOutput(true);
    lib().ChannelPlay(streams[0], false);
    lib().ChannelPlay(streams[1], false);
    device().advance(0.5);
    EXPECT_NEAR(lib().ChannelGetPosition(streams[0]), BytesPerSecond * 3 / 2, PositionSlack);
    EXPECT_NEAR(lib().ChannelGetPosition(streams[1]), BytesPerSecond / 2, PositionSlack);
    const Samples out = device().output();
    EXPECT_GT(tonePower(out, 2, 0, 44100, 400.0), 0.005);
    EXPECT_GT(tonePower(out, 2, 0, 44100, 300.0), 0.005);
}

// Waits (in real time, for the device's thread) until `done`.
bool waitFor(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return done();
}

TEST_F(PlaybackTest, APlaybackDeviceThatGoesIsOpenedAgainAndTheSongGoesOn) {
    const AudioHandle stream = open(path(Stepped));
    lib().ChannelPlay(stream, false);
    device().advance(0.5);
    device().losePlayback();
    device().advance(0.5);
    EXPECT_NEAR(lib().ChannelGetPosition(stream), BytesPerSecond / 2, PositionSlack);
    // The device's thread opens it again by itself.
    EXPECT_TRUE(waitFor([&] { return !device().playbackLost(); }));
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Playing);
    EXPECT_NEAR(lib().ChannelGetPosition(stream), BytesPerSecond, PositionSlack);
}

TEST_F(PlaybackTest, APlaybackDeviceThatStopsAskingIsOpenedAgainAndTheSongGoesOn) {
    const AudioHandle stream = open(path(Stepped));
    lib().ChannelPlay(stream, false);
    device().advance(0.5);
    const int opens = device().playbackOpens();
    device().freezePlayback(true); // a sound server that hangs
    device().advance(3.0);
    EXPECT_TRUE(waitFor([&] { return device().playbackOpens() == opens + 1; })) << "opened again";
    device().freezePlayback(false);
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Playing);
    EXPECT_NEAR(lib().ChannelGetPosition(stream), BytesPerSecond, PositionSlack);
}

// Waits (in real time, for the decoder thread) until the playback device is open or closed as wanted.
bool waitForPlaybackOpen(const NullBackend& device, bool open) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (device.playbackOpen() != open && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return device.playbackOpen() == open;
}

TEST_F(PlaybackTest, AnIdleDeviceIsClosedAndThePlayAfterItSoundsFromItsFirstFrame) {
    NullBackend::Options options;
    options.playbackIdleSeconds = 1.0;
    audio_ = createNullAudioLibrary(options);
    ASSERT_TRUE(lib().Init(-1, 44100, 0));
    const AudioHandle stream = open(path(Stepped));
    lib().ChannelPlay(stream, false);
    device().advance(0.5);
    ASSERT_TRUE(lib().ChannelPause(stream));
    const std::int64_t paused = lib().ChannelGetPosition(stream);

    // The time without sound counts from when the decoder thread first sees it.
    device().advance(0.5);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(device().playbackOpen()) << "not idle for long enough yet";
    device().advance(1.0);
    ASSERT_TRUE(waitForPlaybackOpen(device(), false)) << "an idle device is closed";
    const int opens = device().playbackOpens();
    device().advance(3.0);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Paused);
    EXPECT_EQ(device().playbackOpens(), opens) << "a closed device is not taken for a frozen one";

    device().keepOutput(true);
    ASSERT_TRUE(lib().ChannelPlay(stream, false));
    device().settle(); // the device's thread opens it
    EXPECT_TRUE(device().playbackOpen());
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Playing);
    EXPECT_NEAR(lib().ChannelGetPosition(stream), paused + BytesPerSecond / 2, PositionSlack);
    // The stream goes on where it was paused, from the device's first frame on.
    const Samples in = sine(44100, 2, 3 * 44100, [](std::int64_t f) { return steppedHz(f, 44100); });
    const Samples out = device().output();
    EXPECT_GT(correlation(slice(out, 0, 2 * 4410), slice(in, paused / 2, 2 * 4410)), 0.99);

    // Played to its end, the stream leaves the device idle again.
    device().advance(2.5);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Stopped);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    device().advance(1.5);
    EXPECT_TRUE(waitForPlaybackOpen(device(), false));
}

TEST_F(PlaybackTest, OpensFilesWithNonAsciiNames) {
    const QString copy = dir_->filePath(QStringLiteral("Lied für Öl ß 007.mp3"));
    QFile::remove(copy);
    ASSERT_TRUE(QFile::copy(path(Short48k), copy));
    const AudioHandle stream = open(copy);
    EXPECT_EQ(lib().ChannelGetLength(stream), static_cast<std::int64_t>(0.7 * 48000) * 4);
}

TEST_F(PlaybackTest, FreeInvalidatesTheStreams) {
    const AudioHandle stream = open(path(Stepped));
    lib().ChannelPlay(stream, false);
    ASSERT_TRUE(lib().Free());
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Stopped);
    EXPECT_EQ(lib().ChannelGetPosition(stream), -1);
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::Handle);
    EXPECT_EQ(lib().StreamCreateFile(path(Stepped)), 0u);
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::Init);
    EXPECT_FALSE(lib().Free());
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::Init);
}

struct BadFile {
    const char* name;
    QByteArray content; // null: the file does not exist
    int error;
};

class BadFileTest : public PlaybackTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFileTest, GivesNoHandleAndTheErrorCode) {
    const BadFile bad = GetParam();
    const QString file = dir_->filePath(QString::fromLatin1(bad.name));
    if (!bad.content.isNull()) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bad.content);
    }
    EXPECT_EQ(lib().StreamCreateFile(file), 0u);
    EXPECT_EQ(lib().ErrorGetCode(), bad.error);
}

QByteArray noise() {
    QByteArray bytes;
    std::uint32_t x = 12345;
    for (int i = 0; i < 20000; ++i) {
        x = x * 1664525u + 1013904223u;
        bytes.append(static_cast<char>(x >> 24));
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadFileTest,
    ::testing::Values(BadFile{"missing.mp3", QByteArray(), AudioError::FileOpen},
                      BadFile{"empty.mp3", QByteArray(""), AudioError::FileForm},
                      BadFile{"text.mp3", QByteArray("Lied 1\r\nLied 2\r\n").repeated(50),
                              AudioError::FileForm},
                      BadFile{"noise.mp3", noise(), AudioError::FileForm},
                      BadFile{"header.wav", QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16), AudioError::FileForm}),
    [](const auto& info) {
        return std::string(info.param.name).substr(0, std::string(info.param.name).find('.'));
    });

TEST_F(PlaybackTest, InvalidHandlesGiveTheErrorValues) {
    for (const AudioHandle handle : {AudioHandle{0}, AudioHandle{4711}}) {
        EXPECT_EQ(lib().ChannelIsActive(handle), AudioLibrary::Stopped);
        EXPECT_EQ(lib().ChannelGetLength(handle), -1);
        EXPECT_EQ(lib().ChannelGetPosition(handle), -1);
        EXPECT_EQ(lib().ChannelBytes2Seconds(handle, 100), -1.0);
        EXPECT_EQ(lib().ChannelSeconds2Bytes(handle, 1.0), -1);
        EXPECT_EQ(lib().ChannelGetLevel(handle), -1);
        EXPECT_FALSE(lib().ChannelPlay(handle, false));
        EXPECT_FALSE(lib().ChannelPause(handle));
        EXPECT_FALSE(lib().ChannelStop(handle));
        EXPECT_FALSE(lib().ChannelSetPosition(handle, 0));
        EXPECT_EQ(lib().ErrorGetCode(), AudioError::Handle);
    }
}

TEST_F(PlaybackTest, PauseOfAStreamThatDoesNotPlayIsRefused) {
    const AudioHandle stream = open(path(Stepped));
    EXPECT_FALSE(lib().ChannelPause(stream));
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::NoPlay);
    lib().ChannelPlay(stream, false);
    ASSERT_TRUE(lib().ChannelPause(stream));
    EXPECT_FALSE(lib().ChannelPause(stream));
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::Already);
}

TEST_F(PlaybackTest, DeviceOpeningIsChecked) {
    EXPECT_FALSE(lib().Init(-1, 44100, 0));
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::Already);
    EXPECT_EQ(lib().GetVersion() >> 16, 0x0204u);
    EXPECT_FALSE(lib().DeviceMissing(AudioLibrary::OutputDevice));
    NullAudioLibrary closed = createNullAudioLibrary();
    EXPECT_FALSE(closed.library->Stop());
    EXPECT_EQ(closed.library->ErrorGetCode(), AudioError::Init);
}

// Started before the sound server: the device is missing, streams are made and played all the same, and
// they sound once the device's thread has found it.
TEST_F(PlaybackTest, AMissingDeviceIsTriedAgainAndTheStreamsMadeMeanwhilePlay) {
    NullBackend::Options options;
    options.playbackFails = true;
    audio_ = createNullAudioLibrary(options);
    ASSERT_TRUE(lib().Init(-1, 44100, 0));
    device().settle();
    EXPECT_TRUE(lib().DeviceMissing(AudioLibrary::OutputDevice));
    const AudioHandle stream = open(path(Stepped));
    EXPECT_EQ(lib().ChannelGetLength(stream), 3 * BytesPerSecond);
    ASSERT_TRUE(lib().ChannelPlay(stream, false));
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Stalled);
    EXPECT_EQ(lib().ChannelGetPosition(stream), 0);

    device().setFailing(false, false);
    EXPECT_TRUE(waitFor([&] { return device().playbackOpen(); })) << "opened once it is there";
    EXPECT_FALSE(lib().DeviceMissing(AudioLibrary::OutputDevice));
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Playing);
    EXPECT_NEAR(lib().ChannelGetPosition(stream), BytesPerSecond / 2, PositionSlack);
}

} // namespace

TEST_F(PlaybackTest, AFreedStreamIsGoneAndTheOthersPlayOn) {
    const AudioHandle freed = open(path(Stepped));
    const AudioHandle kept = open(path(Stepped));
    lib().ChannelPlay(freed, false);
    lib().ChannelPlay(kept, false);
    device().advance(0.3);
    EXPECT_TRUE(lib().StreamFree(freed));
    EXPECT_EQ(lib().ChannelIsActive(freed), AudioLibrary::Stopped);
    EXPECT_EQ(lib().ChannelGetLength(freed), -1);
    EXPECT_FALSE(lib().StreamFree(freed));
    device().advance(0.3);
    EXPECT_EQ(lib().ChannelIsActive(kept), AudioLibrary::Playing);
    EXPECT_NEAR(lib().ChannelGetPosition(kept), BytesPerSecond * 6 / 10, PositionSlack);
}

// Floating-point files, as editors write them, at the level of the 16-bit samples they were made from.
class FloatFileTest : public PlaybackTest, public ::testing::WithParamInterface<TestFile> {};

TEST_P(FloatFileTest, PlaysAtTheLevelOfItsSamples) {
    const TestFile file = GetParam();
    const Samples samples = sine(
        44100, 2, 44100, [](std::int64_t) { return 441.0; }, 12000.0);
    // Full scale is 1.0 in such files.
    std::vector<float> floats(samples.size());
    std::transform(samples.begin(), samples.end(), floats.begin(),
                   [](std::int16_t s) { return s / 32768.0f; });
    SF_INFO info{44100, 44100, 2, file.sndfileFormat, 0, 0};
    SNDFILE* written = sf_open(QFile::encodeName(path(file)).constData(), SFM_WRITE, &info);
    ASSERT_NE(written, nullptr) << sf_strerror(nullptr);
    ASSERT_EQ(sf_writef_float(written, floats.data(), 44100), 44100);
    sf_close(written);
    const AudioHandle stream = open(path(file));
    device().keepOutput(true);
    ASSERT_TRUE(lib().ChannelPlay(stream, false));
    device().advance(0.5);
    const Samples out = device().output();
    ASSERT_FALSE(out.empty());
    const auto peak = std::abs(*std::max_element(
        out.begin(), out.end(), [](std::int16_t a, std::int16_t b) { return std::abs(a) < std::abs(b); }));
    EXPECT_NEAR(peak, 12000, 60);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FloatFileTest,
    ::testing::Values(TestFile{"float.wav", 44100, 2, 1, false, "", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
                      TestFile{"double.wav", 44100, 2, 1, false, "", SF_FORMAT_WAV | SF_FORMAT_DOUBLE},
                      TestFile{"float.aiff", 44100, 2, 1, false, "", SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
                      TestFile{"double.aiff", 44100, 2, 1, false, "", SF_FORMAT_AIFF | SF_FORMAT_DOUBLE}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '.', '_');
        return name;
    });

TEST_F(PlaybackTest, AFileDamagedWhileItPlaysEndsThereAndSaysItCouldNotBeRead) {
    const QString damaged = path("damaged.mp3");
    makeMp3(damaged, 44100, 2, sine(44100, 2, 20 * 44100, [](std::int64_t) { return 440.0; }));
    const AudioHandle stream = open(damaged);
    const AudioHandle whole = open(path(Short48k));
    lib().ChannelPlay(stream, false);
    lib().ChannelPlay(whole, false);
    device().advance(0.5);
    QFile file(damaged);
    ASSERT_TRUE(file.resize(file.size() / 10));
    device().advance(6.0);
    EXPECT_EQ(lib().ChannelIsActive(stream), AudioLibrary::Stopped);
    EXPECT_TRUE(lib().ChannelReadFailed(stream));
    EXPECT_EQ(lib().ChannelIsActive(whole), AudioLibrary::Stopped);
    EXPECT_FALSE(lib().ChannelReadFailed(whole)) << "a file played to its end";
    lib().ChannelPlay(stream, true);
    EXPECT_FALSE(lib().ChannelReadFailed(stream)) << "played again, it is tried again";
    EXPECT_FALSE(lib().ChannelReadFailed(0));
}
