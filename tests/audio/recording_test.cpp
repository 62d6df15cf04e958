#include "AudioTestSupport.h"
#include "platform/audio/AudioFactory.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <taglib/fileref.h>
#include <taglib/tag.h>

using namespace audiotest;

namespace {

constexpr int Rate = 22050;
// At 48 kbit/s and 22050 Hz lame has no room for its gapless header: the decoded file starts with the
// encoder's and decoder's delay and ends with padding. It is the same for every file.
constexpr std::int64_t MaxDelay = 2000;

// A tone gliding between 300 and 900 Hz: every stretch of it is unlike its neighbours, so a decoded recording
// lines up with the signal at one offset only.
std::int16_t glide(std::uint64_t frame) {
    const double t = static_cast<double>(frame) / Rate;
    const double phase =
        2.0 * std::numbers::pi *
        (600.0 * t - 300.0 / (2.0 * std::numbers::pi * 0.37) * std::cos(2.0 * std::numbers::pi * 0.37 * t));
    return static_cast<std::int16_t>(std::lround(16000.0 * std::sin(phase)));
}

Samples glideFrom(std::uint64_t first, std::uint64_t count) {
    Samples out;
    for (std::uint64_t i = 0; i < count; ++i)
        out.push_back(glide(first + i));
    return out;
}

class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        NullBackend::Options options;
        options.captureDevices = {QStringLiteral("Line"), QStringLiteral("Mic")};
        audio_ = createNullAudioLibrary(options);
        device().setInputSignal([](std::uint64_t frame, int) { return glide(frame); });
        ASSERT_TRUE(lib().RecordInit(-1));
    }
    AudioEngine& lib() { return *audio_.library; }
    NullBackend& device() { return *audio_.backend; }
    QString file(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    // The encoder command line in the program's own shape (artist, album, comment, genre, then "-" and the
    // file).
    QString commandLine(const QString& comment, const QString& output) const {
        const QString caption = QStringLiteral("Kandolor   Max Muster  09.12.2026");
        return QStringLiteral(
                   "lame -b 48 -m m --id3v2-only --ta \"%1\" --tl \"%1\" --tc \"%2\" --tg \"101\" - %3")
            .arg(caption, comment, output);
    }

    QTemporaryDir dir_;
    NullAudioLibrary audio_;
};

TEST_F(RecordingTest, ListsTheInputsWithTheDefaultSwitchedOn) {
    EXPECT_EQ(lib().RecordGetInputName(0), QStringLiteral("Default"));
    EXPECT_EQ(lib().RecordGetInputName(1), QStringLiteral("Line"));
    EXPECT_EQ(lib().RecordGetInputName(2), QStringLiteral("Mic"));
    EXPECT_EQ(lib().RecordGetInputName(3), std::nullopt);
    EXPECT_EQ(lib().RecordGetInput(0) & AudioLibrary::InputOff, 0);
    EXPECT_EQ(lib().RecordGetInput(1) & AudioLibrary::InputOff,
              static_cast<std::int32_t>(AudioLibrary::InputOff));
    EXPECT_EQ(lib().RecordGetInput(3), -1);

    // Switching all off stops at the first refused index; then one on.
    int input = 0;
    while (lib().RecordSetInput(input, AudioLibrary::InputOff, -1.0f))
        ++input;
    EXPECT_EQ(input, 3);
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::IllParam);
    ASSERT_TRUE(lib().RecordSetInput(2, AudioLibrary::InputOn, -1.0f));
    EXPECT_EQ(lib().RecordGetInput(2), 0);
    EXPECT_EQ(lib().RecordGetInput(0), static_cast<std::int32_t>(AudioLibrary::InputOff));
    EXPECT_TRUE(lib().RecordSetInput(-1, AudioLibrary::InputOn, -1.0f)); // nothing selected: master
}

TEST_F(RecordingTest, PositionCountsCapturedBytesAndLevelIsThePeakTimesTheVolume) {
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    ASSERT_NE(channel, 0u);
    EXPECT_EQ(lib().ChannelIsActive(channel), AudioLibrary::Playing);
    device().advance(1.0);
    EXPECT_EQ(lib().ChannelGetPosition(channel), 2 * Rate);
    EXPECT_DOUBLE_EQ(lib().ChannelBytes2Seconds(channel, lib().ChannelGetPosition(channel)), 1.0);
    EXPECT_NEAR(lib().ChannelGetLevel(channel), 16000, 400);

    ASSERT_TRUE(lib().RecordSetInput(0, AudioLibrary::InputOn, 0.5f));
    device().advance(0.2);
    EXPECT_NEAR(lib().ChannelGetLevel(channel) & 0xFFFF, 8000, 200);

    ASSERT_TRUE(lib().ChannelStop(channel));
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(channel), AudioLibrary::Stopped);
    EXPECT_EQ(lib().ChannelGetPosition(channel), static_cast<std::int64_t>(2 * Rate * 1.2));
    EXPECT_EQ(lib().ChannelGetLevel(channel), -1);
}

TEST_F(RecordingTest, ARecordingDecodesBackToTheSignalWithItsTagTexts) {
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    const QString comment = QStringLiteral("Glaube über Zweifel – Öl & Wasser");
    const AudioHandle encoder =
        lib().EncodeStart(channel, commandLine(comment, file("aufnahme1.mp3")), AudioLibrary::EncodeUnicode);
    ASSERT_NE(encoder, 0u) << lib().ErrorGetCode();
    device().advance(3.0);
    lib().ChannelStop(channel);
    ASSERT_EQ(stopEncoderAndWait(lib(), encoder), AudioError::Ok);

    int rate = 0;
    int channels = 0;
    const Samples decoded = decodeMp3(file("aufnahme1.mp3"), &rate, &channels);
    EXPECT_EQ(rate, Rate);
    EXPECT_EQ(channels, 1);
    const Samples signal = glideFrom(0, 3 * Rate);
    const std::int64_t delay = bestOffset(decoded, slice(signal, 0, Rate), MaxDelay);
    ASSERT_GE(static_cast<std::int64_t>(decoded.size()), delay + 3 * Rate);
    EXPECT_GT(correlation(slice(decoded, delay, 3 * Rate), signal), 0.95);

    TagLib::FileRef tagged(QFile::encodeName(file("aufnahme1.mp3")).constData());
    ASSERT_FALSE(tagged.isNull());
    EXPECT_EQ(QString::fromStdWString(tagged.tag()->comment().toWString()), comment);
    EXPECT_EQ(QString::fromStdWString(tagged.tag()->artist().toWString()),
              QStringLiteral("Kandolor   Max Muster  09.12.2026"));
}

TEST_F(RecordingTest, ASplitLosesNoSample) {
    const AudioHandle first = lib().RecordStart(Rate, 1, 0);
    const AudioHandle firstEncoder = lib().EncodeStart(first, commandLine("Teil", file("aufnahme1.mp3")), 0);
    ASSERT_NE(firstEncoder, 0u);
    device().advance(1.37);
    // Stop and start again at once, as a split does; the encoder's end waits for its process.
    lib().ChannelStop(first);
    ASSERT_EQ(stopEncoderAndWait(lib(), firstEncoder), AudioError::Ok);
    device().advance(0.25); // capture goes on while the first file is finished
    const AudioHandle second = lib().RecordStart(Rate, 1, 0);
    const AudioHandle secondEncoder =
        lib().EncodeStart(second, commandLine("Teil", file("aufnahme2.mp3")), 0);
    ASSERT_NE(secondEncoder, 0u);
    device().advance(1.0);
    lib().ChannelStop(second);
    ASSERT_EQ(stopEncoderAndWait(lib(), secondEncoder), AudioError::Ok);

    const std::int64_t firstFrames = lib().ChannelGetPosition(first) / 2;
    const std::int64_t secondFrames = lib().ChannelGetPosition(second) / 2;
    EXPECT_EQ(firstFrames + secondFrames, std::int64_t{262} * Rate / 100); // every captured frame

    const Samples a = decodeMp3(file("aufnahme1.mp3"));
    const Samples b = decodeMp3(file("aufnahme2.mp3"));
    const Samples firstPart = glideFrom(0, static_cast<std::uint64_t>(firstFrames));
    const Samples secondPart =
        glideFrom(static_cast<std::uint64_t>(firstFrames), static_cast<std::uint64_t>(secondFrames));
    const std::int64_t delay = bestOffset(a, slice(firstPart, 0, Rate / 2), MaxDelay);
    ASSERT_GE(static_cast<std::int64_t>(a.size()), delay + firstFrames);
    ASSERT_GE(static_cast<std::int64_t>(b.size()), delay + secondFrames);
    EXPECT_GT(correlation(slice(a, delay, firstFrames), firstPart), 0.95);
    EXPECT_GT(correlation(slice(b, delay, secondFrames), secondPart), 0.95);
    // The second file begins with the sample after the last one of the first: the same delay lines it up.
    EXPECT_EQ(bestOffset(b, slice(secondPart, 0, Rate / 2), MaxDelay), delay);
}

TEST_F(RecordingTest, RecordFreeFinishesARunningEncoder) {
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    ASSERT_NE(lib().EncodeStart(channel, commandLine("Ende", file("aufnahme3.mp3")), 0), 0u);
    device().advance(1.0);
    ASSERT_TRUE(lib().RecordFree());
    const Samples decoded = decodeMp3(file("aufnahme3.mp3"));
    const Samples signal = glideFrom(0, Rate);
    const std::int64_t delay = bestOffset(decoded, signal, MaxDelay);
    EXPECT_GT(correlation(slice(decoded, delay, Rate), signal), 0.95);
    EXPECT_EQ(lib().RecordStart(Rate, 1, 0), 0u);
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::Init);
}

TEST_F(RecordingTest, ACaptureDeviceThatGoesIsOpenedAgainAndTheChannelGoesOn) {
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    device().advance(1.0);
    device().loseCapture();
    device().advance(0.5); // nothing arrives while the device is gone
    EXPECT_EQ(lib().ChannelGetPosition(channel), 2 * Rate);
    // Stalled while the device is away (until the engine has opened it again).
    QDeadlineTimer seen(10000);
    while (lib().ChannelIsActive(channel) != AudioLibrary::Stalled && device().captureLost() &&
           !seen.hasExpired())
        QThread::msleep(5);
    EXPECT_TRUE(lib().ChannelIsActive(channel) == AudioLibrary::Stalled || !device().captureLost());
    QDeadlineTimer deadline(10000);
    while (device().captureLost() && !deadline.hasExpired())
        QThread::msleep(20);
    ASSERT_FALSE(device().captureLost()) << "the capture device was not opened again";
    device().advance(1.0);
    EXPECT_EQ(lib().ChannelIsActive(channel), AudioLibrary::Playing);
    EXPECT_EQ(lib().ChannelGetPosition(channel), 4 * Rate);
}

TEST_F(RecordingTest, ACaptureDeviceThatStopsDeliveringIsReportedAndOpenedAgain) {
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    device().advance(1.0);
    const int opens = device().captureOpens();
    device().freezeCapture(true); // a sound server that hangs: the device claims to run
    device().advance(5.0);
    QDeadlineTimer deadline(10000);
    while (device().captureOpens() == opens && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_GT(device().captureOpens(), opens) << "the device was opened again";
    EXPECT_EQ(lib().ChannelIsActive(channel), AudioLibrary::Stalled) << "and is reported until it delivers";
    device().freezeCapture(false);
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(channel), AudioLibrary::Playing);
    EXPECT_GT(lib().ChannelGetPosition(channel), 2 * Rate);
}

TEST_F(RecordingTest, AMissingEncoderProgramFailsToStartAndCaptureGoesOn) {
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    EXPECT_EQ(lib().EncodeStart(channel, QStringLiteral("/nonexistent/lame -b 48 - ") + file("x.mp3"), 0),
              0u);
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::FileOpen);
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(channel), AudioLibrary::Playing);
    EXPECT_EQ(lib().ChannelGetPosition(channel), Rate);
    EXPECT_FALSE(lib().EncodeStop(0, {}));
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::Handle);
}

TEST_F(RecordingTest, AnEncoderThatFailsReportsItsExit) {
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    const AudioHandle encoder =
        lib().EncodeStart(channel, QStringLiteral("lame --no-such-option - ") + file("y.mp3"), 0);
    ASSERT_NE(encoder, 0u);
    device().advance(0.5);
    lib().ChannelStop(channel);
    const std::optional<int> exit = stopEncoderAndWait(lib(), encoder);
    ASSERT_TRUE(exit.has_value()) << "the stop is taken and the exit is told";
    EXPECT_NE(*exit, AudioError::Ok);
}

TEST_F(RecordingTest, RecordingNeedsAnInitialisedDevice) {
    NullAudioLibrary uninitialised = createNullAudioLibrary();
    EXPECT_EQ(uninitialised.library->RecordStart(Rate, 1, 0), 0u);
    EXPECT_EQ(uninitialised.library->ErrorGetCode(), AudioError::Init);
    EXPECT_EQ(uninitialised.library->RecordGetInputName(0), std::nullopt);
    EXPECT_EQ(uninitialised.library->RecordGetInput(0), -1);
}

// Started before the sound server: the default input is there, a recording started waits for it (its time
// counted as missing), and records once the device's thread has found it.
TEST_F(RecordingTest, WithoutACaptureDeviceARecordingWaitsForItAndCountsTheMissingTime) {
    NullBackend::Options options;
    options.captureFails = true;
    audio_ = createNullAudioLibrary(options);
    device().setInputSignal([](std::uint64_t frame, int) { return glide(frame); });
    ASSERT_TRUE(lib().RecordInit(-1));
    EXPECT_EQ(lib().RecordGetInputName(0), QStringLiteral("Default"));
    EXPECT_EQ(lib().RecordGetInputName(1), std::nullopt);
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    ASSERT_NE(channel, 0u);
    device().settle();
    EXPECT_TRUE(lib().DeviceMissing(AudioLibrary::RecordDevice));
    device().advance(3.0);
    EXPECT_EQ(lib().ChannelIsActive(channel), AudioLibrary::Stalled);
    EXPECT_EQ(lib().ChannelGetPosition(channel), 0);

    device().setFailing(false, false);
    QDeadlineTimer deadline(10000);
    while (!device().captureOpen() && !deadline.hasExpired())
        QThread::msleep(5);
    ASSERT_TRUE(device().captureOpen());
    device().advance(1.0);
    EXPECT_EQ(lib().ChannelIsActive(channel), AudioLibrary::Playing);
    EXPECT_FALSE(lib().DeviceMissing(AudioLibrary::RecordDevice));
    EXPECT_EQ(lib().ChannelGetPosition(channel), 2 * Rate);
    lib().ChannelStop(channel);
    device().advance(2.0);
    EXPECT_NEAR(lib().ChannelBytes2Seconds(channel, lib().ChannelGetMissing(channel)), 3.0, 0.05)
        << "the three seconds before the device was there, counted up to the stop";
}

TEST_F(RecordingTest, TheInputSwitchedOnLastIsTheDeviceCaptured) {
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    ASSERT_NE(channel, 0u);
    device().settle();
    EXPECT_EQ(device().captureDevice(), QString()); // the system's default source
    device().advance(0.5);
    // Another input chosen while recording: the device changes, the channel goes on.
    for (int input = 0; lib().RecordSetInput(input, AudioLibrary::InputOff, -1.0f); ++input) {
    }
    ASSERT_TRUE(lib().RecordSetInput(2, AudioLibrary::InputOn, -1.0f));
    device().settle();
    EXPECT_EQ(device().captureDevice(), QStringLiteral("Mic"));
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelGetPosition(channel), 2 * Rate);
    EXPECT_EQ(lib().RecordStart(Rate, 1, 0), 0u); // one recording at a time
    EXPECT_EQ(lib().ErrorGetCode(), AudioError::Already);
}

TEST_F(RecordingTest, AChosenInputThatIsGoneIsMissingUntilAnotherIsChosen) {
    ASSERT_TRUE(lib().RecordSetInput(0, AudioLibrary::InputOff, -1.0f));
    ASSERT_TRUE(lib().RecordSetInput(2, AudioLibrary::InputOn, -1.0f));
    device().setCaptureDevices({QStringLiteral("Line")});
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    ASSERT_NE(channel, 0u);
    device().settle();
    EXPECT_TRUE(lib().DeviceMissing(AudioLibrary::RecordDevice));
    EXPECT_EQ(lib().ChannelIsActive(channel), AudioLibrary::Stalled);
    ASSERT_TRUE(lib().RecordSetInput(0, AudioLibrary::InputOn, -1.0f));
    device().settle();
    EXPECT_FALSE(lib().DeviceMissing(AudioLibrary::RecordDevice));
    device().advance(0.5);
    EXPECT_EQ(lib().ChannelIsActive(channel), AudioLibrary::Playing);
    EXPECT_EQ(lib().ChannelGetPosition(channel), Rate);
}

} // namespace
