#include "app/recording/RecordingFixture.h"
#include "app/settings/TPagesDlg.h"
#include "recording/RecordingFolder.h"
#include "recording/RecordingStatus.h"
#include "support/TmpfsMount.h"
#include "ui_TPagesDlg.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStandardPaths>
#include <optional>

namespace {

class RecordingFilesTest : public RecordingFixture {
protected:
    void TearDown() override {
        if (!path_.isEmpty())
            qputenv("PATH", path_);
        files.release();
    }
    // From now on the window's encoder is a shell script around the real lame ($LAME).
    void useEncoderScript(const QByteArray& script) {
        const QString bin = folders.root() + QStringLiteral("/bin");
        QDir().mkpath(bin);
        QFile file(bin + QStringLiteral("/lame"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "#!/bin/sh\nLAME=" + QFile::encodeName(QStandardPaths::findExecutable(QStringLiteral("lame"))) +
            "\n" + script + "\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        path_ = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin) + ':' + path_);
    }
    // The settings dialog opened from the menu, the recording folder chosen there, and OK.
    void chooseRecordingFolder(TForm1& form, const QString& folder) {
        dialogs.fileAnswers = {folder};
        dialogs.onModal = [](QDialog& shown) {
            auto& dialog = static_cast<TPagesDlg&>(shown);
            dialog.form().SpeedButton2->click();
            dialog.form().OKBtn->click();
            return dialog.result();
        };
        form.form().Einstellungen1->trigger();
    }
    // Seconds of audio in the MP3 files of `folder`.
    static double secondsIn(const QString& folder) {
        double seconds = 0;
        for (const QString& name : QDir(folder).entryList({QStringLiteral("*.mp3")}, QDir::Files))
            seconds += audiotest::decodeMp3(folder + name).size() / 22050.0;
        return seconds;
    }

private:
    QByteArray path_;
};

} // namespace

// The temporary file is synced about every five seconds of recording, and at the finishing the file and
// its folder before the rename and after the tag.
TEST_F(RecordingFilesTest, ARecordingIsSyncedEveryFiveSecondsAndAroundItsRename) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.Datei->setText(QStringLiteral("Vortrag.mp3"));
    ui.bRecord->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(recordings() + "aufnahme1.mp3"); }, 10000));
    record(*form, 0.05); // the tick opens the encoder's file
    EXPECT_EQ(files.dataSyncsStarted(), 0);
    for (int step = 1; step <= 6; ++step) {
        record(*form, 5.0);
        // The sync runs on a thread of its own; one still running is not started again.
        EXPECT_TRUE(QTest::qWaitFor([&] { return files.dataSyncs() == step; }, 10000)) << step;
    }
    record(*form, 1.0);
    QTest::qWait(100);
    EXPECT_EQ(files.dataSyncsStarted(), 6) << "one sync every five seconds";
    EXPECT_TRUE(files.fileSyncs().isEmpty()) << "nothing else synced while recording";
    ui.bStop->click();
    waitForFinishing(*form);
    EXPECT_EQ(files.fileSyncs(), QStringList({recordings() + "aufnahme1.mp3", recordings() + "Vortrag.mp3"}));
    EXPECT_EQ(files.folderSyncs(), QStringList({recordings(), recordings()}));
}

// A disk that hangs in a sync holds up neither the recording tick nor the stop; no second sync is started
// while the first one waits.
TEST_F(RecordingFilesTest, ASyncThatHangsNeverHoldsUpTheWindow) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.bRecord->click();
    record(*form, 1.0);
    files.hang();
    QElapsedTimer timer;
    timer.start();
    record(*form, 16.0);
    EXPECT_LT(timer.elapsed(), 20000) << "the tick waited for the disk (a sync waits 30 s)";
    EXPECT_EQ(files.dataSyncsStarted(), 1);
    EXPECT_EQ(files.dataSyncs(), 0);
    files.release();
    ui.bStop->click();
    waitForFinishing(*form);
    EXPECT_EQ(files.dataSyncs(), 1);
}

struct Vanishing {
    const char* name;
    bool canBeMadeAgain; // else a file stands where the folder's parent was
    bool unmounted;      // the folder's volume is unmounted rather than the folder removed
};

class VanishedFolderTest : public RecordingFilesTest, public testing::WithParamInterface<Vanishing> {};

// The recording folder is removed six seconds into a recording: the operator is told at once, the
// recording goes on into a new file in the folder made again (or the default recording folder), what was
// written before is copied out of the file the program holds, and every second recorded is in a file.
TEST_P(VanishedFolderTest, TheRecordingGoesOnAndEverySecondIsKept) {
    const QString stick = folders.root() + QStringLiteral("/stick");
    const QString folder = stick + QStringLiteral("/Aufnahmen/");
    std::optional<TmpfsMount> volume;
    if (GetParam().unmounted) {
        volume.emplace(stick, TmpfsMount::Writable, QStringLiteral("8m"));
        if (volume->path.isEmpty())
            GTEST_SKIP() << volume->skipReason.toStdString();
    }
    auto form = startRecordingInto(folder);
    Ui::TForm1& ui = form->form();
    ui.bRecord->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(folder + "aufnahme1.mp3"); }, 10000));
    record(*form, 6.0);
    if (GetParam().unmounted)
        ASSERT_TRUE(volume->unmount());
    else
        ASSERT_TRUE(QDir(stick).removeRecursively());
    if (!GetParam().canBeMadeAgain)
        ASSERT_TRUE(QFile(stick).open(QIODevice::WriteOnly));
    const QString target = GetParam().canBeMadeAgain ? folder : recordings();
    dialogs.clear();
    record(*form, 6.0);
    EXPECT_EQ(dialogs.shown(),
              QStringList{recording::FolderGoneMessage(folder, target, GetParam().canBeMadeAgain)})
        << dialogs.shown().join('|').toStdString();
    EXPECT_EQ(ui.lStatus->text(), recording::FolderGoneStatus(target));
    EXPECT_TRUE(form->capture().channelActive()) << "the recording goes on";
    EXPECT_EQ(form->settings().RecordingFolder, GetParam().canBeMadeAgain ? folder : recordings());
    record(*form, 6.0);
    EXPECT_EQ(ui.lStatus->text(), recording::FolderGoneStatus(target));
    letTheEncoderCatchUp(*form);
    ui.bStop->click();
    waitForFinishing(*form);
    EXPECT_EQ(QDir(target).entryList({QStringLiteral("*.mp3")}, QDir::Files, QDir::Name),
              QStringList({"Vortrag#0.mp3", "Vortrag.mp3"}));
    // The decoder's count includes the encoder's padding at the end of each file.
    EXPECT_GE(secondsIn(target), 18.0) << "every second recorded is in a file";
    EXPECT_LE(secondsIn(target), 18.5);
    EXPECT_TRUE(dialogs.shown().contains(QStringLiteral("Was bis dahin aufgenommen wurde, ist gesichert: ") +
                                         target + QStringLiteral("Vortrag.mp3")))
        << dialogs.shown().join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Folders, VanishedFolderTest,
                         testing::Values(Vanishing{"MadeAgain", true, false},
                                         Vanishing{"DefaultFolder", false, false},
                                         Vanishing{"VolumeUnmounted", true, true}),
                         [](const testing::TestParamInfo<Vanishing>& info) {
                             return std::string(info.param.name);
                         });

// The message about the vanished folder stays open as long as the operator leaves it: the recording that
// goes on keeps its tick (time, level, syncs, splits) meanwhile, and its status line fits its label.
TEST_F(RecordingFilesTest, TheRecordingTicksOnWhileTheOperatorReadsAboutTheVanishedFolder) {
    const QString stick = folders.root() + QStringLiteral("/stick");
    const QString folder = stick + QStringLiteral("/Aufnahmen/");
    auto form = startRecordingInto(folder);
    Ui::TForm1& ui = form->form();
    ui.bRecord->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(folder + "aufnahme1.mp3"); }, 10000));
    record(*form, 6.0);
    ASSERT_TRUE(QDir(stick).removeRecursively());
    int ticksWhileOpen = -1;
    dialogs.onMessage = [&](const QString&) {
        int ticks = 0;
        const QMetaObject::Connection counting =
            QObject::connect(&form->recordingControl().posTimer(), &QTimer::timeout, [&] { ++ticks; });
        QTest::qWait(400);
        QObject::disconnect(counting);
        ticksWhileOpen = ticks;
    };
    // The window's own timer drives the recording from here on.
    for (int i = 0; i < 200 && ticksWhileOpen < 0; ++i) {
        audio.backend->advance(0.1);
        QTest::qWait(20);
    }
    dialogs.onMessage = nullptr;
    EXPECT_GE(ticksWhileOpen, 3) << "the tick waited for the message to be closed";
    EXPECT_TRUE(form->capture().channelActive());
    EXPECT_LE(ui.lStatus->fontMetrics().horizontalAdvance(ui.lStatus->text()), ui.lStatus->width())
        << ui.lStatus->text().toStdString();
    ui.bStop->click();
    waitForFinishing(*form);
}

// A recording folder chosen in the settings while a recording runs takes the next recording; the running
// one is finished in its own folder with its name and tag.
TEST_F(RecordingFilesTest, ChangingTheFolderDuringARecordingFinishesItWhereItWasRecorded) {
    const QString first = folders.root() + QStringLiteral("/erste/");
    const QString second = folders.root() + QStringLiteral("/zweite");
    QDir().mkpath(second);
    auto form = startRecordingInto(first);
    Ui::TForm1& ui = form->form();
    ui.bRecord->click();
    ui.Thema->clear();
    QTest::keyClicks(ui.Thema, QStringLiteral("Freude"));
    record(*form, 2.0);
    chooseRecordingFolder(*form, second);
    ASSERT_EQ(form->settings().RecordingFolder, second + QLatin1Char('/'));
    record(*form, 1.0);
    const QString name = ui.Datei->text();
    ui.bStop->click();
    waitForFinishing(*form);
    EXPECT_EQ(QDir(first).entryList(QDir::Files), QStringList{name});
    EXPECT_EQ(readRecordingTag(first + name).title, QStringLiteral("Freude"));
    EXPECT_TRUE(QDir(second).isEmpty());

    ui.bRecord->click();
    record(*form, 1.0);
    ui.bStop->click();
    waitForFinishing(*form);
    EXPECT_EQ(QDir(second).entryList(QDir::Files).size(), 1) << "the next recording goes to the new folder";
}

// A folder with a blank is taken in the settings without a warning, and gets the recording.
TEST_F(RecordingFilesTest, AFolderWithABlankIsTakenInTheSettingsAndRecordedInto) {
    const QString folder = folders.root() + QStringLiteral("/Meine Aufnahmen");
    QDir().mkpath(folder);
    auto form = start();
    Ui::TForm1& ui = form->form();
    dialogs.clear();
    chooseRecordingFolder(*form, folder);
    EXPECT_EQ(dialogs.shown().filter(QStringLiteral("Ordner")), QStringList())
        << dialogs.shown().join('|').toStdString();
    EXPECT_EQ(form->settings().RecordingFolder, folder + QLatin1Char('/'));
    ui.Datei->setText(QStringLiteral("Vortrag.mp3"));
    ui.bRecord->click();
    record(*form, 1.0);
    ui.bStop->click();
    waitForFinishing(*form);
    EXPECT_GT(audiotest::decodeMp3(folder + QStringLiteral("/Vortrag.mp3")).size(), 20000u);
}

// After the stop the status line says that the recording is still being written until its slow encoder
// has finished it.
TEST_F(RecordingFilesTest, AStoppedRecordingStillBeingWrittenIsShown) {
    useEncoderScript("\"$LAME\" \"$@\"\nsleep 2");
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.Datei->setText(QStringLiteral("Vortrag.mp3"));
    ui.bRecord->click();
    record(*form, 2.0);
    ui.bStop->click();
    QTest::qWait(1000);
    EXPECT_TRUE(form->finisher().busy());
    EXPECT_EQ(ui.lStatus->text(), QStringLiteral("Aufnahme wird noch geschrieben …"));
    waitForFinishing(*form);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.lStatus->text().isEmpty(); }, 5000));
    EXPECT_EQ(mp3Files(), QStringList{"Vortrag.mp3"});
}

// A recording folder in the settings file that cannot be made (a NUL byte in a damaged file) is replaced
// by the default recording folder once, and the operator told; the next start says nothing.
TEST_F(RecordingFilesTest, ARecordingFolderThatCannotBeMadeFallsBackToTheDefaultOnce) {
    QStringList settings = fullSettings();
    const QString damaged = folders.root() + QStringLiteral("/Auf") + QChar(0) + QStringLiteral("nahmen/");
    settings[11] = damaged;
    writeFile(settingsFile(), settings);
    auto form = start();
    EXPECT_EQ(dialogs.shown().filter(QStringLiteral("Aufnahme-Ordner")),
              QStringList{recording::FolderFallbackMessage(damaged, recordings())});
    EXPECT_EQ(form->settings().RecordingFolder, recordings());
    EXPECT_TRUE(form->close());
    form.reset();

    dialogs.clear();
    auto again = start();
    EXPECT_EQ(dialogs.shown().filter(QStringLiteral("Aufnahme-Ordner")), QStringList());
    EXPECT_EQ(again->settings().RecordingFolder, recordings());
}

// A line end pasted into the topic never reaches the file name.
TEST_F(RecordingFilesTest, ControlCharactersPastedIntoTheTopicLeaveTheFileName) {
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.Thema->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("Freude\nim\tHerrn"));
    ui.Thema->setFocus();
    QTest::keyClick(ui.Thema, Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(ui.Thema->text().startsWith(QStringLiteral("Freude")));
    EXPECT_EQ(ui.Datei->text(), QStringLiteral("Max_Muster_2026_12_9__FreudeimHerrn.mp3"));
}

// The encoder inherits none of the program's files: a song open and playing does not keep its volume
// busy for as long as the recording runs.
TEST_F(RecordingFilesTest, TheEncoderInheritsNoFileOfTheProgram) {
    const QString songs = makeSongFolder(1);
    const QString listing = folders.root() + QStringLiteral("/descriptors.txt");
    useEncoderScript("ls -l /proc/$$/fd > '" + QFile::encodeName(listing) + "'\nexec \"$LAME\" \"$@\"");
    auto form = start();
    Ui::TForm1& ui = form->form();
    setSlot(*form, 1, 1);
    form->player().strip().button(TransportStrip::Play)->click();
    ASSERT_TRUE(form->player().timer1().isActive()) << "the song plays";
    ui.bRecord->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(listing).size() > 0; }, 10000));
    ui.bStop->click();
    waitForFinishing(*form);
    QFile file(listing);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts).mid(1);
    ASSERT_FALSE(lines.isEmpty());
    for (const QString& line : lines) {
        const QString target = line.section(QStringLiteral(" -> "), 1);
        // Its standard channels, the script the shell reads and the listing.
        EXPECT_TRUE(target.startsWith(QStringLiteral("pipe:")) || target == QStringLiteral("/dev/null") ||
                    target == folders.root() + QStringLiteral("/bin/lame") || target == listing)
            << line.toStdString();
    }
}
