#include "app/recording/RecordingFixture.h"
#include "recording/RecordingStatus.h"
#include "support/TmpfsMount.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QStandardPaths>

namespace {

class RecordingSafetyTest : public RecordingFixture {
protected:
    // A recording as the encoder leaves it: a second of the tone with the encoder's tag.
    void makeEncoderFile(const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        audiotest::makeMp3(path, 22050, 1,
                           audiotest::sine(22050, 1, 22050, [](std::int64_t) { return 440.0; }), 48,
                           {QStringLiteral("--id3v2-only"), QStringLiteral("--tc"), QStringLiteral("Vortrag"),
                            QStringLiteral("--tl"), QStringLiteral("Kandolor   Max Muster  02.12.2026")});
    }
    QByteArray checksum(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }
};

} // namespace

TEST_F(RecordingSafetyTest, RecordingsLeftByACrashAreFinishedAtTheNextStart) {
    makeEncoderFile(recordings() + "aufnahme1.mp3");
    makeEncoderFile(recordings() + "AUFNAHME7.MP3");
    makeEncoderFile(recordings() + "fremd.mp3");
    const QByteArray foreign = checksum(recordings() + "fremd.mp3");
    // The first was written on a Saturday, the second on the Wednesday after it.
    const auto setWritten = [&](const QString& name, int day) {
        QFile file(recordings() + name);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(QDateTime(QDate(2026, 12, day), QTime(11, 0)), QFileDevice::FileModificationTime);
    };
    setWritten("aufnahme1.mp3", 12);
    setWritten("AUFNAHME7.MP3", 16);
    clock.set(2026, 12, 17);
    auto form = start();

    EXPECT_EQ(mp3Files(), (QStringList{"Max_Muster_2026_12_12_Vortrag.mp3", "Max_Muster_2026_12_16_BST.mp3",
                                       "fremd.mp3"}));
    EXPECT_EQ(tagOf("Max_Muster_2026_12_12_Vortrag.mp3").album, QStringLiteral("Kandolor Max_Muster"));
    EXPECT_EQ(tagOf("Max_Muster_2026_12_12_Vortrag.mp3").comment, QStringLiteral("Vortrag"));
    EXPECT_EQ(checksum(recordings() + "fremd.mp3"), foreign);
    EXPECT_GT(audiotest::decodeMp3(recordings() + "Max_Muster_2026_12_16_BST.mp3").size(), 20000u);
    const QStringList told = dialogs.shown().filter(QStringLiteral("nicht abgeschlossen"));
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(
        told.first(),
        QStringLiteral("Aufnahmen, die beim letzten Mal nicht abgeschlossen wurden, sind gesichert in ") +
            recordings() +
            QStringLiteral(" :\raufnahme1.mp3 → Max_Muster_2026_12_12_Vortrag.mp3\rAUFNAHME7.MP3 → "
                           "Max_Muster_2026_12_16_BST.mp3"));
}

TEST_F(RecordingSafetyTest, ClosingTheWindowDuringARecordingFinishesIt) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    form->show();
    ui.Datei->setText(QStringLiteral("Vortrag.mp3"));
    ui.bRecord->click();
    record(*form, 2.0);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->finisher().busy()) << "the close waited for the finishing";
    EXPECT_EQ(mp3Files(), QStringList{"Vortrag.mp3"});
    EXPECT_GT(audiotest::decodeMp3(recordings() + "Vortrag.mp3").size(), 40000u);
    EXPECT_TRUE(QFile::exists(settingsFile())) << "the settings were saved first";
}

struct GoneEncoder {
    const char* name;
    // A stand-in for lame: a shell script around the real one ($LAME).
    const char* script;
    double minSeconds; // the audio the finished file holds
    double maxSeconds;
};

class EncoderGoneTest : public RecordingSafetyTest, public testing::WithParamInterface<GoneEncoder> {};

// The recording stops as soon as its encoder is found gone, what it wrote is finished, and the operator is
// told why and where the file is.
TEST_P(EncoderGoneTest, StopsTheRecordingAndWhatItWroteIsKept) {
    const QString bin = folders.root() + QStringLiteral("/bin");
    QDir().mkpath(bin);
    QFile script(bin + QStringLiteral("/lame"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        "#!/bin/sh\nLAME=" + QFile::encodeName(QStandardPaths::findExecutable(QStringLiteral("lame"))) +
        "\n" + GetParam().script + "\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ':' + path);
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.Datei->setText(QStringLiteral("Vortrag.mp3"));
    ui.bRecord->click();
    qputenv("PATH", path);
    const bool stopped = QTest::qWaitFor(
        [&] {
            record(*form, 0.05);
            return !form->recordingControl().RecordingRequested();
        },
        40000);
    ASSERT_TRUE(stopped) << "the recording stops when its encoder is gone";
    EXPECT_TRUE(
        dialogs.shown().last().startsWith(QStringLiteral("Der Encoder (lame) hat aufgehört zu arbeiten !")));
    expectIdle(*form);
    waitForFinishing(*form);
    EXPECT_EQ(dialogs.shown().last(), QStringLiteral("Was bis dahin aufgenommen wurde, ist gesichert: ") +
                                          recordings() + "Vortrag.mp3");
    EXPECT_TRUE(dialogs.shown().filter(QStringLiteral("Can't close")).isEmpty());
    const double seconds = audiotest::decodeMp3(recordings() + "Vortrag.mp3").size() / 22050.0;
    EXPECT_GE(seconds, GetParam().minSeconds);
    EXPECT_LE(seconds, GetParam().maxSeconds);
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, EncoderGoneTest,
    testing::Values(
        // Takes four and a half seconds of audio, finishes its file and exits.
        GoneEncoder{"Exits", "head -c 200000 | \"$LAME\" \"$@\"", 4.3, 4.7},
        // Freezes after two seconds and never reads again.
        GoneEncoder{"Stalls", "( sleep 2; kill -STOP $$ ) &\nexec \"$LAME\" \"$@\"", 0.5, 1e9}),
    [](const testing::TestParamInfo<GoneEncoder>& info) { return std::string(info.param.name); });

TEST_F(RecordingSafetyTest, LittleRoomIsShownAndTooLittleRefusesTheStart) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    folders.freeBytes = 20 * recording::RecordingBytesPerMinute;
    ui.bRecord->click();
    record(*form, 0.1);
    EXPECT_EQ(ui.lStatus->text(), QStringLiteral("Speicher fast voll: noch 20 Minuten Aufnahme"));
    ui.bStop->click();
    EXPECT_EQ(ui.lStatus->text(), QStringLiteral("Aufnahme wird noch geschrieben …"));
    waitForFinishing(*form);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.lStatus->text().isEmpty(); }, 5000));

    folders.freeBytes = recording::RecordingBytesPerMinute;
    dialogs.clear();
    ui.bRecord->click();
    EXPECT_EQ(dialogs.shown(), QStringList{recording::NoRoomMessage(recordings(), false)});
    expectIdle(*form);
}

TEST_F(RecordingSafetyTest, AFullDiskStopsTheRecordingInTimeAndKeepsWhatWasRecorded) {
    const TmpfsMount volume(folders.root() + QStringLiteral("/klein"), TmpfsMount::Writable,
                            QStringLiteral("2m"));
    if (volume.path.isEmpty())
        GTEST_SKIP() << volume.skipReason.toStdString();
    const QString folder = volume.path + QLatin1Char('/');
    makeEncoderFile(folder + "Max_Muster_2026_12_2_BST.mp3"); // last week's recording
    const QByteArray earlier = checksum(folder + "Max_Muster_2026_12_2_BST.mp3");
    auto form = startRecordingInto(folder);
    Ui::TForm1& ui = form->form();
    ui.bRecord->click();
    record(*form, 0.1);
    EXPECT_EQ(ui.lStatus->text(), QStringLiteral("Speicher fast voll: noch 5 Minuten Aufnahme"));
    dialogs.clear();
    const bool stopped = QTest::qWaitFor(
        [&] {
            record(*form, 0.25);
            return !form->recordingControl().RecordingRequested();
        },
        60000);
    ASSERT_TRUE(stopped);
    EXPECT_EQ(dialogs.shown().value(0), recording::NoRoomMessage(folder, true));
    waitForFinishing(*form);
    EXPECT_EQ(dialogs.shown().value(1), QStringLiteral("Was bis dahin aufgenommen wurde, ist gesichert: ") +
                                            folder + QStringLiteral("Vortrag.mp3"));
    const double seconds = audiotest::decodeMp3(folder + "Vortrag.mp3").size() / 22050.0;
    EXPECT_GT(seconds, 150.0) << "recorded until less than two minutes were left";
    EXPECT_LT(seconds, 250.0);
    EXPECT_EQ(checksum(folder + "Max_Muster_2026_12_2_BST.mp3"), earlier);
}

TEST_F(RecordingSafetyTest, ASilentInputIsShownAfterThirtySecondsUntilTheSignalReturns) {
    std::atomic<bool> silent{true};
    audio.backend->setInputSignal(
        [&](std::uint64_t frame, int) -> std::int16_t { return silent ? 0 : tone(frame); });
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.bRecord->click();
    record(*form, 29.0);
    EXPECT_EQ(ui.lStatus->text(), QString());
    record(*form, 1.5);
    EXPECT_EQ(ui.lStatus->text(), QStringLiteral("Kein Eingangssignal !"));
    letTheEncoderCatchUp(*form);
    silent = false;
    record(*form, 0.2);
    EXPECT_EQ(ui.lStatus->text(), QString());
    ui.bStop->click();
}

TEST_F(RecordingSafetyTest, OldRecordingsOfTheSystemAreDeletedAtTheStartAndOthersStay) {
    makeEncoderFile(recordings() + "Max_Muster_2026_10_1_BST.mp3");
    makeEncoderFile(recordings() + "Max_Muster_2026_11_20_BST.mp3");
    audiotest::makeMp3(recordings() + "fremd.mp3", 22050, 1,
                       audiotest::sine(22050, 1, 22050, [](std::int64_t) { return 440.0; }), 48);
    const auto setWritten = [&](const QString& name, const QDate& day) {
        QFile file(recordings() + name);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(QDateTime(day, QTime(19, 30)), QFileDevice::FileModificationTime);
    };
    setWritten("Max_Muster_2026_10_1_BST.mp3", QDate(2026, 10, 1));
    setWritten("Max_Muster_2026_11_20_BST.mp3", QDate(2026, 11, 20));
    setWritten("fremd.mp3", QDate(2025, 1, 1));
    QStringList settings = fullSettings();
    settings[9] = QStringLiteral("1"); // older than 30 days
    settings[11] = recordings();
    writeFile(settingsFile(), settings);
    auto form = start(); // 9 December: the October recording is older than 30 days
    EXPECT_EQ(mp3Files(), (QStringList{"Max_Muster_2026_11_20_BST.mp3", "fremd.mp3"}));

    form->form().Nie1->trigger();
    EXPECT_EQ(form->settings().DeleteAgeCode, QStringLiteral("0"));
    EXPECT_TRUE(form->form().Nie1->isChecked());
    clock.set(2027, 6, 1);
    form->DeleteOldRecordings();
    EXPECT_EQ(mp3Files().size(), 2) << "never delete";
    form->form().N30Tage1->trigger();
    EXPECT_FALSE(form->form().Nie1->isChecked());
    form->DeleteOldRecordings();
    EXPECT_EQ(mp3Files(), QStringList{"fremd.mp3"});
}
