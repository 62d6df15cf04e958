#include "app/recording/LevelBarView.h"
#include "app/recording/RecordingFields.h"
#include "app/recording/RecordingFixture.h"
#include "app/songs/SongLibrary.h"
#include "recording/DeviceMessages.h"
#include "support/TmpfsMount.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

namespace {

using recording::LevelColour;

using RecordingControlsTest = RecordingFixture;

} // namespace

TEST_F(RecordingControlsTest, AWeekendMeetingWithAutoRecRecordsTheTwoPartsBetweenTheSongs) {
    clock.set(2026, 12, 12, 9, 30); // Saturday
    makeSongFolder(135);
    auto form = start();
    Ui::TForm1& ui = form->form();
    EXPECT_EQ(ui.Label4->text(), QStringLiteral("Vortrag "));
    EXPECT_EQ(ui.Label5->text(), QStringLiteral(" Wachtturmstudium"));
    setSlot(*form, 1, 1);
    setSlot(*form, 2, 2);
    setSlot(*form, 3, 3);
    ui.autorec->setChecked(true);
    EXPECT_FALSE(ui.bRecord->isEnabled());
    EXPECT_FALSE(ui.bStop->isEnabled());
    EXPECT_FALSE(ui.BitBtn4->isEnabled());

    playSongToItsEnd(*form); // opening song: part 1 starts when it ends
    EXPECT_EQ(ui.Thema->text(), QStringLiteral("Vortrag"));
    EXPECT_TRUE(form->capture().channelActive());
    EXPECT_EQ(form->state().texte[0], QStringLiteral("aufnahme1.mp3"));
    EXPECT_EQ(ui.Datei->text(), QStringLiteral("Max_Muster_2026_12_12_Vortrag.mp3"));
    record(*form, 2.0);
    EXPECT_EQ(ui.lpos->text(), QStringLiteral("0:00:02"));

    playSongToItsEnd(*form); // middle song: part 1 ends at its start, part 2 starts at its end
    EXPECT_EQ(form->state().texte[4], QStringLiteral("Max_Muster_2026_12_12_Vortrag.mp3"));
    EXPECT_EQ(ui.Thema->text(), QStringLiteral("Wachtturmstudium"));
    EXPECT_EQ(form->state().texte[0], QStringLiteral("aufnahme2.mp3"));
    EXPECT_TRUE(form->capture().channelActive());
    record(*form, 1.0);

    playSongToItsEnd(*form); // closing song: part 2 ends, nothing records afterwards
    EXPECT_FALSE(form->capture().channelActive());
    EXPECT_EQ(form->state().texte[4], QStringLiteral("Max_Muster_2026_12_12_WTS.mp3"));
    EXPECT_FALSE(form->recordingControl().posTimer().isActive());

    waitForFinishing(*form);
    EXPECT_EQ(mp3Files(),
              (QStringList{"Max_Muster_2026_12_12_Vortrag.mp3", "Max_Muster_2026_12_12_WTS.mp3"}));
    // Untouched fields: the encoder's texts stay.
    EXPECT_EQ(tagOf("Max_Muster_2026_12_12_Vortrag.mp3").comment, QStringLiteral("Vortrag"));
    EXPECT_EQ(tagOf("Max_Muster_2026_12_12_WTS.mp3").comment, QStringLiteral("Wachtturmstudium"));
    EXPECT_TRUE(tagOf("Max_Muster_2026_12_12_WTS.mp3").album.startsWith(QStringLiteral("Kandolor   ")));
    int rate = 0;
    const audiotest::Samples part1 =
        audiotest::decodeMp3(recordings() + "Max_Muster_2026_12_12_Vortrag.mp3", &rate);
    EXPECT_EQ(rate, 22050);
    const double hz = 22050 * 0.125 / (2 * M_PI);
    EXPECT_GT(audiotest::tonePower(part1, 1, 0, 22050, hz),
              50 * audiotest::tonePower(part1, 1, 0, 22050, 1.5 * hz))
        << "the recording holds the input's tone";
}

TEST_F(RecordingControlsTest, AtTheMiddleSongANameTheOperatorTypedIsKept) {
    clock.set(2026, 12, 12, 9, 30); // Saturday
    makeSongFolder(135);
    auto form = start();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 1, 1);
    setSlot(*form, 2, 2);
    ui.autorec->setChecked(true);
    playSongToItsEnd(*form);
    ASSERT_TRUE(form->capture().channelActive());
    ui.Redner->setText(QStringLiteral("Hans")); // typed during the talk: the file name follows
    ASSERT_TRUE(ui.Datei->isModified());
    const QString typed = ui.Datei->text();

    ui.BitBtn3->click(); // the middle song starts: part 1 ends under the typed name
    EXPECT_FALSE(form->capture().channelActive());
    EXPECT_EQ(form->state().texte[4], typed);
    EXPECT_EQ(ui.Thema->text(), QStringLiteral("Vortrag")) << "no part 2 defaults over a typed name";
    EXPECT_EQ(ui.Redner->text(), QStringLiteral("Hans"));
}

TEST_F(RecordingControlsTest, PlayingFromTheOtherSourceNeverStartsOrStopsARecording) {
    makeSongFolder(135);
    auto form = start();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 1, 1);
    setSlot(*form, 2, 2);
    ui.RadioButton4->setChecked(true);
    ui.Thema->setText(QStringLiteral("Hochzeit"));
    ui.Datei->setModified(false);
    ui.bRecord->click();
    ui.autorec->setChecked(true);

    playSongToItsEnd(*form);
    EXPECT_TRUE(form->capture().channelActive()) << "the song's start did not stop the recording";
    EXPECT_EQ(ui.Thema->text(), QStringLiteral("Hochzeit")) << "nor put defaults into the fields";
    ui.autorec->setChecked(false);
    ui.bStop->click();
    ui.autorec->setChecked(true);
    playSongToItsEnd(*form);
    EXPECT_FALSE(form->capture().channelActive()) << "the song's end did not start one";
}

TEST_F(RecordingControlsTest, ARecordingFolderThatCannotBeCreatedIsToldAtStartAndNoRecordingStarts) {
    QDir(folders.homeFolder()).removeRecursively();
    QFile(folders.homeFolder()).open(QIODevice::WriteOnly); // the default folder would lie below a file
    auto form = start();
    Ui::TForm1& ui = form->form();
    const QString told = QStringLiteral("Der Aufnahme-Ordner ") + recordings() +
                         QStringLiteral(" kann nicht angelegt werden !");
    EXPECT_EQ(dialogs.shown().filter(told).size(), 1) << dialogs.shown().join('|').toStdString();

    dialogs.clear();
    ui.bRecord->click();
    EXPECT_EQ(dialogs.shown().filter(told).size(), 1) << "told again at the request";
    expectIdle(*form);
    EXPECT_TRUE(ui.bRecord->isEnabled());
    EXPECT_FALSE(ui.bStop->isEnabled());
    EXPECT_TRUE(form->state().texte[0].isEmpty());
}

TEST_F(RecordingControlsTest, WithAutoRecAReadOnlyRecordingFolderStopsTheStartAfterTheOpeningSong) {
    const TmpfsMount volume(folders.root() + QStringLiteral("/stick"), TmpfsMount::ReadOnly);
    if (volume.path.isEmpty())
        GTEST_SKIP() << volume.skipReason.toStdString();
    QStringList settings = fullSettings(); // Auto-Rec on
    settings[11] = volume.path + QLatin1Char('/');
    writeFile(settingsFile(), settings);
    makeSongFolder(135);
    auto form = start();
    Ui::TForm1& ui = form->form();
    const QString told = QStringLiteral("Der Aufnahme-Ordner ") + volume.path +
                         QStringLiteral("/ kann nicht beschrieben werden !");
    EXPECT_EQ(dialogs.shown().filter(told).size(), 1) << dialogs.shown().join('|').toStdString();
    setSlot(*form, 1, 1);
    setSlot(*form, 2, 2);

    dialogs.clear();
    playSongToItsEnd(*form);
    EXPECT_EQ(dialogs.shown().filter(told).size(), 1);
    expectIdle(*form);
    EXPECT_FALSE(ui.bRecord->isEnabled()) << "Auto-Rec keeps the buttons off";
    EXPECT_FALSE(ui.BitBtn4->isEnabled());
}

TEST_F(RecordingControlsTest, TheTopicReachesTheEncoderWithUmlautsAndOnlyItsQuotesReplaced) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    EXPECT_TRUE(ui.bRecord->isEnabled()) << "without Auto-Rec the operator records by hand";
    ui.Thema->setText(QStringLiteral("Größe & \"Frieden\" – für alle"));
    ui.Thema->setModified(false);
    ui.Datei->setText(QStringLiteral("Predigt.mp3"));
    ui.bRecord->click();
    EXPECT_FALSE(ui.bRecord->isEnabled());
    EXPECT_TRUE(ui.bStop->isEnabled());
    EXPECT_EQ(ui.BitBtn4->text(), QStringLiteral("Stop"));
    record(*form, 1.5);
    ui.bStop->click();
    EXPECT_TRUE(ui.bRecord->isEnabled());
    EXPECT_EQ(ui.BitBtn4->text(), QStringLiteral("Aufnahme"));
    EXPECT_FALSE(form->state().neu) << "nothing was typed";
    waitForFinishing(*form);
    EXPECT_EQ(mp3Files(), QStringList{"Predigt.mp3"});
    EXPECT_EQ(tagOf("Predigt.mp3").comment, QStringLiteral("Größe & ”Frieden” – für alle"));
    TagLib::MPEG::File file(QFile::encodeName(recordings() + "Predigt.mp3").constData());
    ASSERT_NE(file.ID3v2Tag(), nullptr);
    EXPECT_TRUE(file.ID3v2Tag()->frameListMap()["TLEN"].isEmpty()) << "no length frame of an unknown length";
    const TagLib::ID3v2::FrameList comments = file.ID3v2Tag()->frameListMap()["COMM"];
    ASSERT_EQ(comments.size(), 1u) << "the encoder's comment frame was written again, not added to";
}

TEST_F(RecordingControlsTest, AnotherReaderFindsTheEncodersCommentInTheFinishedFile) {
    const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
    if (ffprobe.isEmpty())
        GTEST_SKIP() << "ffprobe is not installed";
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.Thema->setText(QStringLiteral("Glaube – Öl"));
    ui.Thema->setModified(false);
    ui.Datei->setText(QStringLiteral("Predigt.mp3"));
    ui.bRecord->click();
    record(*form, 1.0);
    ui.bStop->click();
    waitForFinishing(*form);
    QProcess probe;
    probe.start(ffprobe, {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                          QStringLiteral("format_tags=comment"), QStringLiteral("-of"),
                          QStringLiteral("default=nw=1:nk=1"), recordings() + QStringLiteral("Predigt.mp3")});
    ASSERT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(probe.readAllStandardOutput()).trimmed(), QStringLiteral("Glaube – Öl"));
    EXPECT_EQ(QString::fromUtf8(probe.readAllStandardError()), QString());
}

TEST_F(RecordingControlsTest, TypedSpeakerAndTopicBecomeTheTagAndTheNameOfTheFile) {
    clock.set(2015, 3, 1, 10, 0); // Sunday
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.bRecord->click();
    record(*form, 1.0);
    ui.Redner->setText(QStringLiteral("Hans Meier")); // typed during the talk
    ui.Thema->setText(QStringLiteral("Freude"));
    ui.Thema->setModified(true);
    const QString name = ui.Datei->text();
    EXPECT_EQ(name, QStringLiteral("Max_Muster_2015_3_1_Hans Meier_Freude.mp3"));
    ui.bStop->click();
    waitForFinishing(*form);

    EXPECT_EQ(mp3Files(), QStringList{name});
    const RecordingTag tag = tagOf(name);
    EXPECT_EQ(tag.title, QStringLiteral("Freude"));
    EXPECT_EQ(tag.artist, QStringLiteral("Hans Meier"));
    EXPECT_EQ(tag.album, QStringLiteral("Kandolor Max_Muster"));
    EXPECT_EQ(tag.year, 2015u);
    EXPECT_TRUE(tag.comments.isEmpty()) << "an empty comment removes the encoder's comment frame";
    EXPECT_GT(audiotest::decodeMp3(recordings() + name).size(), 20000u);
}

TEST_F(RecordingControlsTest, ANameThatExistsGetsTheNextNumberAndATypedNameKeepsItsMissingExtension) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    writeFile(recordings() + "Vortrag.mp3", {QStringLiteral("an earlier recording")});
    const QByteArray earlier = bytesOf(recordings() + "Vortrag.mp3");
    ui.Datei->setText(QStringLiteral("Vortrag.mp3"));
    ui.bRecord->click();
    EXPECT_EQ(ui.Datei->text(), QStringLiteral("Vortrag#0.mp3")) << "the start numbers the taken name";
    record(*form, 1.0);
    ui.Datei->setText(QStringLiteral("Vortrag.mp3")); // changed back during the recording
    ui.bStop->click();
    waitForFinishing(*form);
    EXPECT_EQ(mp3Files(), (QStringList{"Vortrag#0.mp3", "Vortrag.mp3"}));
    EXPECT_EQ(bytesOf(recordings() + "Vortrag.mp3"), earlier);

    ui.bRecord->click();
    record(*form, 1.0);
    ui.Datei->setText(QStringLiteral("Ohne Endung"));
    ui.bStop->click();
    waitForFinishing(*form);
    EXPECT_TRUE(QFile::exists(recordings() + "Ohne Endung"));
    EXPECT_GT(audiotest::decodeMp3(recordings() + "Ohne Endung").size(), 20000u);
}

TEST_F(RecordingControlsTest, ASplitAfterTenMinutesGivesTwoFinishedFilesWithTheirOwnNames) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.N10min->trigger();
    EXPECT_EQ(form->settings().SplitMinutes, 10);
    ui.Datei->setText(QStringLiteral("Vortrag.mp3"));
    ui.BitBtn4->click();
    EXPECT_EQ(ui.Datei->text(), QStringLiteral("Vortrag#0.mp3"));
    record(*form, 599.9);
    EXPECT_EQ(ui.lpos->text(), QStringLiteral("0:09:59"));
    EXPECT_EQ(form->state().texte[0], QStringLiteral("aufnahme1.mp3"));
    record(*form, 0.1);
    EXPECT_EQ(ui.lpos->text(), QStringLiteral("0:10:00")) << "the tick of the split still shows the old file";
    EXPECT_EQ(form->state().texte[0], QStringLiteral("aufnahme2.mp3"));
    EXPECT_EQ(form->state().texte[4], QStringLiteral("Vortrag#0.mp3"));
    record(*form, 0.1);
    EXPECT_EQ(ui.lpos->text(), QStringLiteral("0:00:00"));
    record(*form, 1.0);
    ui.BitBtn4->click();
    waitForFinishing(*form);

    ASSERT_EQ(mp3Files(), (QStringList{"Vortrag#0.mp3", "Vortrag#1.mp3"}));
    const audiotest::Samples first = audiotest::decodeMp3(recordings() + "Vortrag#0.mp3");
    const audiotest::Samples second = audiotest::decodeMp3(recordings() + "Vortrag#1.mp3");
    EXPECT_NEAR(first.size() / 22050.0, 600.0, 0.2);
    EXPECT_GT(second.size(), 20000u);
}

TEST_F(RecordingControlsTest, ATemporaryNameThatIsTakenIsNeverWrittenOver) {
    auto form = start();
    writeFile(recordings() + "aufnahme1.mp3", {QStringLiteral("another program's file")});
    const QByteArray left = bytesOf(recordings() + "aufnahme1.mp3");
    Ui::TForm1& ui = form->form();
    ui.bRecord->click();
    EXPECT_EQ(form->state().texte[0], QStringLiteral("aufnahme2.mp3"));
    record(*form, 1.0);
    EXPECT_EQ(bytesOf(recordings() + "aufnahme1.mp3"), left);
    ui.bStop->click();
    waitForFinishing(*form);
    EXPECT_EQ(bytesOf(recordings() + "aufnahme1.mp3"), left);
}

TEST_F(RecordingControlsTest, ARecordingFolderWithABlankFromTheSettingsFileGetsTheRecording) {
    const QString folder = folders.homeFolder() + QStringLiteral("/Meine Aufnahmen/");
    auto form = startRecordingInto(folder);
    Ui::TForm1& ui = form->form();
    ui.bRecord->click();
    record(*form, 1.0);
    ui.bStop->click();
    waitForFinishing(*form);
    EXPECT_GT(audiotest::decodeMp3(folder + QStringLiteral("Vortrag.mp3")).size(), 20000u);
}

TEST_F(RecordingControlsTest, AFailedRenameTellsWhereTheRecordingIs) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.bRecord->click();
    record(*form, 1.0);
    ui.Datei->setText(QString(300, QLatin1Char('x')) + QStringLiteral(".mp3")); // longer than a name may be
    dialogs.clear();
    ui.bStop->click();
    waitForFinishing(*form);
    EXPECT_EQ(dialogs.shown(), QStringList{QStringLiteral("Die Aufnahme konnte nicht umbenannt werden !\rSie "
                                                          "liegt unter ") +
                                           recordings() + QStringLiteral("aufnahme1.mp3 .")});
    EXPECT_GT(audiotest::decodeMp3(recordings() + "aufnahme1.mp3").size(), 20000u);
}

TEST_F(RecordingControlsTest, AMissingEncoderIsReportedPlainlyAtTheStartAndNothingSeemsToRecord) {
    auto form = start();
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    form->form().bRecord->click();
    qputenv("PATH", path);
    const QStringList shown = dialogs.shown();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.last(), QStringLiteral("Kann Mp3-Encoding nicht starten\rDas Programm \"lame\" ist nicht "
                                           "installiert. Bitte das Paket \"lame\" installieren "
                                           "(lassen).\rEs wird nicht aufgenommen !"));
    expectIdle(*form);
    EXPECT_TRUE(form->form().bRecord->isEnabled());
    dialogs.clear();
    form->form().bStop->click();
    EXPECT_TRUE(dialogs.shown().isEmpty()) << "the stop of nothing is harmless";
    EXPECT_TRUE(mp3Files().isEmpty());
}

TEST_F(RecordingControlsTest, TheLevelBarShowsTheInputAndHoldsItsPeak) {
    audio.backend->setInputSignal([](std::uint64_t frame, int) -> std::int16_t {
        return frame < 5512 ? (frame % 2 ? 32767 : -32768)
                            : 0; // a quarter second at full scale, then silence
    });
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.TrackBar2->setValue(100);
    ui.bRecord->click();
    record(*form, 0.2);
    const recording::LevelBar& bar = ui.Label25->bar();
    const auto painted = [&](int x) { return ui.Label25->grab().toImage().pixelColor(x, 5); };
    EXPECT_EQ(bar.column(0), LevelColour::Green);
    EXPECT_EQ(bar.column(90), LevelColour::Green);
    EXPECT_EQ(bar.column(92), LevelColour::Yellow);
    EXPECT_EQ(bar.column(115), LevelColour::Red);
    EXPECT_EQ(bar.column(129), LevelColour::Red);
    EXPECT_EQ(painted(90), QColor(0, 128, 0));
    EXPECT_EQ(painted(92), QColor(255, 255, 0));
    EXPECT_EQ(painted(129), QColor(255, 0, 0));

    record(*form, 0.4); // silence within the same hold window of 21 ticks: the peak marker stays
    EXPECT_EQ(bar.column(10), LevelColour::White);
    EXPECT_EQ(bar.column(128), LevelColour::Red);
    EXPECT_EQ(painted(10), QColor(255, 255, 255));
    EXPECT_EQ(painted(127), QColor(255, 255, 255));
    EXPECT_EQ(painted(128), QColor(255, 0, 0));
    record(*form, 1.1); // after the hold window it is gone
    EXPECT_EQ(bar.column(128), LevelColour::White);
    ui.bStop->click();
    EXPECT_EQ(bar.column(0), LevelColour::White);
}

TEST_F(RecordingControlsTest, OverloadLowersTheVolumeStepByStepButNotBelowForty) {
    // The volume is a gain on the captured samples, so the level is measured after it: at full volume an
    // input of 26000 reads 26000.
    audio.backend->setInputSignal([](std::uint64_t, int) -> std::int16_t { return 26000; });
    writeFile(settingsFile(), fullSettings()); // automatic reduction on
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.autorec->setChecked(false);
    ui.TrackBar2->setValue(100);
    ui.bRecord->click();
    record(*form, 0.1);
    EXPECT_EQ(ui.TrackBar2->value(), 99);
    EXPECT_EQ(ui.Label27->text(), QStringLiteral("99"));
    EXPECT_EQ(form->settings().InputVolume, 99);
    audio.backend->setInputSignal([](std::uint64_t, int) -> std::int16_t { return 32767; });
    ui.TrackBar2->setValue(40);
    record(*form, 1.0);
    EXPECT_EQ(ui.TrackBar2->value(), 40);
    ui.Button5->click();
    EXPECT_EQ(ui.TrackBar2->value(), 39);
}

TEST_F(RecordingControlsTest, FieldsFollowSpeakerAndTopicAndLoseForbiddenCharacters) {
    clock.set(2015, 3, 4); // Wednesday
    auto form = start();
    Ui::TForm1& ui = form->form();
    EXPECT_EQ(ui.Label4->text(), QStringLiteral("Buchstudium "));
    EXPECT_EQ(ui.Datei->text(), QStringLiteral("Max_Muster_2015_3_4_BST.mp3"));
    EXPECT_FALSE(ui.Datei->isModified());
    ui.Thema->setText(QStringLiteral("Freude"));
    EXPECT_EQ(ui.Datei->text(), QStringLiteral("Max_Muster_2015_3_4__Freude.mp3"));
    EXPECT_TRUE(ui.Datei->isModified());
    ui.Datei->setText(QStringLiteral("a:b*c"));
    EXPECT_EQ(ui.Datei->text(), QStringLiteral("abc"));
    ui.Redner->setText(QStringLiteral("Hans"));
    ui.SpeedButton9->click(); // no slot checked: part 2
    EXPECT_EQ(ui.Thema->text(), QStringLiteral("Dienstzusammenkunft"));
    EXPECT_EQ(ui.Redner->text(), QString());
    EXPECT_EQ(ui.Datei->text(), QStringLiteral("Max_Muster_2015_3_4_DZK.mp3"));
}

// Started before the sound server: the operator is told plainly, once, that no sound device is there, and
// again when playing or recording; no file is blamed and no code shown. Once the server is there, the song
// prepared meanwhile plays and the recording started meanwhile records, and its stop tells how long the input
// was missing.
TEST_F(RecordingControlsTest, WithoutASoundServerAtStartTheOperatorIsToldAndAllWorksOnceItIsThere) {
    audio = createNullAudioLibrary({.playbackFails = true, .captureFails = true});
    audio.backend->setInputSignal([](std::uint64_t frame, int) { return tone(frame); });
    makeSongFolder(1);
    auto form = startRecordingInto(recordings());
    form->show();
    Ui::TForm1& ui = form->form();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return dialogs.shown().contains(recording::NoOutputDeviceMessage()); }, 5000));
    EXPECT_EQ(ui.ComboBox5->count(), 1) << "the default input";
    setSlot(*form, 1, 1);
    EXPECT_NE(form->player().SongStream, 0u);
    EXPECT_EQ(ui.Label3->text(), QStringLiteral("00:01"));
    EXPECT_FALSE(ui.Label10->text().startsWith(QStringLiteral("Datei kann nicht")));
    dialogs.clear();
    form->player().strip().button(TransportStrip::Play)->click();
    EXPECT_EQ(dialogs.shown(), QStringList{recording::NoOutputDeviceMessage()});
    EXPECT_FALSE(form->player().timer1().isActive()) << "nothing started";

    dialogs.clear();
    ui.bRecord->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.rec->text() == QStringLiteral("Eingang fehlt !"); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs.shown().isEmpty(); }, 5000));
    EXPECT_EQ(dialogs.shown(), QStringList{recording::NoInputDeviceMessage()});
    record(*form, 2.0);

    audio.backend->setFailing(false, false);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return audio.backend->playbackOpen() && audio.backend->captureOpen(); }, 5000));
    record(*form, 4.0);
    EXPECT_EQ(ui.rec->text(), QStringLiteral("Aufnahme"));
    form->player().strip().button(TransportStrip::Play)->click();
    EXPECT_TRUE(form->player().timer1().isActive());
    audio.backend->advance(0.5);
    EXPECT_EQ(audio.library->ChannelIsActive(form->player().SongStream), AudioLibrary::Playing);
    EXPECT_GT(audio.library->ChannelGetPosition(form->player().SongStream), 0);

    ui.bStop->click();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return dialogs.shown().contains(recording::InputMissingMessage(2.0)); }, 5000))
        << dialogs.shown().join(QLatin1Char('|')).toStdString();
    const QStringList told = dialogs.shown();
    EXPECT_TRUE(told.filter(QStringLiteral("BASS")).isEmpty());
    EXPECT_TRUE(told.filter(QStringLiteral("Kann Aufnahme nicht starten")).isEmpty());
    waitForFinishing(*form);
    ASSERT_EQ(mp3Files().size(), 1);
    const double seconds = audiotest::decodeMp3(recordings() + mp3Files().first()).size() / 22050.0;
    EXPECT_NEAR(seconds, 4.5, 0.3) << "what was captured once the device was there";
}

TEST_F(RecordingControlsTest, ALostRecordingDeviceIsShownUntilItIsBack) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.ComboBox5->setCurrentIndex(1); // the named device, so that it can go away for good
    ui.ComboBox5->activated(1);
    ui.bRecord->click();
    record(*form, 0.5);
    EXPECT_EQ(ui.rec->text(), QStringLiteral("Aufnahme"));

    audio.backend->setCaptureDevices({});
    audio.backend->loseCapture();
    // The engine's device thread finds it gone within a tenth of a second.
    QDeadlineTimer lost(5000);
    while (ui.rec->text() != QStringLiteral("Eingang fehlt !") && !lost.hasExpired()) {
        QThread::msleep(20);
        record(*form, 0.05);
    }
    EXPECT_EQ(ui.rec->text(), QStringLiteral("Eingang fehlt !"));
    EXPECT_FALSE(ui.rec->isHidden());

    audio.backend->setCaptureDevices({QStringLiteral("Null input")});
    QDeadlineTimer deadline(10000);
    while (ui.rec->text() != QStringLiteral("Aufnahme") && !deadline.hasExpired()) {
        QThread::msleep(50);
        record(*form, 0.05);
    }
    EXPECT_EQ(ui.rec->text(), QStringLiteral("Aufnahme"));
    ui.bStop->click();
}
