#include "AudioTestSupport.h"
#include "platform/audio/AudioFactory.h"

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

using namespace audiotest;

namespace {

constexpr int Rate = 44100;
constexpr int Channels = 2;
// What the device holds queued ahead of what it plays: 100 ms.
constexpr int QueueFrames = 4410;
constexpr std::int64_t SongFrames = Rate * 5 / 4;
// The position of a stream played for 0.5 s on a new device: what was played and what is queued.
constexpr std::int64_t PlayedBytes = 4 * (Rate / 2 + QueueFrames);

// Second k of the song sounds at 300 + 100 k Hz, so the content shows which part of it is heard.
Samples song() {
    return sine(Rate, Channels, SongFrames,
                [](std::int64_t frame) { return 300.0 + 100.0 * static_cast<double>(frame / Rate); });
}

std::int64_t firstSound(const Samples& samples) {
    const auto it = std::find_if(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; });
    return std::distance(samples.begin(), it);
}

// A device that plays each frame 100 ms after it was rendered, as a sound server does.
class QueuedDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<QTemporaryDir>();
        writeWav(dir_->filePath(QStringLiteral("song.wav")), Rate, Channels, song());
    }
    static void TearDownTestSuite() { dir_.reset(); }

    void SetUp() override {
        NullBackend::Options options;
        options.playbackQueueFrames = QueueFrames;
        audio_ = createNullAudioLibrary(options);
        ASSERT_TRUE(lib().Init(-1, Rate, 0));
        stream_ = lib().StreamCreateFile(dir_->filePath(QStringLiteral("song.wav")));
        ASSERT_NE(stream_, 0u);
    }
    AudioEngine& lib() { return *audio_.library; }
    NullBackend& device() { return *audio_.backend; }
    // The song played for a while and stopped; `rest` seconds later the device holds only silence queued.
    void playAndStop(double rest) {
        ASSERT_TRUE(lib().ChannelPlay(stream_, true));
        device().advance(0.5);
        ASSERT_TRUE(lib().ChannelStop(stream_));
        device().advance(rest);
    }
    // The song as heard from the first frame that sounds in the output.
    Samples heardSong() {
        const Samples out = device().output();
        return slice(out, firstSound(out), static_cast<std::int64_t>(out.size()));
    }

    static std::unique_ptr<QTemporaryDir> dir_;
    NullAudioLibrary audio_;
    AudioHandle stream_ = 0;
};
std::unique_ptr<QTemporaryDir> QueuedDeviceTest::dir_;

TEST_F(QueuedDeviceTest, AStartAfterSilenceIsHeardFromTheDevicesNextFrameNotBehindItsQueue) {
    playAndStop(1.0);
    device().keepOutput(true);
    ASSERT_TRUE(lib().ChannelPlay(stream_, true));
    device().advance(0.5);
    const Samples out = device().output();
    // The song's first samples are the next ones the device plays, not 100 ms of queued silence.
    EXPECT_LT(firstSound(out), Channels * 8);
    EXPECT_GT(correlation(slice(out, 0, Channels * Rate / 2), slice(song(), 0, Channels * Rate / 2)), 0.99);
    EXPECT_NEAR(lib().ChannelGetPosition(stream_), PlayedBytes, 64);
}

TEST_F(QueuedDeviceTest, WhileTheNewDeviceOpensTheOldOneTakesNothingOfTheSongAndAFailedOpenLeavesItPlaying) {
    playAndStop(1.0);
    device().keepOutput(true);
    device().holdDeviceCalls(true);
    ASSERT_TRUE(lib().ChannelPlay(stream_, true));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (device().heldCalls() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(device().heldCalls(), 1) << "a new device is asked for";
    device().advance(0.3);
    device().holdDeviceCalls(false);
    device().advance(0.5);
    // Nothing of the song went into the old device's queue: it is heard whole from its first sample.
    EXPECT_GT(correlation(slice(heardSong(), 0, Channels * Rate / 2), slice(song(), 0, Channels * Rate / 2)),
              0.99);
    EXPECT_NEAR(lib().ChannelGetPosition(stream_), PlayedBytes, 64);

    // No new device can be opened: the song plays on the old one, behind its queue.
    ASSERT_TRUE(lib().ChannelStop(stream_));
    device().advance(1.0);
    device().setFailing(true, false);
    device().keepOutput(true);
    ASSERT_TRUE(lib().ChannelPlay(stream_, true));
    device().advance(0.5);
    EXPECT_GE(firstSound(device().output()), Channels * QueueFrames / 2);
    EXPECT_GT(correlation(slice(heardSong(), 0, Channels * Rate / 4), slice(song(), 0, Channels * Rate / 4)),
              0.99);
    EXPECT_TRUE(device().playbackOpen());
}

TEST_F(QueuedDeviceTest, AStartRightAfterTheSongEndedKeepsWhatIsStillQueuedOfIt) {
    // The endless loop: the end of the song is followed at once by its start, while the device still holds
    // the song's last 50 ms.
    device().keepOutput(true);
    ASSERT_TRUE(lib().ChannelPlay(stream_, false));
    device().advance(static_cast<double>(SongFrames - QueueFrames / 2) / Rate);
    ASSERT_EQ(lib().ChannelIsActive(stream_), AudioLibrary::Stopped);
    const int opens = device().playbackOpens();
    ASSERT_TRUE(lib().ChannelPlay(stream_, false));
    device().advance(0.5);
    const Samples out = device().output();
    const Samples whole = song();
    const std::int64_t tail = Channels * QueueFrames / 2;
    EXPECT_GT(correlation(slice(out, Channels * SongFrames - tail, tail),
                          slice(whole, Channels * SongFrames - tail, tail)),
              0.99)
        << "the song's end is heard";
    EXPECT_GT(correlation(slice(out, Channels * (SongFrames + QueueFrames / 2), Channels * Rate / 4),
                          slice(whole, 0, Channels * Rate / 4)),
              0.99)
        << "then its start, behind the queue";
    EXPECT_EQ(device().playbackOpens(), opens);
}

} // namespace
