#include "app/MainWindowFixture.h"
#include "app/playback/CdTrackChooser.h"
#include "app/playback/OtherSource.h"
#include "app/playback/Player.h"
#include "app/playback/SelectionTrackBar.h"
#include "app/playback/StartMelody.h"
#include "app/playback/TransportStrip.h"
#include "app/recording/RecordingControl.h"
#include "platform/CdMediaDevice.h"
#include "support/CdImage.h"

#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <sndfile.h>

namespace {

class OtherSourceTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        folder = makeSongFolder(135);
    }
    // A sine of `seconds` at 8 kHz mono.
    static void makeFile(const QString& path, double seconds) {
        audiotest::makeMp3(path, 8000, 1,
                           audiotest::sine(8000, 1, static_cast<std::int64_t>(seconds * 8000),
                                           [](std::int64_t) { return 330.0; }),
                           16);
    }
    std::unique_ptr<TForm1> startInTheGroup() {
        auto form = start();
        form->form().RadioButton4->setChecked(true);
        return form;
    }
    static void typeNumber(TForm1& form, int number) {
        form.form().ComboBox4->setEditText(QString::number(number));
        form.otherSource().ComboBox4Change();
    }
    void chooseFile(TForm1& form, const QString& path) {
        dialogs.fileAnswers.push_back(path);
        QTest::mouseClick(form.form().Label7, Qt::LeftButton);
    }
    static bool playable(TForm1& form) {
        return form.form().BitBtn3->isEnabled() &&
               form.player().strip().isButtonEnabled(TransportStrip::Play);
    }
    // Clicks the transport strip's button of that name.
    static void command(TForm1& form, const char* name) {
        const QString command = QString::fromLatin1(name);
        const TransportStrip::Button button = command == "Play"    ? TransportStrip::Play
                                              : command == "Pause" ? TransportStrip::Pause
                                                                   : TransportStrip::Stop;
        form.player().strip().button(button)->click();
    }
    double positionSeconds(TForm1& form) {
        const AudioHandle stream = form.player().SongStream;
        return audio.library->ChannelBytes2Seconds(stream, audio.library->ChannelGetPosition(stream));
    }

    QString folder;
};

} // namespace

TEST_F(OtherSourceTest, ANumberTakesAnyLanguagesFileAndAnInvalidOneResetsTheMarks) {
    makeFile(folder + "iasn_A_007.mp3", 2.2); // before iasn_X_007.mp3, though X is the song book's code
    QFile::copy(folder + "iasn_X_001.mp3", folder + "iasn_X_136.mp3"); // beyond the song book's 135
    auto form = startInTheGroup();
    Ui::TForm1& ui = form->form();
    typeNumber(*form, 7);
    EXPECT_EQ(form->state().SlotFiles[4], folder + "iasn_A_007.mp3");
    EXPECT_TRUE(ui.RadioButton1->isChecked());
    EXPECT_EQ(ui.Label1->text(), "7");
    EXPECT_EQ(ui.Label3->text(), "00:02");
    EXPECT_TRUE(playable(*form));

    for (int invalid : {0, 136}) {
        ui.TrackBar1->setValue(1);
        ui.SpeedButton1->click();
        ASSERT_TRUE(form->player().MarksSet);
        dialogs.clear();
        typeNumber(*form, invalid);
        EXPECT_EQ(dialogs.shown(), QStringList{"Liednummer ungültig!"}) << invalid;
        EXPECT_FALSE(form->player().MarksSet);
        EXPECT_EQ(ui.Label9->text(), "---");
        EXPECT_EQ(form->state().SlotFiles[4], folder + "iasn_A_007.mp3") << "the source is not changed";
        EXPECT_FALSE(playable(*form)) << "a number the operator did not mean plays nothing";
    }
}

TEST_F(OtherSourceTest, AFileIsPlayedButOnlyAnExactMp3ExtensionNamesTheDisplay) {
    const QString upper = folders.root() + "/Musik/Lied.MP3";
    QDir().mkpath(folders.root() + "/Musik");
    makeFile(upper, 3);
    auto form = startInTheGroup();
    Ui::TForm1& ui = form->form();
    ui.Label1->setText("vorher");
    chooseFile(*form, upper);
    EXPECT_TRUE(ui.RadioButton2->isChecked());
    EXPECT_EQ(ui.Label7->property("path").toString(), upper);
    EXPECT_EQ(ui.Label10->text(), "---");
    EXPECT_EQ(ui.Label1->text(), "vorher");
    ASSERT_TRUE(playable(*form));
    command(*form, "Play");
    audio.backend->advance(0.5);
    EXPECT_EQ(audio.library->ChannelIsActive(form->player().SongStream), AudioLibrary::Playing);
    command(*form, "Stop");

    // A long path is shortened to 300 pixels, its file name whole.
    const QString deep = folders.root() + "/Musik/" + QString(60, 'a') + "/" + QString(60, 'b') + "/Lied.mp3";
    QDir().mkpath(QFileInfo(deep).path());
    makeFile(deep, 1);
    chooseFile(*form, deep);
    EXPECT_LE(QFontMetrics(ui.Label7->font()).horizontalAdvance(ui.Label7->text()), 300);
    EXPECT_TRUE(ui.Label7->text().endsWith("/.../Lied.mp3")) << ui.Label7->text().toStdString();
    EXPECT_EQ(ui.Label1->text(), "0");
    EXPECT_EQ(ui.Label10->text(), "Lied");
}

TEST_F(OtherSourceTest, CancellingOrAnUnplayableFileLeavesNothingPlayable) {
    makeFile(folders.root() + "/Lied.mp3", 2);
    auto form = startInTheGroup();
    Ui::TForm1& ui = form->form();
    typeNumber(*form, 7);
    ASSERT_TRUE(playable(*form)) << "a song number is prepared";
    ui.RadioButton2->setEnabled(true);
    ui.RadioButton2->setChecked(true); // asks for a file: cancelled
    EXPECT_EQ(ui.Label7->text(), "sonstige Quelle");
    EXPECT_FALSE(playable(*form)) << "the file source without a file plays nothing";

    // A file chosen, then the dialog cancelled: the label says so and nothing is playable.
    chooseFile(*form, folders.root() + "/Lied.mp3");
    ASSERT_TRUE(playable(*form));
    QTest::mouseClick(ui.Label7, Qt::LeftButton);
    EXPECT_EQ(ui.Label7->text(), "sonstige Quelle");
    ui.RadioButton1->setChecked(true);
    ui.RadioButton2->setChecked(true); // asks again: cancelled
    EXPECT_FALSE(playable(*form));

    const QString broken = folders.root() + "/kaputt.mp3";
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keine Musik");
    file.close();
    dialogs.clear();
    chooseFile(*form, broken);
    ui.RadioButton1->setChecked(true);
    ui.RadioButton2->setChecked(true); // prepared again
    EXPECT_EQ(dialogs.shown().count("Die Datei kann nicht abgespielt werden:\n" + broken), 1) << "told once";
    EXPECT_FALSE(playable(*form));
    EXPECT_EQ(ui.Label3->text(), "--:--");
}

TEST_F(OtherSourceTest, TheMarkedSectionRepeatsInTheEndlessLoop) {
    const QString piece = folders.root() + "/Stueck.mp3";
    makeFile(piece, 80);
    auto form = startInTheGroup();
    Ui::TForm1& ui = form->form();
    chooseFile(*form, piece);
    EXPECT_EQ(ui.TrackBar1->maximum(), 80);
    ui.TrackBar1->setValue(30);
    EXPECT_EQ(ui.Label8->text(), "00:30");
    ui.SpeedButton1->click();
    ui.TrackBar1->setValue(69);
    ui.SpeedButton4->click(); // one second on
    ui.SpeedButton2->click();
    EXPECT_EQ(ui.Label9->text(), "00:30 - 01:10");
    EXPECT_EQ(ui.TrackBar1->selStart(), 30);
    EXPECT_EQ(ui.TrackBar1->selEnd(), 70);
    ui.CheckBox6->setChecked(true);

    command(*form, "Play");
    double highest = 0;
    double lowestAfterFirstPass = 100;
    for (double t = 0; t < 100; t += 0.3) {
        audio.backend->advance(0.3);
        form->player().Timer1Timer();
        const double at = positionSeconds(*form);
        highest = std::max(highest, at);
        if (t > 41)
            lowestAfterFirstPass = std::min(lowestAfterFirstPass, at);
    }
    EXPECT_GE(positionSeconds(*form), 30.0);
    EXPECT_LT(highest, 70.7) << "never past the end mark and a tick";
    EXPECT_LT(lowestAfterFirstPass, 31.0) << "it started again at the start mark";
    EXPECT_EQ(audio.library->ChannelIsActive(form->player().SongStream), AudioLibrary::Playing);
    EXPECT_EQ(ui.Label9->text(), "00:30 - 01:10") << "the marks survive the loop";
}

TEST_F(OtherSourceTest, ACdTrackIsChosenFromTheDiscAndPlayedFromItsStartMark) {
    media.discs = {{"/dev/sr0", {{1, {0, 2, 0}, {12, 48, 30}}, {7, {12, 50, 30}, {4, 31, 40}}}}};
    auto form = startInTheGroup();
    Ui::TForm1& ui = form->form();
    dialogs.onModal = [](QDialog& dialog) {
        auto& chooser = dynamic_cast<CdTrackChooser&>(dialog);
        EXPECT_EQ(chooser.trackList().count(), 2);
        EXPECT_TRUE(chooser.trackList().item(1)->text().contains("Spur  7   04:31"))
            << chooser.trackList().item(1)->text().toStdString();
        chooser.choose(1);
        return chooser.result();
    };
    QTest::mouseClick(ui.Label7, Qt::LeftButton);
    EXPECT_EQ(media.opened, "/dev/sr0/Track07.cda");
    EXPECT_TRUE(form->state().CdSource);
    EXPECT_EQ(form->otherSource().CdTrackNumber, 7);
    EXPECT_EQ(ui.Label1->text(), "Track07");
    EXPECT_EQ(ui.Label3->text(), "04:31");
    EXPECT_EQ(form->otherSource().CdTrackLength, 271040);
    EXPECT_EQ(ui.TrackBar1->maximum(), 271);
    ASSERT_TRUE(playable(*form));

    ui.TrackBar1->setValue(75);
    ui.SpeedButton1->click();
    command(*form, "Play");
    ASSERT_EQ(media.played.size(), 1u);
    EXPECT_EQ(media.played[0], (Msf{14, 5, 30}));
    EXPECT_TRUE(form->player().strip().isButtonEnabled(TransportStrip::Stop));
    command(*form, "Pause"); // a CD track cannot be paused
    EXPECT_TRUE(media.playing);

    // The tick counts from the track's start and ends at the end mark.
    media.current = {17, 0, 0}; // 250 s into the track
    form->player().Timer1Timer();
    EXPECT_EQ(ui.Label2->text(), "04:10");
    EXPECT_TRUE(media.playing);
    media.current = {17, 21, 10}; // 271 s
    form->player().Timer1Timer();
    EXPECT_FALSE(media.playing);
    EXPECT_EQ(ui.BitBtn3->text(), "Start");

    // A disc that cannot be read is told, and nothing is playable.
    media.openError =
        "Die Audio-CD-Spur kann nicht geöffnet werden: /dev/sr0/Track07.cda (keine CD im Laufwerk)";
    dialogs.clear();
    QTest::mouseClick(ui.Label7, Qt::LeftButton);
    EXPECT_EQ(dialogs.shown(), QStringList{media.openError});
    EXPECT_FALSE(playable(*form));
}

TEST_F(OtherSourceTest, TheMelodyPlaysBesideTheSongWithoutStoppingTheWindow) {
    const QString melody = folders.root() + "/Gong.mp3";
    makeFile(melody, 1.0);
    const QString other = folders.root() + "/Anderes.mp3";
    makeFile(other, 2.0);
    QFile::remove(folder + "iasn_X_005.mp3");
    makeFile(folder + "iasn_X_005.mp3", 10);
    auto form = start();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 1, 5);
    ui.Ja1->trigger();
    EXPECT_FALSE(ui.SpeedButton7->isHidden());

    // Chosen by double click, the melody is also the file the file source takes next.
    dialogs.fileAnswers.push_back(melody);
    QTest::mouseDClick(ui.SpeedButton7, Qt::LeftButton);
    EXPECT_EQ(form->settings().StartMelodyFile, melody);
    ui.RadioButton4->setChecked(true);
    chooseFile(*form, other);
    QTest::mouseDClick(ui.SpeedButton7, Qt::LeftButton); // cancelled: nothing changes
    EXPECT_EQ(form->settings().StartMelodyFile, melody);
    ui.RadioButton1->setEnabled(true);
    ui.RadioButton1->setChecked(true);
    ui.RadioButton2->setChecked(true); // the file source prepared again takes the file chosen last
    EXPECT_EQ(form->state().SlotFiles[4], other) << "the cancelled dialog left the file source's file";
    dialogs.fileAnswers.push_back(melody);
    QTest::mouseDClick(ui.SpeedButton7, Qt::LeftButton);
    ui.RadioButton1->setChecked(true);
    ui.RadioButton2->setChecked(true);
    EXPECT_EQ(form->state().SlotFiles[4], melody);
    ui.RadioButton3->setChecked(true);

    command(*form, "Play");
    ui.bRecord->click();
    int ticks = 0;
    QObject::connect(&form->recordingControl().posTimer(), &QTimer::timeout, [&] { ++ticks; });
    ui.SpeedButton7->click();
    EXPECT_FALSE(ui.MediaPlayer1->isEnabled());
    EXPECT_FALSE(ui.BitBtn3->isEnabled());
    EXPECT_TRUE(form->startMelody().playing());
    QTest::qWait(400); // the window goes on meanwhile
    EXPECT_GE(ticks, 4) << "the recording's 50 ms tick runs during the melody";
    audio.backend->advance(1.2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->startMelody().playing(); }, 5000));
    EXPECT_TRUE(ui.MediaPlayer1->isEnabled());
    EXPECT_TRUE(ui.BitBtn3->isEnabled());
    EXPECT_EQ(audio.library->ChannelIsActive(form->player().SongStream), AudioLibrary::Playing)
        << "the song went on";
    EXPECT_TRUE(form->player().strip().isButtonEnabled(TransportStrip::Stop));
    ui.bStop->click();

    ui.Nein1->trigger();
    EXPECT_TRUE(ui.SpeedButton7->isHidden());
    EXPECT_FALSE(ui.Ja1->isChecked());
    EXPECT_FALSE(form->settings().StartMelodyOn);
}

TEST_F(OtherSourceTest, ATrackOfADiscImagePlaysTheImagesSamplesFromTheStartMark) {
    // Track 2 starts at disc position 12:50:30 (sector 12:48:30 of the image) and lasts 4:31:40.
    const int trackStart = (12 * 60 + 48) * 75 + 30;
    const int markSector = trackStart + 75 * 75;
    QString error;
    const QString cue =
        CdImage::write(folders.root(), "disc", {{0, trackStart}, {trackStart, (4 * 60 + 31) * 75 + 40}},
                       {{markSector, 3 * 75}}, error);
    ASSERT_FALSE(cue.isEmpty()) << error.toStdString();
    CdMediaDevice disc(*audio.library, [cue] { return QStringList{cue}; });
    mediaInUse = &disc;
    auto form = startInTheGroup();
    Ui::TForm1& ui = form->form();
    dialogs.onModal = [](QDialog& dialog) {
        auto& chooser = dynamic_cast<CdTrackChooser&>(dialog);
        chooser.choose(1);
        return chooser.result();
    };
    QTest::mouseClick(ui.Label7, Qt::LeftButton);
    EXPECT_EQ(form->state().SlotFiles[4], cue + "/Track02.cda");
    EXPECT_EQ(ui.Label1->text(), "Track02");
    EXPECT_EQ(ui.Label3->text(), "04:31");
    EXPECT_EQ(ui.TrackBar1->maximum(), 271);

    ui.TrackBar1->setValue(75);
    ui.SpeedButton1->click();
    audio.backend->keepOutput(true);
    command(*form, "Play");
    audio.backend->advance(2.0);
    form->player().Timer1Timer();
    EXPECT_EQ(ui.Label2->text(), "01:17");
    command(*form, "Stop");
    // The window plays on a mono device: each frame is the mean of the image's two channels.
    const std::vector<std::int16_t> out = audio.backend->output();
    ASSERT_GE(out.size(), 44100u * 2);
    int differing = 0;
    for (int frame = 0; frame < 44100 * 2; ++frame) {
        const int sector = markSector + frame / 588;
        const int mean =
            (CdImage::sample(sector, frame % 588, 0) + CdImage::sample(sector, frame % 588, 1)) / 2;
        differing += std::abs(out[static_cast<std::size_t>(frame)] - mean) > 1;
    }
    EXPECT_EQ(differing, 0) << "the image's samples from 14:05:30 on";
}

TEST_F(OtherSourceTest, WhileTheMelodyPlaysNoSongCommandCanBeGivenAndATrackPlaysOnAfterIt) {
    const QString melody = folders.root() + "/Gong.mp3";
    makeFile(melody, 3.0);
    media.discs = {{"/dev/sr0", {{7, {12, 50, 30}, {4, 31, 40}}}}};
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.Ja1->trigger();
    dialogs.fileAnswers.push_back(melody);
    QTest::mouseDClick(ui.SpeedButton7, Qt::LeftButton);
    setSlot(*form, 1, 5);
    setSlot(*form, 2, 6);
    setSlot(*form, 3, 8);
    const auto held = [&] { return !ui.MediaPlayer1->isEnabled() && !ui.BitBtn3->isEnabled(); };

    ui.BitBtn3->click(); // slot 1, one second long
    ui.SpeedButton7->click();
    ASSERT_TRUE(form->startMelody().playing());
    EXPECT_TRUE(held()) << "the strip and the big Start button";
    // The song's end and every preparation meanwhile leave the commands held.
    audio.backend->advance(1.2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ui.CheckBox1->isChecked(); }, 5000));
    EXPECT_EQ(ui.Label1->text(), "6");
    EXPECT_TRUE(held()) << "after the song's end";
    ui.CheckBox2->click();
    EXPECT_EQ(ui.Label1->text(), "8");
    EXPECT_TRUE(held()) << "after a slot's check box";
    QTest::keyClicks(ui.ComboBox2->lineEdit(), "7");
    EXPECT_EQ(ui.Label1->text(), "67");
    EXPECT_TRUE(held()) << "after a number";
    ui.RadioButton4->click();
    ui.RadioButton3->click();
    EXPECT_TRUE(held()) << "after the group's radio buttons";
    audio.backend->advance(2.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->startMelody().playing(); }, 5000));
    EXPECT_TRUE(playable(*form)) << "the strip follows the prepared song";
    EXPECT_EQ(ui.BitBtn3->text(), "Start");

    // An audio CD track that plays when the melody ends plays on.
    ui.RadioButton4->click();
    dialogs.onModal = [](QDialog& dialog) {
        auto& chooser = dynamic_cast<CdTrackChooser&>(dialog);
        chooser.choose(0);
        return chooser.result();
    };
    QTest::mouseClick(ui.Label7, Qt::LeftButton);
    ASSERT_TRUE(playable(*form));
    form->player().strip().button(TransportStrip::Play)->click();
    ASSERT_TRUE(media.playing);
    ui.SpeedButton7->click();
    EXPECT_TRUE(held());
    media.opened.clear();
    audio.backend->advance(3.2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->startMelody().playing(); }, 5000));
    EXPECT_TRUE(media.opened.isEmpty()) << "opening the track again would stop it";
    EXPECT_TRUE(media.playing);
    EXPECT_TRUE(form->player().strip().isButtonEnabled(TransportStrip::Stop));
    EXPECT_TRUE(ui.BitBtn3->isEnabled());
    EXPECT_EQ(ui.BitBtn3->text(), "Stop");
}

TEST_F(OtherSourceTest, AFloatingPointFilePlaysAtItsLevelAsTheOtherSourceAndAsTheMelody) {
    // As sound editors write it: 32-bit floats, full scale 1.0; a tone of 12000 in 16-bit terms.
    const QString wave = folders.root() + "/Ton.wav";
    const audiotest::Samples tone = audiotest::sine(
        44100, 1, 2 * 44100, [](std::int64_t) { return 441.0; }, 12000.0);
    std::vector<float> floats(tone.size());
    std::transform(tone.begin(), tone.end(), floats.begin(), [](std::int16_t s) { return s / 32768.0f; });
    SF_INFO info{2 * 44100, 44100, 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0, 0};
    SNDFILE* file = sf_open(QFile::encodeName(wave).constData(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(sf_writef_float(file, floats.data(), 2 * 44100), 2 * 44100);
    sf_close(file);
    const auto peak = [](const std::vector<std::int16_t>& out) {
        int highest = 0;
        for (std::int16_t s : out)
            highest = std::max(highest, std::abs(static_cast<int>(s)));
        return highest;
    };
    auto form = startInTheGroup();
    Ui::TForm1& ui = form->form();
    chooseFile(*form, wave);
    audio.backend->keepOutput(true);
    command(*form, "Play");
    audio.backend->advance(0.5);
    command(*form, "Stop");
    EXPECT_NEAR(peak(audio.backend->output()), 12000, 100) << "as the other source";

    ui.Ja1->trigger();
    dialogs.fileAnswers.push_back(wave);
    QTest::mouseDClick(ui.SpeedButton7, Qt::LeftButton);
    audio.backend->keepOutput(true);
    ui.SpeedButton7->click();
    audio.backend->advance(0.5);
    EXPECT_NEAR(peak(audio.backend->output()), 12000, 100) << "as the melody";
}
