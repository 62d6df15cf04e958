#include "app/music/MusicBlock.h"
#include "app/recording/RecordingFixture.h"
#include "recording/DeviceMessages.h"
#include "support/TickGaps.h"

#include <QElapsedTimer>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// Lets the held device calls go after `ms` at the latest: a window that waits for them then fails the
// test's bounds instead of hanging it.
class ReleaseLater {
public:
    ReleaseLater(NullBackend& backend, int ms)
        : thread_([this, &backend, ms] {
              std::unique_lock lock(mutex_);
              done_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return finished_; });
              backend.holdDeviceCalls(false);
          }) {}
    ~ReleaseLater() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

// The bound is 100 ms; the margin allows for a loaded machine, far below the release after 5 s.
constexpr qint64 BoundMs = 1000;
constexpr int ReleaseAfterMs = 5000;

qint64 millisOf(const std::function<void()>& step) {
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.elapsed();
}

using HangingDeviceTest = RecordingFixture;

} // namespace

// A sound server that hangs 8 s into a recording: the capture device stops delivering and its close (on the
// engine's thread) does not return. The window goes on ticking and shows the missing input, the stop and the
// close of the window return at once, and what was captured is finished and kept.
TEST_F(HangingDeviceTest, TheWindowAnswersWhileTheRecordingDeviceHangsAndTheRecordingIsKept) {
    auto form = startRecordingInto(recordings());
    form->show();
    Ui::TForm1& ui = form->form();
    NullBackend& device = *audio.backend;
    ui.bRecord->click();
    record(*form, 8.0);
    device.freezeCapture(true);
    device.holdDeviceCalls(true);
    ReleaseLater release(device, ReleaseAfterMs);
    record(*form, 3.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return device.heldCalls() > 0; }, 3000))
        << "the engine's thread closes the device that stopped delivering";

    EXPECT_LT(longestTickGap(*form, 600), BoundMs) << "the recording tick never waits for the device";
    EXPECT_EQ(ui.rec->text(), QStringLiteral("Eingang fehlt !"));
    EXPECT_LT(millisOf([&] { ui.bStop->click(); }), BoundMs);
    ASSERT_GT(device.heldCalls(), 0) << "the close still hangs";
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return dialogs.shown().contains(recording::InputMissingMessage(3.0)); }, 5000))
        << dialogs.shown().join(QLatin1Char('|')).toStdString();
    waitForFinishing(*form);
    ASSERT_EQ(mp3Files(), QStringList{"Vortrag.mp3"});
    const double seconds = audiotest::decodeMp3(recordings() + "Vortrag.mp3").size() / 22050.0;
    EXPECT_NEAR(seconds, 8.0, 0.3) << "everything captured before the server hung";

    EXPECT_LT(millisOf([&] {
                  form->close();
                  form.reset();
              }),
              BoundMs);
    EXPECT_GT(device.heldCalls(), 0);
}

// The playback device hangs in its open (a song started after the device was closed for silence) and in its
// close: a song's start and stop and the music block's start and stop return at once; once the server
// answers again the song plays.
TEST_F(HangingDeviceTest, SongsAndMusicStartAndStopAtOnceWhileThePlaybackDeviceHangs) {
    audio = createNullAudioLibrary({.playbackIdleSeconds = 0.2});
    NullBackend& device = *audio.backend;
    makeSongFolder(3);
    clock.set(2026, 12, 9, 21, 0);
    QStringList settings = fullSettings();
    settings[8] = QStringLiteral("0");
    writeFile(settingsFile(), settings);
    auto form = start();
    form->show();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 1, 1);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            device.advance(0.05);
            return !device.playbackOpen();
        },
        5000))
        << "closed after silence";

    device.holdDeviceCalls(true);
    ReleaseLater release(device, ReleaseAfterMs);
    QToolButton* play = form->player().strip().button(TransportStrip::Play);
    QToolButton* stop = form->player().strip().button(TransportStrip::Stop);
    EXPECT_LT(millisOf([&] { play->click(); }), BoundMs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return device.heldCalls() > 0; }, 3000)) << "the open hangs";
    EXPECT_LT(millisOf([&] { QTest::qWait(400); }), 400 + BoundMs) << "the player's ticks go on";
    EXPECT_LT(millisOf([&] { stop->click(); }), BoundMs);

    for (auto [box, number] : {std::pair{ui.ComboBox1, 1}, {ui.ComboBox2, 2}, {ui.ComboBox3, 3}})
        box->setEditText(QString::number(number));
    ui.Button3->click();
    ASSERT_EQ(form->musicBlock().MusicState(), MusicBlock::AfterReady);
    EXPECT_LT(millisOf([&] { ui.BitBtn5->click(); }), BoundMs);
    EXPECT_EQ(form->musicBlock().MusicState(), MusicBlock::PlayingAfter);
    EXPECT_LT(millisOf([&] { ui.BitBtn5->click(); }), BoundMs);
    EXPECT_GT(device.heldCalls(), 0) << "the device still hangs";

    device.holdDeviceCalls(false);
    setSlot(*form, 1, 1);
    play->click();
    device.settle();
    device.advance(0.5);
    EXPECT_EQ(audio.library->ChannelIsActive(form->player().SongStream), AudioLibrary::Playing);
    EXPECT_GT(audio.library->ChannelGetPosition(form->player().SongStream), 0)
        << "the song plays at once when the server answers again";
}
