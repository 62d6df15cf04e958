#include "app/MainWindowFixture.h"
#include "app/Settings.h"
#include "app/music/MeetingClock.h"
#include "app/music/MusicBlock.h"
#include "app/playback/Player.h"
#include "app/playback/TransportStrip.h"
#include "app/recording/CaptureControl.h"
#include "app/recording/RecordingControl.h"
#include "app/recording/RecordingFinisher.h"
#include "app/recordings/RecordingCopies.h"
#include "app/recordings/TDualListDlg.h"
#include "app/settings/ShownTexts.h"
#include "platform/MountTableDrives.h"
#include "platform/audio/NullBackend.h"
#include "settings/UiTexts.h"
#include "support/PrivateMounts.h"
#include "support/RecordingTag.h"
#include "ui_TDualListDlg.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <cstdio>

// A whole weekend meeting through the main window: background music before the meeting, the three songs
// with Auto-Rec recording the two parts between them, the finished files copied to two real volumes and by
// the copy dialog to a third, the shutdown countdown after the meeting and the deletion of old recordings at
// the next start. Once on the real audio engine and PulseAudio null sink in real time, once on the null
// backend in virtual time.
namespace {

constexpr double Meeting = 10 * 3600.0; // the weekend meeting at 10:00
constexpr double InputHz = 1000.0;

#define STEP(...) std::printf("[weekend] " __VA_ARGS__), std::printf("\n"), std::fflush(stdout)

class WeekendMeetingTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        clock.set(2026, 12, 12, 9, 59, 30); // Saturday, 30 s before the meeting
        audio.backend->setInputSignal([](std::uint64_t frame, int) {
            return static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * InputHz * frame / 22050.0));
        });
        volumeSkip = enterPrivateMountNamespace();
        if (volumeSkip.isEmpty()) {
            for (const char* label : {"STICK1", "STICK2", "STICK3"}) {
                volumes.push_back(std::make_unique<TestVolume>(
                    mediaRoot.path() + QLatin1Char('/') + QLatin1String(label), TestVolume::Ext4, label));
                if (volumes.back()->path.isEmpty()) {
                    volumeSkip = volumes.back()->skipReason;
                    volumes.clear();
                    break;
                }
            }
        }
        if (volumeSkip.isEmpty()) {
            real = std::make_unique<MountTableDrives>(QStringList{mediaRoot.path()});
            drivesInUse = real.get();
        }
        base_ = clock.current;
        wall_.start();
    }
    // Real time: the clock follows the wall clock from the test's start.
    void syncClock() {
        if (realTime_)
            clock.current = base_ + wall_.elapsed() / 1000.0 / SecondsPerDay;
    }
    // During a talk the room's sound, in real time a 1 kHz tone played into the null sink.
    void speak(double seconds) {
        if (!realTime_)
            return;
        AudioLibrary& lib = library();
        const QString path = mediaRoot.filePath(QStringLiteral("ton%1.mp3").arg(++talks_));
        audiotest::makeMp3(path, 44100, 2,
                           audiotest::sine(44100, 2, static_cast<int>(44100 * seconds),
                                           [](std::int64_t) { return InputHz; }));
        const AudioHandle stream = lib.StreamCreateFile(path);
        ASSERT_NE(stream, 0u);
        ASSERT_TRUE(lib.ChannelPlay(stream, false));
    }
    void runMeeting();
    QString recordings() { return folders.homeFolder() + QStringLiteral("/Aufnahmen/"); }
    double secondsOfDay() { return timePart(clock.now()) * SecondsPerDay; }
    QStringList settingsWith(const QString& deleteAge) {
        QStringList settings = fullSettings(); // meetings at 19:30 and 10:00, Auto-Rec on, shutdown on
        settings[5] = QStringLiteral("100");   // no splitting
        settings[9] = deleteAge;
        settings[11] = recordings();
        settings[14] = QStringLiteral("0");                         // file names: user, date, part
        settings[17] = SettingsFormat::formatReal(1.0 / (24 * 60)); // shutdown one minute after
        settings[15] = language_;
        return settings;
    }
    // Songs 1 to 3 of three seconds (8 kHz mono), the rest of one second.
    void makeSongs() {
        const QString folder = makeSongFolder(135);
        for (int n = 1; n <= 3; ++n) {
            const QString path = folder + QStringLiteral("iasn_X_%1.mp3").arg(n, 3, 10, QLatin1Char('0'));
            QFile::remove(path);
            audiotest::makeMp3(path, 8000, 1,
                               audiotest::sine(8000, 1, 3 * 8000, [](std::int64_t) { return 440.0; }), 16);
        }
    }
    // Runs `seconds`, `each` after every step, until it returns false. In real time the window's own timers
    // tick while the events are processed; in virtual time steps of 50 ms of audio and clock, with the
    // recording tick each step and the player's and the meeting clock's every 300 ms.
    template <typename Each> void run(TForm1& form, double seconds, Each each) {
        if (realTime_) {
            const qint64 until = wall_.elapsed() + static_cast<qint64>(seconds * 1000);
            while (wall_.elapsed() < until) {
                QTest::qWait(10);
                syncClock();
                if (!each())
                    break;
            }
            return;
        }
        const int steps = static_cast<int>(std::lround(seconds / 0.05));
        for (int i = 0; i < steps; ++i) {
            audio.backend->advance(0.05);
            clock.advanceSeconds(0.05);
            ++step_;
            if (form.recordingControl().posTimer().isActive())
                form.recordingControl().PosTimerTimer();
            if (step_ % 6 == 0) {
                if (form.player().timer1().isActive())
                    form.player().Timer1Timer();
                form.meetingClock().Timer2Timer();
            }
            if (!each())
                break;
        }
    }
    void run(TForm1& form, double seconds) {
        run(form, seconds, [] { return true; });
    }
    // Play, then the song to its end (bounded).
    void playSong(TForm1& form) {
        form.player().strip().button(TransportStrip::Play)->click();
        ASSERT_TRUE(form.player().timer1().isActive());
        run(form, 20, [&] { return form.player().timer1().isActive(); });
        ASSERT_FALSE(form.player().timer1().isActive()) << "the song did not end";
    }
    bool allFinished(TForm1& form) { return !form.finisher().busy() && !form.recordingCopies().busy(); }
    void waitForFinishing(TForm1& form) {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                syncClock();
                return allFinished(form);
            },
            60000));
    }
    // As the operator does: the menu's copy dialog, the recordings and the drive selected, "Kopieren".
    void copyWithTheDialog(TForm1& form, const QStringList& names, const QString& drive) {
        dialogs.onModal = [&](QDialog& shown) {
            Ui::TDualListDlg& lists = form.copyDialog().form();
            shown.show(); // its lists are built when it is activated
            shown.activateWindow();
            EXPECT_TRUE(QTest::qWaitFor([&] { return lists.DstList->count() == 3; }, 5000));
            for (QListWidget* list : {lists.SrcList, lists.DstList})
                for (int row = 0; row < list->count(); ++row) {
                    const QString text = list->item(row)->text();
                    list->item(row)->setSelected(names.contains(text) ||
                                                 text.startsWith(drive + QLatin1Char('/')));
                }
            EXPECT_EQ(lists.SrcList->selectedItems().size(), names.size());
            EXPECT_EQ(lists.DstList->selectedItems().size(), 1);
            lists.send->click();
            shown.hide();
            return int(QDialog::Accepted);
        };
        form.form().Kopieren1->trigger();
        dialogs.onModal = nullptr;
        EXPECT_EQ(dialogs.modalShown.last(), uiText(UiText::CopyDialogCaption));
    }
    // The text of entry n before its first placeholder, or after it when it begins with one.
    static QString fixedPart(int n) {
        const QStringList pieces = uiText(n).split(QRegularExpression(QStringLiteral("%[1-9]")));
        return pieces.value(0).isEmpty() ? pieces.value(1) : pieces.value(0);
    }
    static void type(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    // The share of the input's tone against a tone beside it, in the decoded file.
    static double toneRatio(const QString& path, std::size_t* samples) {
        int rate = 0;
        const audiotest::Samples decoded = audiotest::decodeMp3(path, &rate);
        *samples = decoded.size();
        if (decoded.size() < 22050 || rate != 22050)
            return 0;
        return audiotest::tonePower(decoded, 1, 0, 22050, InputHz) /
               std::max(1e-12, audiotest::tonePower(decoded, 1, 0, 22050, 1.5 * InputHz));
    }

    QString volumeSkip;
    QTemporaryDir mediaRoot;
    std::vector<std::unique_ptr<TestVolume>> volumes;
    std::unique_ptr<MountTableDrives> real;
    long step_ = 0;
    bool realTime_ = false;
    // The language chosen in the settings; its file is shipped with the program.
    QString language_;
    std::unique_ptr<AudioLibrary> device_;
    DateTime base_ = 0;
    QElapsedTimer wall_;
    int talks_ = 0;
};

} // namespace

TEST_F(WeekendMeetingTest, OnTheRealDevicesInRealTime) {
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        GTEST_SKIP() << "no private PulseAudio server (PULSE_SERVER unset)";
    qputenv("SDL_AUDIODRIVER", "pulseaudio");
    device_ = createAudioLibrary();
    audioInUse = device_.get();
    realTime_ = true;
    runMeeting();
}

TEST_F(WeekendMeetingTest, OnTheNullBackendInVirtualTime) {
    runMeeting();
}

TEST_F(WeekendMeetingTest, InEnglishEveryTextAndMessageIsFromEnglishLng) {
    QDir().mkpath(folders.languagesFolder());
    ASSERT_TRUE(QFile::copy(KANDOLOR_SOURCE_DIR "/languages/English.lng",
                            folders.languagesFolder() + "/English.lng"));
    language_ = QStringLiteral("English");
    runMeeting();
}

void WeekendMeetingTest::runMeeting() {
    std::printf("[weekend] %s\n", realTime_ ? "real audio engine on the PulseAudio null sink, real time"
                                            : "null audio backend, virtual time");
    // 1. Settings and songs.
    makeSongs();
    QDir().mkpath(recordings());
    writeFile(settingsFile(), settingsWith(QStringLiteral("0")));
    auto form = start();
    Ui::TForm1& ui = form->form();
    MusicBlock& music = form->musicBlock();
    AudioLibrary& engine = library();
    ASSERT_TRUE(ui.autorec->isChecked());
    EXPECT_EQ(form->settings().RecordingFolder, recordings());
    ASSERT_NEAR(timePart(form->state().NextMeetingTime) * SecondsPerDay, Meeting, 0.01);
    for (int slot = 1; slot <= 3; ++slot)
        setSlot(*form, slot, slot);
    if (volumeSkip.isEmpty()) {
        ASSERT_EQ(ui.CheckListBox1->count(), 3);
        for (int row = 0; row < 3; ++row)
            if (!ui.CheckListBox1->item(row)->text().contains(QLatin1String("STICK3")))
                ui.CheckListBox1->item(row)->setCheckState(Qt::Checked);
    }
    STEP("1 settings: meeting %s, Auto-Rec on, shutdown after %s, volumes: %s",
         qPrintable(timeToString(form->state().NextMeetingTime)),
         qPrintable(timeToString(form->settings().ShutdownDelay)),
         volumeSkip.isEmpty() ? "3 ext4, 2 checked" : qPrintable("skipped (" + volumeSkip + ")"));

    // 2. Background music: the opening song as the list, armed without the random filler.
    EXPECT_TRUE(ui.Label15->text().startsWith(QStringLiteral("1  "))) << ui.Label15->text().toStdString();
    ui.CheckBox4->setChecked(false);
    ui.BitBtn5->click();
    ASSERT_EQ(music.MusicState(), MusicBlock::Armed);
    const int total = music.CountdownTotalSeconds();
    EXPECT_EQ(total, 3 + 20);
    double listStart = -1, listEnd = -1;
    const double slack = realTime_ ? 0.5 : 0;      // late timers and the device's latency
    run(*form, Meeting + 1 - secondsOfDay(), [&] { // until the block is back in Idle after the list
        const bool sounding = engine.ChannelIsActive(music.MusicStream) == AudioLibrary::Playing &&
                              engine.ChannelGetPosition(music.MusicStream) < music.MusicLengthBytes;
        if (music.MusicState() == MusicBlock::PlayingBefore) {
            if (listStart < 0)
                listStart = secondsOfDay();
            if (sounding)
                listEnd = secondsOfDay();
        }
        return listStart < 0 || music.MusicState() != MusicBlock::Idle;
    });
    STEP("2 background music: list from %+.2f s to %+.2f s of the meeting (aim %+d s to -20 s), state %d",
         listStart - Meeting, listEnd - Meeting, -total, music.MusicState());
    EXPECT_GE(listStart, Meeting - total);
    EXPECT_LE(listStart, Meeting - total + 1.728 + 0.3 + slack);
    EXPECT_GE(listEnd, Meeting - 20 - 0.05);
    EXPECT_LE(listEnd, Meeting - 20 + 1.728 + 2 * 0.3 + 0.05 + slack);
    EXPECT_EQ(music.MusicState(), MusicBlock::Idle);

    // 3. The songs and the two parts between them.
    EXPECT_FALSE(form->capture().channelActive());
    playSong(*form);
    ASSERT_TRUE(form->capture().channelActive()) << "Auto-Rec starts part 1 after the opening song";
    EXPECT_EQ(form->state().texte[0], QStringLiteral("aufnahme1.mp3"));
    const QString part1 = ui.Datei->text();
    EXPECT_EQ(part1, "Max_Muster_2026_12_12_" + uiText(UiText::WeekendPart1) + ".mp3");
    speak(4);
    run(*form, 4.5);
    STEP("3a opening song ended, part 1 recorded for %s as %s", qPrintable(ui.lpos->text()),
         qPrintable(part1));
    EXPECT_EQ(ui.lpos->text(), QStringLiteral("0:00:04"));

    form->player().strip().button(TransportStrip::Play)->click(); // the middle song
    EXPECT_FALSE(form->capture().channelActive()) << "the middle song stops part 1";
    EXPECT_EQ(form->state().texte[4], part1);
    run(*form, 20, [&] { return form->player().timer1().isActive(); });
    ASSERT_TRUE(form->capture().channelActive()) << "part 2 starts after the middle song";
    EXPECT_EQ(form->state().texte[0], QStringLiteral("aufnahme2.mp3"));
    EXPECT_EQ(ui.Thema->text(), uiText(UiText::WeekendPart2));
    // Part 1 is finished while part 2 records.
    waitForFinishing(*form);
    EXPECT_TRUE(QFile::exists(recordings() + part1));
    EXPECT_FALSE(QFile::exists(recordings() + QStringLiteral("aufnahme1.mp3")));
    const RecordingTag tag1 = readRecordingTag(recordings() + part1);
    STEP("3b middle song: part 1 finished, tag comment '%s' album '%s'", qPrintable(tag1.comment),
         qPrintable(tag1.album));
    EXPECT_EQ(tag1.comment, uiText(UiText::WeekendPart1));
    EXPECT_TRUE(tag1.album.startsWith(QStringLiteral("Kandolor"))) << tag1.album.toStdString();

    // The operator types speaker and topic of part 2 during it.
    type(ui.Redner, QStringLiteral("Hans Meier"));
    type(ui.Thema, QStringLiteral("Glaube"));
    const QString part2 = ui.Datei->text();
    EXPECT_EQ(part2, QStringLiteral("Max_Muster_2026_12_12_Hans Meier_Glaube.mp3"));
    speak(4);
    run(*form, 4.5);
    STEP("3c part 2 recorded for %s as %s", qPrintable(ui.lpos->text()), qPrintable(part2));

    form->player().strip().button(TransportStrip::Play)->click(); // the closing song
    EXPECT_FALSE(form->capture().channelActive()) << "the closing song stops part 2";
    EXPECT_EQ(form->state().texte[4], part2);
    EXPECT_EQ(music.MusicState(), MusicBlock::Idle);
    run(*form, 20, [&] { return form->player().timer1().isActive(); });
    EXPECT_FALSE(form->capture().channelActive()) << "nothing records after the closing song";
    EXPECT_FALSE(form->recordingControl().posTimer().isActive());
    EXPECT_EQ(music.MusicState(), MusicBlock::AfterReady);
    EXPECT_EQ(ui.GroupBox5->title(), uiText(UiText::MusicAfterMeeting));
    EXPECT_TRUE(ui.Label15->text().startsWith(QStringLiteral("1  ")));
    EXPECT_TRUE(ui.Label17->text().startsWith(QStringLiteral("3  ")));
    EXPECT_TRUE(ui.Shutdown1->isVisible());
    const double countdownStart = secondsOfDay();
    STEP("3d closing song ended: music after the meeting ready, '%s'",
         qPrintable(ui.Shutdown1->text().trimmed()));

    // 4. Both recordings finished, tagged, holding the input's tone, and copied.
    waitForFinishing(*form);
    EXPECT_EQ(QDir(recordings()).entryList({QStringLiteral("*.mp3")}, QDir::Files, QDir::Name),
              (QStringList{part2, part1}));
    const RecordingTag tag2 = readRecordingTag(recordings() + part2);
    STEP("4a part 2 finished: title '%s' artist '%s' album '%s' year %u", qPrintable(tag2.title),
         qPrintable(tag2.artist), qPrintable(tag2.album), tag2.year);
    EXPECT_EQ(tag2.title, QStringLiteral("Glaube"));
    EXPECT_EQ(tag2.artist, QStringLiteral("Hans Meier"));
    EXPECT_EQ(tag2.album, QStringLiteral("Kandolor Max_Muster"));
    EXPECT_EQ(tag2.year, 2026u);
    for (const QString& name : {part1, part2}) {
        std::size_t samples = 0;
        const double ratio = toneRatio(recordings() + name, &samples);
        STEP("4b %s: %.2f s decoded, 1 kHz %.0f times the power beside it", qPrintable(name),
             samples / 22050.0, ratio);
        EXPECT_GT(samples, 3u * 22050) << name.toStdString();
        EXPECT_GT(ratio, 50) << name.toStdString();
    }
    if (volumeSkip.isEmpty()) {
        for (const auto& volume : {volumes[0].get(), volumes[1].get()})
            for (const QString& name : {part1, part2}) {
                const QByteArray copy = bytesOf(volume->path + QLatin1Char('/') + name);
                EXPECT_EQ(copy, bytesOf(recordings() + name)) << (volume->path + "/" + name).toStdString();
                STEP("4c copy on %s: %s, %lld bytes, %s", qPrintable(QFileInfo(volume->path).fileName()),
                     qPrintable(name), static_cast<long long>(copy.size()),
                     copy == bytesOf(recordings() + name) ? "identical" : "DIFFERENT");
            }
        EXPECT_TRUE(QDir(volumes[2]->path).entryList({QStringLiteral("*.mp3")}).isEmpty()) << "not checked";
        copyWithTheDialog(*form, {part1, part2}, volumes[2]->path);
        for (const QString& name : {part1, part2}) {
            const QString copy = volumes[2]->path + QLatin1Char('/') + name;
            std::size_t samples = 0;
            const double ratio = toneRatio(copy, &samples);
            STEP("4d copy dialog to STICK3: %s, %s, album '%s', 1 kHz %.0f times the power beside it",
                 qPrintable(name), bytesOf(copy) == bytesOf(recordings() + name) ? "identical" : "DIFFERENT",
                 qPrintable(readRecordingTag(copy).album), ratio);
            EXPECT_EQ(bytesOf(copy), bytesOf(recordings() + name)) << copy.toStdString();
            EXPECT_EQ(readRecordingTag(copy).album, readRecordingTag(recordings() + name).album);
            EXPECT_GT(ratio, 50) << copy.toStdString();
        }
    } else {
        STEP("4c copies skipped: %s", qPrintable(volumeSkip));
    }
    EXPECT_TRUE(dialogs.shown().filter(fixedPart(UiText::CopyFailed)).isEmpty())
        << dialogs.shown().join('\n').toStdString();

    // 5. The countdown ends in one power-off.
    EXPECT_EQ(power.calls, 0);
    double poweredOff = -1;
    run(*form, 90, [&] {
        if (poweredOff < 0 && power.calls > 0)
            poweredOff = secondsOfDay();
        return poweredOff < 0 || secondsOfDay() < poweredOff + 5; // and 5 s more for a second call
    });
    STEP("5 power-off called %d time(s), %.2f s after the closing song", power.calls,
         poweredOff - countdownStart);
    EXPECT_EQ(power.calls, 1);
    EXPECT_GE(poweredOff - countdownStart, 59);
    EXPECT_LE(poweredOff - countdownStart, 61.5);
    EXPECT_TRUE(dialogs.shown().filter(fixedPart(UiText::PowerOffRefused)).isEmpty() &&
                dialogs.shown().filter(fixedPart(UiText::PowerOffNoConnection)).isEmpty())
        << dialogs.shown().join('\n').toStdString();
    // Every text of the window and every message of the meeting is from the table in use.
    const QStringList notFromTable =
        TextsNotFromTable(ShownTexts(*form, NeverShownControls()) + dialogs.shown(), form->uiTexts(),
                          QStringList{"Hans Meier", folders.user, "Max_Muster", "STICK\\d"} + ProgramData());
    EXPECT_TRUE(notFromTable.isEmpty()) << notFromTable.join('\n').toStdString();

    // 6. At the next start a recording past 30 days is deleted and a foreign MP3 stays.
    form.reset();
    const QString old = QStringLiteral("Max_Muster_2026_10_1_Vortrag.mp3");
    ASSERT_TRUE(QFile::copy(recordings() + part1, recordings() + old));
    audiotest::makeMp3(recordings() + "fremd.mp3", 22050, 1,
                       audiotest::sine(22050, 1, 22050, [](std::int64_t) { return 440.0; }), 48);
    for (const auto& [name, day] :
         {std::pair{old, QDate(2026, 10, 1)}, {QStringLiteral("fremd.mp3"), QDate(2025, 1, 1)}}) {
        QFile file(recordings() + name);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime(day, QTime(10, 0)), QFileDevice::FileModificationTime);
    }
    writeFile(settingsFile(), settingsWith(QStringLiteral("1"))); // older than 30 days
    clock.set(2026, 12, 13, 9, 0);
    form = start();
    const QStringList left = QDir(recordings()).entryList({QStringLiteral("*.mp3")}, QDir::Files, QDir::Name);
    STEP("6 next start: %s", qPrintable(left.join(QStringLiteral(", "))));
    EXPECT_EQ(left, (QStringList{part2, part1, QStringLiteral("fremd.mp3")}));
    form.reset();
    STEP("done in %.1f s", wall_.elapsed() / 1000.0);
}
