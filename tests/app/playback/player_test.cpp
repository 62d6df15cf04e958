#include "app/MainWindowFixture.h"
#include "app/playback/Player.h"
#include "app/playback/TransportStrip.h"
#include "app/recording/CaptureControl.h"
#include "app/songs/SongLibrary.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>

namespace {

class PlayerTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        folder = makeSongFolder(135);
    }
    // Replaces song `number` by a sine of `seconds` at 44.1 kHz stereo.
    void makeSong(int number, double seconds) {
        const QString path = folder + QStringLiteral("iasn_X_%1.mp3").arg(number, 3, 10, QLatin1Char('0'));
        QFile::remove(path);
        const auto frames = static_cast<std::int64_t>(seconds * 44100);
        audiotest::makeMp3(path, 44100, 2,
                           audiotest::sine(44100, 2, frames, [](std::int64_t) { return 330.0; }));
    }
    void click(TForm1& form, TransportStrip::Button button) { form.player().strip().button(button)->click(); }
    // Lets the null device play for `seconds` and runs the progress ticks of that time.
    void playFor(TForm1& form, double seconds) {
        for (double t = 0; t < seconds; t += 0.3) {
            audio.backend->advance(0.3);
            if (form.player().timer1().isActive())
                form.player().Timer1Timer();
        }
    }
    int active(TForm1& form) { return audio.library->ChannelIsActive(form.player().SongStream); }

    QString folder;
};

} // namespace

TEST_F(PlayerTest, PreparesTheLowestCheckedSlotAndMovesOnAfterEachSong) {
    makeSong(12, 2.0);
    makeSong(40, 3.0);
    auto form = start();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 1, 12);
    setSlot(*form, 3, 40);
    ui.CheckBox2->setChecked(false);

    EXPECT_EQ(ui.Label1->text(), QStringLiteral("12"));
    EXPECT_EQ(ui.Label3->text(), QStringLiteral("00:02"));
    EXPECT_EQ(ui.Label10->text(), QStringLiteral("iasn_X_012")) << "a song without tag shows its file name";
    EXPECT_TRUE(ui.MediaPlayer1->isEnabled());
    EXPECT_TRUE(form->player().strip().isButtonEnabled(TransportStrip::Play));
    EXPECT_FALSE(form->player().strip().isButtonEnabled(TransportStrip::Stop));
    EXPECT_TRUE(ui.BitBtn3->isEnabled());

    click(*form, TransportStrip::Play);
    EXPECT_EQ(active(*form), AudioLibrary::Playing);
    EXPECT_FALSE(ui.GroupBox1->isEnabled());
    EXPECT_FALSE(ui.RadioButton3->isEnabled());
    EXPECT_EQ(ui.BitBtn3->text(), QStringLiteral("Stop"));
    playFor(*form, 2.7);
    EXPECT_FALSE(ui.CheckBox1->isChecked());
    EXPECT_EQ(ui.Label1->text(), QStringLiteral("40"));
    EXPECT_EQ(ui.Label3->text(), QStringLiteral("00:03"));
    EXPECT_EQ(ui.Label2->text(), QStringLiteral("00:02"))
        << "the last elapsed time of the finished song stays";
    EXPECT_TRUE(ui.GroupBox1->isEnabled());
    EXPECT_EQ(ui.BitBtn3->text(), QStringLiteral("Start"));
    EXPECT_EQ(ui.Gauge1->value(), 0);

    click(*form, TransportStrip::Play);
    playFor(*form, 1.0);
    click(*form, TransportStrip::Stop); // by hand: moves on just the same
    EXPECT_FALSE(ui.CheckBox3->isChecked());
    EXPECT_EQ(ui.Label1->text(), QStringLiteral("---"));
    EXPECT_EQ(ui.Label2->text(), QStringLiteral("00:00"));
    EXPECT_EQ(ui.Label3->text(), QStringLiteral("00:00"));
    EXPECT_EQ(ui.Label10->text(), QStringLiteral("---"));
    EXPECT_FALSE(ui.MediaPlayer1->isEnabled());
    EXPECT_FALSE(ui.BitBtn3->isEnabled());
    EXPECT_FALSE(form->player().timer1().isActive());
}

TEST_F(PlayerTest, PauseKeepsThePositionAndPlayResumesIt) {
    makeSong(5, 4.0);
    auto form = start();
    setSlot(*form, 1, 5);
    click(*form, TransportStrip::Play);
    playFor(*form, 1.2);
    click(*form, TransportStrip::Pause);
    EXPECT_EQ(active(*form), AudioLibrary::Paused);
    EXPECT_TRUE(form->player().strip().isButtonEnabled(TransportStrip::Play));
    EXPECT_TRUE(form->player().strip().isButtonEnabled(TransportStrip::Stop));
    EXPECT_FALSE(form->player().strip().isButtonEnabled(TransportStrip::Pause));
    const std::int64_t paused = audio.library->ChannelGetPosition(form->player().SongStream);
    audio.backend->advance(1.0);
    EXPECT_EQ(audio.library->ChannelGetPosition(form->player().SongStream), paused);

    click(*form, TransportStrip::Play);
    EXPECT_EQ(active(*form), AudioLibrary::Playing);
    audio.backend->advance(0.5);
    EXPECT_GT(audio.library->ChannelGetPosition(form->player().SongStream), paused);

    click(*form, TransportStrip::Pause);
    ASSERT_EQ(active(*form), AudioLibrary::Paused);
    ASSERT_EQ(form->form().BitBtn3->text(), QStringLiteral("Stop"));
    form->form().BitBtn3->click(); // the big button stops a paused song
    EXPECT_EQ(active(*form), AudioLibrary::Stopped);
    EXPECT_FALSE(form->form().CheckBox1->isChecked());
}

TEST_F(PlayerTest, APreparationWhilePlayingKeepsTheRunningStream) {
    makeSong(7, 3.0);
    makeSong(8, 1.0);
    auto form = start();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 2, 8);
    setSlot(*form, 1, 7);
    click(*form, TransportStrip::Play);
    const AudioHandle playing = form->player().SongStream;
    ui.CheckBox1->setChecked(false); // by hand while the song plays: the display shows slot 2
    EXPECT_EQ(form->player().SongStream, playing);
    EXPECT_EQ(ui.Label1->text(), QStringLiteral("8"));
    EXPECT_EQ(ui.Label3->text(), QStringLiteral("00:03")) << "length of the running stream";
    EXPECT_EQ(active(*form), AudioLibrary::Playing);
}

TEST_F(PlayerTest, NothingCheckedShowsTheEmptyDisplay) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 1, 3);
    ui.CheckBox1->setChecked(false);
    EXPECT_EQ(ui.Label1->text(), QStringLiteral("---"));
    EXPECT_EQ(ui.Label3->text(), QStringLiteral("00:00"));
    EXPECT_FALSE(ui.MediaPlayer1->isEnabled());
    EXPECT_FALSE(ui.BitBtn3->isEnabled());
}

TEST_F(PlayerTest, LengthIsShownInWholeSeconds) {
    makeSong(9, 125.9);
    auto form = start();
    setSlot(*form, 1, 9);
    EXPECT_EQ(form->form().Label3->text(), QStringLiteral("02:05"));
    EXPECT_EQ(form->form().Gauge1->maximum(), 125);
    EXPECT_EQ(form->player().SongSeconds, 125);
}

TEST_F(PlayerTest, EndlessLoopPlaysTheNextPreparedSlotAtOnce) {
    makeSong(1, 1.0);
    makeSong(2, 1.0);
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.CheckBox6->setChecked(true);
    setSlot(*form, 1, 1);
    setSlot(*form, 2, 2);
    click(*form, TransportStrip::Play);
    playFor(*form, 1.5);
    EXPECT_FALSE(ui.CheckBox1->isChecked());
    EXPECT_EQ(ui.Label1->text(), QStringLiteral("2"));
    EXPECT_EQ(active(*form), AudioLibrary::Playing) << "the loop started the next slot";
    EXPECT_TRUE(form->player().timer1().isActive());
}

TEST_F(PlayerTest, ASlotWhoseFileCannotBePlayedStaysRedAndSaysSo) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.autorec->setChecked(true);
    setSlot(*form, 1, 4);
    setSlot(*form, 2, 6);
    QFile(folder + QStringLiteral("iasn_X_004.mp3")).open(QIODevice::WriteOnly | QIODevice::Truncate);
    ui.CheckBox2->setChecked(false);
    ui.CheckBox2->setChecked(true); // prepares slot 1 again: its file is now empty
    EXPECT_EQ(form->player().SongStream, 0u);
    EXPECT_EQ(ui.Label3->text(), QStringLiteral("--:--"));
    EXPECT_EQ(ui.Label10->text(), QStringLiteral("Datei kann nicht abgespielt werden: iasn_X_004.mp3"));
    EXPECT_EQ(ui.ComboBox1->lineEdit()->palette().color(QPalette::Base), QColor(242, 43, 43));
    EXPECT_FALSE(ui.BitBtn3->isEnabled());
    form->player().PlayerCommand = QStringLiteral("Play");
    form->player().Button4Click();
    EXPECT_FALSE(form->player().timer1().isActive());
    EXPECT_TRUE(ui.CheckBox1->isChecked()) << "the opening song is not skipped";
    EXPECT_EQ(ui.Label1->text(), QStringLiteral("4"));
    EXPECT_FALSE(form->capture().channelActive()) << "no recording starts";
}

TEST_F(PlayerTest, ResumingAPausedSongLeavesTheRecordingAloneAndAStopByHandStartsIt) {
    makeSong(1, 3.0);
    makeSong(2, 3.0);
    auto form = start();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 1, 1);
    setSlot(*form, 3, 2);
    ui.autorec->setChecked(true);
    click(*form, TransportStrip::Play);
    EXPECT_FALSE(form->capture().channelActive());
    ui.Thema->setText(QStringLiteral("Eigenes Thema"));
    ui.Datei->setModified(false); // a fresh start would now put the defaults back
    click(*form, TransportStrip::Pause);
    click(*form, TransportStrip::Play);
    EXPECT_EQ(ui.Thema->text(), QStringLiteral("Eigenes Thema")) << "no reset of the fields on resume";
    EXPECT_EQ(active(*form), AudioLibrary::Playing);

    click(*form, TransportStrip::Stop); // the opening song stopped by hand: part 1 is recorded
    EXPECT_TRUE(form->capture().channelActive());
    EXPECT_EQ(ui.Label1->text(), QStringLiteral("2"));
    click(*form, TransportStrip::Play); // the closing song stops it
    EXPECT_FALSE(form->capture().channelActive());
    click(*form, TransportStrip::Stop); // and its end starts nothing
    EXPECT_FALSE(form->capture().channelActive());
    EXPECT_FALSE(ui.CheckBox3->isChecked());
}

TEST_F(PlayerTest, WithoutAutoRecEverySongStartPutsThePartOneDefaultsIntoTheFields) {
    makeSong(2, 1.0);
    clock.set(2026, 12, 12); // Saturday
    auto form = start();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 3, 2);
    ui.Thema->setText(QStringLiteral("anders")); // the file name follows and counts as edited
    ui.Datei->setModified(false);
    click(*form, TransportStrip::Play);
    EXPECT_EQ(ui.Thema->text(), QStringLiteral("Vortrag"));
    EXPECT_EQ(ui.Datei->text(), QStringLiteral("Max_Muster_2026_12_12_Vortrag.mp3"));
}

TEST_F(PlayerTest, TheBigButtonKeepsTheFocusSoTheNextKeysDoNotChangeTheMusicList) {
    makeSong(1, 3.0);
    auto form = start();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 1, 1);
    setSlot(*form, 2, 2);
    if (!ui.grSchalt->isChecked())
        ui.grSchalt->trigger();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ui.BitBtn3->setFocus();
    ui.BitBtn3->click(); // Start
    EXPECT_EQ(active(*form), AudioLibrary::Playing);
    EXPECT_EQ(QApplication::focusWidget(), ui.BitBtn3);
    ui.BitBtn3->click(); // Stop
    EXPECT_EQ(QApplication::focusWidget(), ui.BitBtn3);
}

TEST_F(PlayerTest, ASongDamagedWhileItPlaysIsToldAndTheNextSlotIsPrepared) {
    makeSong(12, 20.0);
    auto form = start();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 1, 12);
    setSlot(*form, 2, 13);
    click(*form, TransportStrip::Play);
    playFor(*form, 0.6);
    const QString damaged = folder + "iasn_X_012.mp3";
    QFile file(damaged);
    ASSERT_TRUE(file.resize(file.size() / 20));
    dialogs.clear();
    playFor(*form, 6);
    EXPECT_FALSE(ui.CheckBox1->isChecked()) << "it ended there, as a song that has finished";
    EXPECT_EQ(ui.Label1->text(), "13");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.shown().isEmpty(); }, 5000));
    EXPECT_EQ(dialogs.shown(),
              QStringList{"Die Datei kann nicht gelesen werden, das Lied wurde dort beendet:\n" + damaged});
}
