#include "AudioTestSupport.h"
#include "platform/audio/AudioFactory.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

// Devices are opened, switched and recovered from the API side (input switches, the playback recovery of
// every status call) and from the engine's own thread (the capture recovery) while the device thread runs and
// devices go away and freeze, and the idle playback device is closed by the decoder thread and opened by the
// next play. Run under ThreadSanitizer (KANDOLOR_TSAN) it must give no report; run plainly
// it must end with both devices working.
TEST(DeviceThreads, DevicesOpenedSwitchedAndRecoveredFromBothSidesInALoop) {
    QTemporaryDir dir;
    // A WAVE file: no encoder process (ThreadSanitizer does not follow the way Qt starts one).
    const QString song = dir.filePath(QStringLiteral("song.wav"));
    audiotest::writeWav(song, 44100, 2,
                        audiotest::sine(44100, 2, 44100 * 30, [](std::int64_t) { return 440.0; }));
    NullBackend::Options options;
    options.captureDevices = {QStringLiteral("Line"), QStringLiteral("Mic")};
    options.playbackIdleSeconds = 0.05;
    NullAudioLibrary audio = createNullAudioLibrary(options);
    AudioEngine& lib = *audio.library;
    NullBackend& device = *audio.backend;
    ASSERT_TRUE(lib.Init(-1, 44100, 0));
    ASSERT_TRUE(lib.RecordInit(-1));
    const AudioHandle stream = lib.StreamCreateFile(song);
    ASSERT_NE(stream, 0u);
    lib.ChannelPlay(stream, false);
    const AudioHandle channel = lib.RecordStart(22050, 1, 0);
    ASSERT_NE(channel, 0u);

    std::atomic<bool> done{false};
    std::thread deviceThread([&] {
        for (int i = 0; !done; ++i) {
            device.advance(0.02);
            if (i % 50 == 0)
                device.loseCapture();
            if (i % 70 == 0)
                device.losePlayback();
            device.freezeCapture(i % 300 >= 250);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
        lib.RecordSetInput(i % 3, AudioLibrary::InputOn, -1.0f); // switches the capture device
        lib.ChannelIsActive(stream);                             // recovers the playback device
        if (i % 40 == 0)
            lib.ChannelPause(stream); // leaves the device idle
        else if (i % 40 == 30)
            lib.ChannelPlay(stream, false); // opens it again when it was closed
        lib.ChannelIsActive(channel);
        lib.ChannelGetLevel(channel);
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    done = true;
    deviceThread.join();
    lib.ChannelPlay(stream, false);

    device.freezeCapture(false);
    const auto settled = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((device.captureLost() || !device.playbackOpen() ||
            lib.ChannelIsActive(channel) != AudioLibrary::Playing) &&
           std::chrono::steady_clock::now() < settled) {
        device.advance(0.05);
        lib.ChannelIsActive(stream);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(lib.ChannelIsActive(channel), AudioLibrary::Playing);
    EXPECT_EQ(lib.ChannelIsActive(stream), AudioLibrary::Playing);
    lib.ChannelStop(channel);
}

namespace {
template <typename F> qint64 millisOf(F step) {
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.elapsed();
}
// The bound is 100 ms; the margin allows for a loaded machine.
constexpr qint64 BoundMs = 1000;
} // namespace

// A sound server that hangs: every open and close of a device waits. No call of the library waits with it;
// once the server answers, the recording made meanwhile goes on. At the end of the program a close that
// does not return is left behind within a bounded time.
TEST(DeviceThreads, NoCallWaitsForADeviceThatHangsAndTheEndLeavesAStuckCloseBehind) {
    QTemporaryDir dir;
    const QString song = dir.filePath(QStringLiteral("song.wav"));
    audiotest::writeWav(song, 44100, 2, audiotest::sine(44100, 2, 44100, [](std::int64_t) { return 440.0; }));
    NullBackend::Options options;
    options.captureDevices = {QStringLiteral("Line")};
    NullAudioLibrary audio = createNullAudioLibrary(options);
    AudioEngine& lib = *audio.library;
    NullBackend& device = *audio.backend;
    device.holdDeviceCalls(true);

    AudioHandle stream = 0;
    AudioHandle channel = 0;
    EXPECT_LT(millisOf([&] {
                  ASSERT_TRUE(lib.Init(-1, 44100, 0));
                  ASSERT_TRUE(lib.RecordInit(-1));
                  stream = lib.StreamCreateFile(song);
                  ASSERT_TRUE(lib.ChannelPlay(stream, false));
                  channel = lib.RecordStart(22050, 1, 0);
                  ASSERT_NE(channel, 0u);
              }),
              BoundMs);
    QElapsedTimer held;
    held.start();
    while (device.heldCalls() < 2 && held.elapsed() < 5000)
        QThread::msleep(5);
    ASSERT_EQ(device.heldCalls(), 2) << "both opens hang";
    EXPECT_LT(millisOf([&] {
                  lib.ChannelIsActive(channel);
                  lib.ChannelIsActive(stream);
                  lib.ChannelGetPosition(stream);
                  lib.ChannelGetMissing(channel);
                  lib.RecordSetInput(1, AudioLibrary::InputOn, -1.0f); // another device
                  lib.ChannelPause(stream);
                  lib.ChannelStop(stream);
                  lib.DeviceMissing(AudioLibrary::RecordDevice);
              }),
              BoundMs);

    device.holdDeviceCalls(false);
    device.settle();
    device.advance(1.0);
    EXPECT_EQ(lib.ChannelIsActive(channel), AudioLibrary::Playing);
    EXPECT_EQ(lib.ChannelGetPosition(channel), 2 * 22050);
    EXPECT_EQ(device.captureDevice(), QStringLiteral("Line"));

    device.holdDeviceCalls(true);
    EXPECT_LT(millisOf([&] {
                  lib.ChannelStop(channel);
                  lib.RecordFree();
                  lib.Free();
              }),
              BoundMs);
    // The devices are given a second and a half to close at the end, then left behind with the backend.
    EXPECT_LT(millisOf([&] { audio.library.reset(); }), 1500 + BoundMs);
    EXPECT_EQ(device.heldCalls(), 2);
    device.holdDeviceCalls(false); // the backend was kept for the threads left behind
}
