#include "AudioTestSupport.h"
#include "platform/audio/AudioFactory.h"

#include <QTemporaryDir>
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
