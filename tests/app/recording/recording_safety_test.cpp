#include "app/recording/RecordingFixture.h"
#include "platform/audio/Recorder.h"
#include "recording/EncoderFault.h"
#include "recording/RecordingStatus.h"
#include "support/TmpfsMount.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QElapsedTimer>
#include <QStandardPaths>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

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

// Puts a stand-in for lame first on the search path: a shell script around the real one ($LAME). The
// search path is as before once the returned object is gone.
class StandInEncoder {
public:
    StandInEncoder(const QString& root, const QByteArray& script) : path_(qgetenv("PATH")) {
        const QString bin = root + QStringLiteral("/bin");
        QDir().mkpath(bin);
        QFile file(bin + QStringLiteral("/lame"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "#!/bin/sh\nLAME=" + QFile::encodeName(QStandardPaths::findExecutable(QStringLiteral("lame"))) +
            "\n" + script + "\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        qputenv("PATH", QFile::encodeName(bin) + ':' + path_);
    }
    ~StandInEncoder() { qputenv("PATH", path_); }
    StandInEncoder(const StandInEncoder&) = delete;
    StandInEncoder& operator=(const StandInEncoder&) = delete;

private:
    QByteArray path_;
};

// Takes a little under half a second of audio, finishes its file and exits.
constexpr char ExitsEarly[] = "head -c 20000 | \"$LAME\" \"$@\"";

struct GoneEncoder {
    const char* name;
    const char* script;
    double minSeconds; // the audio the first file holds
    double maxSeconds;
};

class EncoderGoneTest : public RecordingSafetyTest, public testing::WithParamInterface<GoneEncoder> {};

// A new encoder takes over as soon as the old one is found gone: the operator is told at once, the recording
// goes on, and at the stop both parts are finished and named.
TEST_P(EncoderGoneTest, TheRecordingGoesOnInASecondFileAndTheOperatorIsTold) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.Datei->setText(QStringLiteral("Vortrag.mp3"));
    dialogs.clear();
    {
        const StandInEncoder failing(folders.root(), GetParam().script);
        ui.bRecord->click();
    }
    const bool restarted = QTest::qWaitFor(
        [&] {
            record(*form, 0.05);
            return !ui.lStatus->text().isEmpty() || !form->recordingControl().RecordingRequested();
        },
        40000);
    ASSERT_TRUE(restarted);
    EXPECT_EQ(ui.lStatus->text(), recording::EncoderRestartedStatus());
    EXPECT_LE(ui.lStatus->fontMetrics().horizontalAdvance(ui.lStatus->text()), ui.lStatus->width())
        << "the whole line can be read";
    EXPECT_TRUE(form->recordingControl().RecordingRequested()) << "the recording goes on";
    EXPECT_TRUE(dialogs.shown().isEmpty());
    record(*form, 3.0);
    letTheEncoderCatchUp(*form);
    EXPECT_EQ(ui.lStatus->text(), recording::EncoderRestartedStatus());
    ui.bStop->click();
    const double recorded = library().ChannelGetPosition(form->capture().RecordChannel) / 44100.0;
    waitForFinishing(*form);
    expectIdle(*form);
    EXPECT_EQ(mp3Files(), (QStringList{"Vortrag#0.mp3", "Vortrag.mp3"}));
    EXPECT_EQ(
        dialogs.shown(),
        QStringList{QStringLiteral("Der Encoder wurde neu gestartet; die Aufnahme ist in zwei Dateien: ") +
                    recordings() + "Vortrag.mp3 und " + recordings() + "Vortrag#0.mp3"});
    const double first = audiotest::decodeMp3(recordings() + "Vortrag.mp3").size() / 22050.0;
    const double second = audiotest::decodeMp3(recordings() + "Vortrag#0.mp3").size() / 22050.0;
    EXPECT_GE(first, GetParam().minSeconds);
    EXPECT_LE(first, GetParam().maxSeconds);
    EXPECT_GE(first + second, recorded - 0.2) << "nothing lost";
    EXPECT_LE(first + second, recorded + Recorder::RefeedSeconds + 0.2) << "a few seconds in both at most";
    EXPECT_EQ(tagOf("Vortrag#0.mp3").comment, ui.Thema->text()) << "the second part has its tag";
    EXPECT_EQ(tagOf("Vortrag.mp3").comment, ui.Thema->text());
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, EncoderGoneTest,
    testing::Values(GoneEncoder{"Exits", ExitsEarly, 0.35, 0.6},
                    // Freezes after two seconds and never reads again.
                    GoneEncoder{"Stalls", "( sleep 2; kill -STOP $$ ) &\nexec \"$LAME\" \"$@\"", 0.5, 1e9}),
    [](const testing::TestParamInfo<GoneEncoder>& info) { return std::string(info.param.name); });

TEST_F(RecordingSafetyTest, AnEncoderThatFailsAgainWithinAMinuteStopsTheRecordingAndBothPartsAreKept) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.Datei->setText(QStringLiteral("Vortrag.mp3"));
    dialogs.clear();
    const StandInEncoder failing(folders.root(), ExitsEarly);
    ui.bRecord->click();
    const bool stopped = QTest::qWaitFor(
        [&] {
            record(*form, 0.05);
            return !form->recordingControl().RecordingRequested();
        },
        40000);
    ASSERT_TRUE(stopped);
    EXPECT_EQ(dialogs.shown(), QStringList{recording::EncoderFailedAgainMessage()});
    expectIdle(*form);
    waitForFinishing(*form);
    EXPECT_EQ(mp3Files(), (QStringList{"Vortrag#0.mp3", "Vortrag.mp3"}));
    EXPECT_EQ(dialogs.shown().value(1), QStringLiteral("Was bis dahin aufgenommen wurde, ist gesichert: ") +
                                            recordings() + "Vortrag.mp3 und " + recordings() +
                                            "Vortrag#0.mp3");
    EXPECT_GT(audiotest::decodeMp3(recordings() + "Vortrag#0.mp3").size(), 5000u);
}

TEST_F(RecordingSafetyTest, AnEncoderStoppedByADiskFilledMeanwhileIsReportedAsAFullDisk) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.Datei->setText(QStringLiteral("Vortrag.mp3"));
    dialogs.clear();
    {
        const StandInEncoder failing(folders.root(), ExitsEarly);
        ui.bRecord->click();
    }
    record(*form, 0.05); // the room was looked at: enough
    folders.freeBytes = recording::RecordingBytesPerMinute;
    // In step with the wall clock, so that the encoder is found gone long before the next look at the room.
    QElapsedTimer waited;
    waited.start();
    while (form->recordingControl().RecordingRequested() && waited.elapsed() < 20000) {
        record(*form, 0.05);
        QTest::qWait(50);
    }
    ASSERT_FALSE(form->recordingControl().RecordingRequested());
    EXPECT_EQ(dialogs.shown().value(0), recording::NoRoomMessage(recordings(), true));
    waitForFinishing(*form);
    EXPECT_EQ(mp3Files(), QStringList{"Vortrag.mp3"}) << "no new encoder on a full disk";
}

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
