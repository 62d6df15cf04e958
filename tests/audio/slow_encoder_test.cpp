#include "AudioTestSupport.h"
#include "platform/audio/AudioFactory.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <future>
#include <gtest/gtest.h>
#include <optional>

// The engine under encoders that are slow, pause or stall, fed in wall-clock time: stand-in encoders are
// small scripts that copy the WAVE stream they get into their output file, at their own pace.
namespace {

constexpr int Rate = 22050;

std::int16_t ramp(std::uint64_t frame) {
    return static_cast<std::int16_t>(frame & 0x7FFF);
}

class SlowEncoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio_ = createNullAudioLibrary();
        audio_.backend->setInputSignal([](std::uint64_t frame, int) { return ramp(frame); });
        ASSERT_TRUE(lib().RecordInit(-1));
    }
    AudioEngine& lib() { return *audio_.library; }
    QString file(const QString& name) const { return dir_.filePath(name); }
    // A stand-in encoder: `body` is a shell script whose first argument is the output file.
    QString encoder(const QString& name, const QByteArray& body) {
        QFile script(file(name));
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + body + "\n");
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        return script.fileName();
    }
    AudioHandle startEncoder(AudioHandle channel, const QString& program, const QString& output) {
        return lib().EncodeStart(channel, QLatin1Char('"') + program + QStringLiteral("\" \"") + output + '"',
                                 0);
    }
    // Lets the device capture `seconds` in step with the wall clock.
    void pace(double seconds, const std::function<bool()>& until = {}) {
        for (double t = 0; t < seconds; t += 0.05) {
            audio_.backend->advance(0.05);
            QThread::msleep(50);
            if (until && until())
                return;
        }
    }
    // Stops the encoder; the exit is told to the returned future.
    std::future<int> stop(AudioHandle encoder) {
        auto exited = std::make_shared<std::promise<int>>();
        std::future<int> result = exited->get_future();
        EXPECT_TRUE(lib().EncodeStop(encoder, [exited](int error) { exited->set_value(error); }));
        return result;
    }
    // The samples of a WAVE stream as the stand-in copied it.
    std::vector<std::int16_t> samplesOf(const QString& path) {
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
        return audiosamples::wavSamples(path);
    }

    QTemporaryDir dir_;
    NullAudioLibrary audio_;
};

} // namespace

TEST_F(SlowEncoderTest, AnEncoderThatPausesTwentySecondsLosesAndRepeatsNothingAlsoAcrossASplit) {
    const QString pausing = encoder(QStringLiteral("pausing"), "sleep 20\nexec cat > \"$1\"");
    const QString plain = encoder(QStringLiteral("plain"), "exec cat > \"$1\"");
    const AudioHandle first = lib().RecordStart(Rate, 1, 0);
    const AudioHandle firstEncoder = startEncoder(first, pausing, file(QStringLiteral("1.wav")));
    ASSERT_NE(firstEncoder, 0u);
    pace(5.0);
    lib().ChannelStop(first); // a split during the pause
    std::future<int> firstExit = stop(firstEncoder);
    const AudioHandle second = lib().RecordStart(Rate, 1, 0);
    const AudioHandle secondEncoder = startEncoder(second, plain, file(QStringLiteral("2.wav")));
    pace(5.0);
    lib().ChannelStop(second);
    std::future<int> secondExit = stop(secondEncoder);
    ASSERT_EQ(firstExit.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    ASSERT_EQ(secondExit.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    EXPECT_EQ(firstExit.get(), AudioError::Ok);
    EXPECT_EQ(secondExit.get(), AudioError::Ok);
    EXPECT_EQ(lib().ChannelGetDropped(first), 0);

    std::vector<std::int16_t> all = samplesOf(file(QStringLiteral("1.wav")));
    const std::size_t firstCount = all.size();
    EXPECT_EQ(static_cast<std::int64_t>(firstCount) * 2, lib().ChannelGetPosition(first));
    const std::vector<std::int16_t> rest = samplesOf(file(QStringLiteral("2.wav")));
    all.insert(all.end(), rest.begin(), rest.end());
    ASSERT_EQ(static_cast<std::int64_t>(all.size()) * 2,
              lib().ChannelGetPosition(first) + lib().ChannelGetPosition(second));
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        wrong += all[i] != ramp(i);
    EXPECT_EQ(wrong, 0u)
        << "every sample once, in order, the second file from the one after the first's last";
}

TEST_F(SlowEncoderTest, AnEncoderAtAQuarterOfRealTimeShowsItsBacklogAndGetsEverything) {
    // Takes a quarter second of audio a second for 45 s, then all that is left.
    const QString slow =
        encoder(QStringLiteral("slow"), "for i in $(seq 45); do head -c 11025; sleep 1; done > \"$1\"\n"
                                        "exec cat >> \"$1\"");
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    const AudioHandle encoderHandle = startEncoder(channel, slow, file(QStringLiteral("slow.wav")));
    ASSERT_NE(encoderHandle, 0u);
    double backlog = 0;
    pace(50.0, [&] {
        backlog = lib().ChannelBytes2Seconds(channel, lib().EncodeGetQueued(encoderHandle));
        return backlog > 30.0;
    });
    EXPECT_GT(backlog, 30.0) << "the backlog the window warns about";
    lib().ChannelStop(channel);
    std::future<int> exited = stop(encoderHandle);
    ASSERT_EQ(exited.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    EXPECT_EQ(exited.get(), AudioError::Ok);
    EXPECT_EQ(lib().ChannelGetDropped(channel), 0);
    const std::vector<std::int16_t> samples = samplesOf(file(QStringLiteral("slow.wav")));
    EXPECT_EQ(static_cast<std::int64_t>(samples.size()) * 2, lib().ChannelGetPosition(channel));
}

TEST_F(SlowEncoderTest, AStalledEncoderIsFoundWithinSecondsAndReplacedAndWhatItWroteDecodes) {
    // A real lame that freezes after two seconds.
    const QString freezing = encoder(QStringLiteral("freezing"), "( sleep 2; kill -STOP $$ ) &\n"
                                                                 "exec lame -b 48 -m m - \"$1\"");
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    const AudioHandle encoderHandle = startEncoder(channel, freezing, file(QStringLiteral("frozen.mp3")));
    ASSERT_NE(encoderHandle, 0u);
    pace(15.0, [&] { return lib().EncodeIsActive(encoderHandle) == AudioLibrary::Stopped; });
    EXPECT_EQ(lib().EncodeIsActive(encoderHandle), AudioLibrary::Stopped) << "found out within 15 s";
    auto oldExit = std::make_shared<std::promise<int>>();
    std::future<int> oldExited = oldExit->get_future();
    const AudioHandle next = lib().EncodeRestart(
        encoderHandle, QStringLiteral("lame -b 48 -m m - \"") + file(QStringLiteral("next.mp3")) + '"',
        [oldExit](int error) { oldExit->set_value(error); });
    ASSERT_NE(next, 0u);
    EXPECT_EQ(lib().EncodeIsActive(encoderHandle), AudioLibrary::Stopped);
    ASSERT_EQ(oldExited.wait_for(std::chrono::seconds(20)), std::future_status::ready)
        << "the frozen one ended";
    EXPECT_NE(oldExited.get(), AudioError::Ok);
    pace(1.0);
    lib().ChannelStop(channel);
    std::future<int> exited = stop(next);
    ASSERT_EQ(exited.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(exited.get(), AudioError::Ok);
    EXPECT_GT(audiotest::decodeMp3(file(QStringLiteral("frozen.mp3"))).size(),
              static_cast<std::size_t>(Rate / 2));
    EXPECT_GT(audiotest::decodeMp3(file(QStringLiteral("next.mp3"))).size(), static_cast<std::size_t>(Rate));
}

using audiosamples::counter;
using audiosamples::counterStart;

// What the window does with a failing encoder: each one found stalled or exited is replaced at once, and
// together the files hold every sample of the recording.
TEST_F(SlowEncoderTest, AcrossAStalledAndAnExitingEncoderEverySampleIsInAFileInOrder) {
    audio_.backend->setInputSignal([](std::uint64_t frame, int) { return counter(frame); });
    const QStringList programs = {
        encoder(QStringLiteral("stalls"), "( sleep 2; kill -STOP $$ ) &\nexec cat > \"$1\""),
        encoder(QStringLiteral("exits"), "exec head -c 100000 > \"$1\""),
        encoder(QStringLiteral("plain"), "exec cat > \"$1\"")};
    const auto commandLine = [&](int i) {
        return QLatin1Char('"') + programs[i] + QStringLiteral("\" \"") + file(QString::number(i)) + '"';
    };
    const AudioHandle channel = lib().RecordStart(Rate, 1, 0);
    AudioHandle current = lib().EncodeStart(channel, commandLine(0), 0);
    ASSERT_NE(current, 0u);
    std::vector<std::future<int>> exits;
    int restarts = 0;
    pace(40.0, [&] {
        if (lib().EncodeIsActive(current) == AudioLibrary::Stopped) {
            auto exited = std::make_shared<std::promise<int>>();
            exits.push_back(exited->get_future());
            current = lib().EncodeRestart(current, commandLine(++restarts),
                                          [exited](int error) { exited->set_value(error); });
            EXPECT_NE(current, 0u);
        }
        return restarts == 2 || current == 0;
    });
    ASSERT_EQ(restarts, 2);
    ASSERT_NE(current, 0u);
    pace(2.0);
    lib().ChannelStop(channel);
    exits.push_back(stop(current));
    for (std::future<int>& exited : exits)
        ASSERT_EQ(exited.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(exits.back().get(), AudioError::Ok);
    EXPECT_EQ(lib().ChannelGetDropped(channel), 0);

    // Each file an unbroken run of the signal; together from the first sample to the last.
    const auto total = static_cast<std::uint64_t>(lib().ChannelGetPosition(channel) / 2);
    std::uint64_t covered = 0;
    std::uint64_t overlap = 0;
    for (int i = 0; i <= restarts; ++i) {
        const std::vector<std::int16_t> samples = samplesOf(file(QString::number(i)));
        const std::optional<std::uint64_t> first = counterStart(samples);
        ASSERT_TRUE(first) << "file " << i << " holds its samples in order, none missing";
        EXPECT_LE(*first, covered) << "no gap before file " << i;
        overlap = std::max(overlap, covered - std::min(covered, *first));
        covered = std::max(covered, *first + samples.size());
    }
    EXPECT_EQ(covered, total) << "the last file ends with the recording";
    EXPECT_LE(overlap, static_cast<std::uint64_t>(Recorder::RefeedSeconds * Rate))
        << "at most the few seconds a failed encoder may not have written are in two files";
}
