#include "app/MainWindowFixture.h"
#include "app/music/EveningRun.h"
#include "app/music/MeetingClock.h"
#include "app/music/MusicBlock.h"
#include "app/recording/CaptureControl.h"
#include "app/recording/RecordingFields.h"
#include "app/recording/RecordingFinisher.h"

#include <QLineEdit>
#include <QTest>

namespace {

class MusicBlockTest : public MainWindowFixture {
protected:
    // Songs 1 to 3 of the given lengths in seconds, songs 4 to `count` of one second.
    void makeSongs(const std::array<int, 3>& seconds, int count = 20) {
        const QString folder = makeSongFolder(count);
        for (int n = 1; n <= 3; ++n) {
            const QString path = folder + QStringLiteral("iasn_X_%1.mp3").arg(n, 3, 10, QLatin1Char('0'));
            QFile::remove(path);
            const int frames = 8000 * seconds[static_cast<std::size_t>(n - 1)];
            audiotest::makeMp3(path, 8000, 1,
                               audiotest::sine(8000, 1, frames, [](std::int64_t) { return 440.0; }), 16);
        }
    }
    std::unique_ptr<TForm1> startAt(int hours, int minutes, double seconds = 0) {
        clock.set(2026, 12, 9, hours, minutes);
        clock.advanceSeconds(seconds);
        QStringList settings = fullSettings(); // meetings at 19:30 and 10:00, a shutdown 30 minutes after
        settings[8] = QStringLiteral("0");     // recordings by hand
        settings[15] = languageName;
        writeFile(settingsFile(), settings);
        QDir().mkpath(folders.homeFolder() + QStringLiteral("/Mitschnitte"));
        return start();
    }
    // Types into the list's entry field, in place of what it shows.
    static void typeEntry(TForm1& form, const QString& text) {
        QLineEdit* field = form.form().ComboBox6->lineEdit();
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    static void chooseList(TForm1& form, std::initializer_list<int> numbers) {
        form.form().BitBtn6->click();
        for (int n : numbers) {
            typeEntry(form, QString::number(n));
            QTest::keyClick(form.form().ComboBox6->lineEdit(), Qt::Key_Return);
        }
    }
    static bool isRed(QComboBox* field) { return field->styleSheet().contains("242, 43, 43"); }
    void tickAt(TForm1& form, int hours, int minutes, double seconds) {
        clock.set(2026, 12, 9, hours, minutes);
        clock.advanceSeconds(seconds);
        form.meetingClock().Timer2Timer();
    }
    // Plays `seconds` of audio, ticking the clock every 300 ms of it.
    void play(TForm1& form, double seconds) {
        for (double t = 0; t < seconds; t += 0.3) {
            audio.backend->advance(0.3);
            clock.advanceSeconds(0.3);
            form.meetingClock().Timer2Timer();
        }
    }
    QString form_folder() { return folders.root() + QStringLiteral("/lieder/"); }
    QString languageName;
    bool musicPlays(TForm1& form) {
        return audio.library->ChannelIsActive(form.musicBlock().MusicStream) == AudioLibrary::Playing;
    }
};

} // namespace

TEST_F(MusicBlockTest, TheListStartsSoThatItEndsWhenTheMeetingBegins) {
    makeSongs({150, 160, 170});
    auto form = startAt(19, 0);
    Ui::TForm1& ui = form->form();
    MusicBlock& music = form->musicBlock();
    ui.CheckBox4->setChecked(false);
    chooseList(*form, {1, 2, 3});
    EXPECT_EQ(ui.Label18->text(), "02:30");
    EXPECT_EQ(music.CountdownTotalSeconds(), 500);
    ui.BitBtn5->click();
    EXPECT_EQ(music.MusicState(), MusicBlock::Armed);
    EXPECT_EQ(ui.BitBtn5->text(), "deaktivieren");

    tickAt(*form, 19, 21, 29.9);
    EXPECT_EQ(ui.Label23->text(), "00:00:10") << "10.1 s left";
    tickAt(*form, 19, 21, 30.4);
    EXPECT_EQ(ui.Label23->text(), "00:00:09") << "9.6 s left: the fraction is cut";
    EXPECT_FALSE(ui.Label23->styleSheet().contains("red"));
    tickAt(*form, 19, 21, 30.6);
    EXPECT_TRUE(ui.Label23->styleSheet().contains("red"));
    tickAt(*form, 19, 21, 39.9);
    EXPECT_EQ(music.MusicState(), MusicBlock::Armed);
    tickAt(*form, 19, 21, 40.2);
    EXPECT_EQ(music.MusicState(), MusicBlock::PlayingBefore);
    EXPECT_TRUE(musicPlays(*form));
    EXPECT_TRUE(ui.Label15->styleSheet().contains("blue"));

    play(*form, 151);
    EXPECT_TRUE(ui.Label16->styleSheet().contains("blue"));
    EXPECT_TRUE(ui.Label15->styleSheet().contains("grey"));
    play(*form, 331);
    EXPECT_EQ(music.MusicState(), MusicBlock::Idle) << "after entry 3 the block ends by itself";
    EXPECT_FALSE(musicPlays(*form));
    EXPECT_EQ(form->state().RandomSongPool.RandomPoolCount(), 132) << "the list's songs left the pool";
}

TEST_F(MusicBlockTest, AListSongWhoseFileWentIsPassedOverAndAnEmptyListEndsAtOnce) {
    makeSongs({2, 2, 2});
    auto form = startAt(19, 29, 0);
    Ui::TForm1& ui = form->form();
    MusicBlock& music = form->musicBlock();
    ui.CheckBox4->setChecked(false);
    chooseList(*form, {1, 2});
    ui.BitBtn5->click();
    QFile::remove(form_folder() + "iasn_X_001.mp3");
    dialogs.clear();
    tickAt(*form, 19, 29, 36.1); // 2 + 2 + 20 s before 19:30
    play(*form, 0.6);
    EXPECT_TRUE(musicPlays(*form));
    EXPECT_TRUE(ui.Label16->styleSheet().contains("blue")) << "song 2 plays";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.shown().isEmpty(); }, 5000));
    EXPECT_EQ(dialogs.shown(),
              QStringList{"Die Datei kann nicht gelesen werden, die Hintergrundmusik geht mit "
                          "dem nächsten Lied weiter:\n" +
                          form_folder() + "iasn_X_001.mp3"});
    play(*form, 3);
    EXPECT_EQ(music.MusicState(), MusicBlock::Idle);

    // A list emptied after arming ends at its start.
    chooseList(*form, {3});
    ui.BitBtn5->click();
    music.emptyList();
    tickAt(*form, 19, 29, 40.1);
    EXPECT_EQ(music.MusicState(), MusicBlock::Idle);
    EXPECT_FALSE(musicPlays(*form));
}

TEST_F(MusicBlockTest, TheFillerFitsTheLastSongBeforeTheListAndStopsWhenNoneFits) {
    makeSongs({1, 1, 1});
    // Song 13 as long as the song book says, measured or not.
    const QString thirteen = form_folder() + QStringLiteral("iasn_X_013.mp3");
    QFile::remove(thirteen);
    audiotest::makeMp3(thirteen, 8000, 1,
                       audiotest::sine(8000, 1, 8000 * 199, [](std::int64_t) { return 440.0; }), 16);
    // List: song 1 (1 s), so it must start 21 s before 19:30; 200 s before that is 19:26:19.
    auto form = startAt(19, 26, 19);
    Ui::TForm1& ui = form->form();
    MusicBlock& music = form->musicBlock();
    chooseList(*form, {1});
    ASSERT_TRUE(ui.CheckBox4->isChecked());
    ui.BitBtn5->click();
    EXPECT_TRUE(music.RandomPlayOn);
    EXPECT_TRUE(ui.Label29->text().startsWith("13  ")) << "199 s, the closest below 200 s";
    EXPECT_EQ(form->state().SlotFiles[8], form->songConfig().pfad + "iasn_X_013.mp3");

    ui.BitBtn5->click(); // back to Idle, the filler stops
    EXPECT_FALSE(music.RandomPlayOn);
    // The songs of one second are measured by now: with 1 s left none is shorter.
    ASSERT_TRUE(QTest::qWaitFor([&] { return music.songLengths().measured() == 20; }, 30000));
    clock.set(2026, 12, 9, 19, 29, 38);
    ui.BitBtn5->click();
    EXPECT_FALSE(music.RandomPlayOn) << "1 s left and no song that short";

    // 0.4 s before the list starts no song is drawn: the list would cut it off at once.
    ui.BitBtn5->click();
    clock.set(2026, 12, 9, 19, 29, 38);
    clock.advanceSeconds(0.6);
    ui.BitBtn5->click();
    EXPECT_FALSE(musicPlays(*form));
    EXPECT_FALSE(music.RandomPlayOn);
    EXPECT_EQ(ui.Button9->text(), QStringLiteral("zufällige Wiedergabe"));
}

TEST_F(MusicBlockTest, CheckingRandomDuringTheListStopsItAndALanguageResetsTheBlock) {
    makeSongs({30, 30, 30});
    writeFile(folders.currentFolder() + "/English.lng", {"English", "", "", "a=File"});
    languageName = "Keine";
    auto form = startAt(19, 28, 0);
    Ui::TForm1& ui = form->form();
    MusicBlock& music = form->musicBlock();
    ui.CheckBox4->setChecked(false);
    chooseList(*form, {1, 2, 3});
    ui.BitBtn5->click();
    tickAt(*form, 19, 28, 10.5); // 110 s before 19:30
    ASSERT_EQ(music.MusicState(), MusicBlock::PlayingBefore);
    ui.CheckBox4->setChecked(true);
    EXPECT_FALSE(musicPlays(*form));
    play(*form, 40);
    EXPECT_FALSE(musicPlays(*form)) << "the list does not go on by itself";

    ui.BitBtn5->click(); // PlayingBefore to Idle
    ui.BitBtn5->click(); // Idle to Armed
    ASSERT_EQ(music.MusicState(), MusicBlock::Armed);
    QAction* english = nullptr;
    for (QAction* item : form->NewItem())
        if (item->text() == "English")
            english = item;
    ASSERT_NE(english, nullptr);
    english->trigger();
    EXPECT_EQ(ui.Datei1->title(), "File");
    EXPECT_EQ(music.MusicState(), MusicBlock::Idle);
    EXPECT_EQ(ui.Label15->text(), "---");
    EXPECT_EQ(ui.BitBtn5->text(), "aktivieren");
    EXPECT_FALSE(musicPlays(*form));
}

TEST_F(MusicBlockTest, AfterTheMeetingTheSongsPlayThenRandomOnes) {
    makeSongs({2, 2, 2});
    auto form = startAt(21, 0);
    Ui::TForm1& ui = form->form();
    MusicBlock& music = form->musicBlock();
    ui.CheckBox4->setChecked(false);
    for (auto [box, number] : {std::pair{ui.ComboBox1, 1}, {ui.ComboBox2, 2}, {ui.ComboBox3, 3}})
        box->setEditText(QString::number(number));
    ui.Button3->click(); // Tag 1: the closing song has ended
    EXPECT_EQ(ui.GroupBox5->title(), "Musik nach der Kandolor");
    EXPECT_EQ(music.MusicState(), MusicBlock::AfterReady);
    EXPECT_TRUE(ui.Label17->text().startsWith("3  "));
    ui.BitBtn5->click();
    EXPECT_EQ(music.MusicState(), MusicBlock::PlayingAfter);
    play(*form, 7.5);
    EXPECT_TRUE(music.RandomPlayOn) << "random songs follow the meeting's";
    EXPECT_TRUE(musicPlays(*form));
    EXPECT_FALSE(ui.Label29->text().isEmpty());

    // Reading the songs again sets the block up for the time before the next meeting (none is ahead today).
    ui.Liedereinlesen->trigger();
    EXPECT_EQ(ui.GroupBox5->title(), "Musik vor Kandolorsbeginn 10:00:00");
}

TEST_F(MusicBlockTest, TheShutdownCountdownEndsInOnePowerOffButNotDuringARecording) {
    makeSongs({2, 2, 2});
    auto form = startAt(21, 0);
    Ui::TForm1& ui = form->form();
    ASSERT_TRUE(form->settings().ShutdownEnabled);
    ui.Button3->click();
    EXPECT_TRUE(ui.Shutdown1->isVisible());
    EXPECT_TRUE(ui.shutdowncancel->isVisible());
    EXPECT_EQ(ui.Shutdown1->text(), QString(13, ' ') + "Computer herunterfahren  00:30:00");
    tickAt(*form, 21, 10, 0);
    EXPECT_EQ(ui.Shutdown1->text(), QString(13, ' ') + "Computer herunterfahren  00:20:00");

    ui.bRecord->click();
    ASSERT_TRUE(form->capture().channelActive());
    tickAt(*form, 21, 30, 0);
    EXPECT_EQ(power.calls, 0) << "never while a recording runs";
    EXPECT_TRUE(ui.Shutdown1->text().contains("sobald Aufnahme und Kopien gesichert sind"));
    ui.bStop->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->finisher().busy(); }, 30000));
    tickAt(*form, 21, 30, 1);
    EXPECT_EQ(power.calls, 1);
    EXPECT_EQ(ui.Shutdown1->text(), QString(13, ' ') + "Computer wird nach laufendem Lied heruntergefahren");
    tickAt(*form, 21, 31, 0);
    EXPECT_EQ(power.calls, 1) << "once";

    // A second countdown starts again at the full delay; cancelled, it calls nothing.
    ui.Button3->click();
    EXPECT_EQ(ui.Shutdown1->text(), QString(13, ' ') + "Computer herunterfahren  00:30:00");
    tickAt(*form, 21, 41, 0);
    EXPECT_EQ(ui.Shutdown1->text(), QString(13, ' ') + "Computer herunterfahren  00:20:00");
    form->form().shutdowncancel->trigger();
    EXPECT_FALSE(ui.Shutdown1->isVisible());
    tickAt(*form, 22, 30, 0);
    EXPECT_EQ(power.calls, 1);
}

TEST_F(MusicBlockTest, ARefusedPowerOffIsTold) {
    makeSongs({2, 2, 2});
    power.refusal = "Der Computer wurde nicht heruntergefahren: nicht erlaubt";
    auto form = startAt(21, 0);
    form->form().Button3->click();
    dialogs.clear();
    tickAt(*form, 21, 31, 0);
    EXPECT_EQ(power.calls, 1);
    EXPECT_EQ(dialogs.shown(), QStringList{power.refusal});
    EXPECT_FALSE(form->form().Shutdown1->isVisible());
}

TEST_F(MusicBlockTest, TheOpeningSongIsTheFirstBackgroundSongOnlyWhileItsNumberIsValid) {
    makeSongs({2, 2, 2});
    auto form = startAt(18, 0);
    Ui::TForm1& ui = form->form();
    const auto type = [&](const QString& text) {
        ui.ComboBox1->lineEdit()->selectAll();
        QTest::keyClick(ui.ComboBox1->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(ui.ComboBox1->lineEdit(), text);
    };
    type("7");
    EXPECT_TRUE(ui.Label15->text().startsWith("7  "));
    type("999"); // 9 and 99 on the way
    EXPECT_EQ(ui.Label15->text(), "---") << "not the half-typed 99";
    EXPECT_TRUE(form->state().SlotFiles[5].isEmpty());
    EXPECT_FALSE(ui.BitBtn5->isEnabled());
    type("12");
    EXPECT_TRUE(ui.Label15->text().startsWith("12  "));
    EXPECT_EQ(ui.Label16->text(), "---");
}

TEST_F(MusicBlockTest, TheFillerFitsWithTheLengthsTheSongsReallyHave) {
    makeSongs({1, 1, 1});
    // Song 5 lasts 108 s by the song book's table, its file 30 s; the other songs are one second long.
    const QString five = form_folder() + QStringLiteral("iasn_X_005.mp3");
    QFile::remove(five);
    audiotest::makeMp3(five, 8000, 1, audiotest::sine(8000, 1, 8000 * 30, [](std::int64_t) { return 440.0; }),
                       16);
    // The list (song 1) must start 21 s before 19:30; 35 s before that is 19:29:04.
    auto form = startAt(19, 29, 4);
    Ui::TForm1& ui = form->form();
    MusicBlock& music = form->musicBlock();
    ui.CheckBox4->setChecked(false);
    chooseList(*form, {1});
    ui.BitBtn5->click(); // armed: the songs are measured meanwhile
    ASSERT_TRUE(QTest::qWaitFor([&] { return music.songLengths().measured() == 20; }, 30000));
    EXPECT_EQ(music.songLengths().seconds(5), 30);
    ui.CheckBox4->setChecked(true);
    EXPECT_TRUE(ui.Label29->text().startsWith("5  ")) << ui.Label29->text().toStdString();
}

TEST_F(MusicBlockTest, TheEntryFieldsPickerMarksTheOpeningSongAndOpensBelowTheGroup) {
    makeSongs({2, 2, 2}, 40);
    writeFile(commonFile("Kandolor.txt"), {form_folder(), ".mp3", "474500066", "300"});
    auto form = startAt(18, 0);
    Ui::TForm1& ui = form->form();
    ui.ComboBox1->setEditText("30");
    form->show();
    ui.BitBtn6->click();
    ui.ComboBox6->showPopup();
    QTableWidget* grid = ui.StringGrid1;
    ASSERT_FALSE(grid->isHidden());
    EXPECT_EQ(grid->property("Tag").toInt(), 5030);
    EXPECT_EQ(grid->item(1, 14)->background().color(), QColor(0, 128, 0));
    const QPoint group = ui.GroupBox5->mapTo(form->centralWidget(), QPoint(0, 0));
    EXPECT_EQ(grid->pos(), QPoint(group.x(), group.y() + ui.GroupBox5->height() + 10));
    EXPECT_TRUE(ui.GroupBox4->isHidden()) << "the picker of 300 songs covers the options";
    grid->setCurrentCell(2, 0); // 31
    EXPECT_TRUE(ui.Label15->text().startsWith("31  "));
    EXPECT_TRUE(grid->isHidden());
    EXPECT_FALSE(ui.GroupBox4->isHidden());
}

TEST_F(MusicBlockTest, AWholeEveningOfFillerEndsTheListTwentySecondsBeforeTheMeeting) {
    // 24 songs of 36 s to 189 s, whole seconds each, as the song folder.
    const QString folder = form_folder();
    QDir().mkpath(folder);
    for (int n = 1; n <= 24; ++n) {
        const int seconds = 25 + n * 41 % 170;
        audiotest::makeMp3(folder + QStringLiteral("iasn_X_%1.mp3").arg(n, 3, 10, QLatin1Char('0')), 8000, 1,
                           audiotest::sine(8000, 1, 8000 * seconds, [](std::int64_t) { return 330.0; }), 16);
    }
    writeFile(commonFile("Kandolor.txt"), {folder, ".mp3", "474500066", "24"});
    auto form = startAt(19, 0);
    Ui::TForm1& ui = form->form();
    MusicBlock& music = form->musicBlock();
    chooseList(*form, {4, 9, 17});
    music.seedRandom(7);
    ASSERT_TRUE(ui.CheckBox4->isChecked());
    ui.BitBtn5->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return music.songLengths().measured() == 24; }, 30000));

    const EveningOutcome evening = playEvening(*form, clock, *audio.backend, 19.0 * 3600 + 31 * 60);
    const double meeting = 19.0 * 3600 + 30 * 60;
    std::printf(
        "filler: %d songs, silence before the list %.2f s; list from %+.2f s to %+.2f s of its aims\n",
        evening.fillerSongs, evening.listStart - evening.fillerEnd, evening.listStart - evening.listTarget,
        evening.listEnd - (meeting - 20));
    EXPECT_GE(evening.fillerSongs, 8);
    EXPECT_FALSE(evening.fillerCut) << "the last filler song ends before the list";
    EXPECT_LT(evening.listStart - evening.fillerEnd, 36 + 0.35)
        << "shorter than the shortest song and a tick";
    EXPECT_GE(evening.listStart, evening.listTarget);
    EXPECT_LE(evening.listStart, evening.listTarget + 1.7);
    // Each song change waits for the next tick of 300 ms.
    EXPECT_GE(evening.listEnd, meeting - 20 - 0.05);
    EXPECT_LE(evening.listEnd, meeting - 20 + 1.7 + 2 * 0.3 + 0.05);
    EXPECT_EQ(music.MusicState(), MusicBlock::Idle);
}

TEST_F(MusicBlockTest, TypedNumbersBecomeEntriesOnceCompleteAndANumberOfNoSongTurnsTheFieldRed) {
    makeSongs({2, 2, 2});
    auto form = startAt(18, 0);
    Ui::TForm1& ui = form->form();
    QComboBox* field = ui.ComboBox6;
    ui.BitBtn6->click();
    typeEntry(*form, "1");
    EXPECT_EQ(ui.Label15->text(), "---") << "1 may still become 12";
    QTest::keyClick(field->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(ui.Label15->text().startsWith("1  ")) << ui.Label15->text().toStdString();
    EXPECT_EQ(field->currentText(), "0");
    EXPECT_EQ(field->y(), 34) << "on the next row";
    EXPECT_TRUE(ui.BitBtn5->isEnabled());

    QTest::keyClicks(field->lineEdit(), "14"); // in place of the 0; no song has a number from 140 on
    EXPECT_TRUE(ui.Label16->text().startsWith("14  ")) << ui.Label16->text().toStdString();
    EXPECT_EQ(field->y(), 54);

    typeEntry(*form, "x");
    QTest::keyClick(field->lineEdit(), Qt::Key_Return);
    EXPECT_FALSE(isRed(field)) << "not a number: nothing happens";
    EXPECT_EQ(ui.Label17->text(), "---");
    typeEntry(*form, "136");
    EXPECT_TRUE(isRed(field)) << "136 is no song of 135";
    for (const char* invalid : {"0", "136"}) {
        typeEntry(*form, invalid);
        QTest::keyClick(field->lineEdit(), Qt::Key_Return);
        EXPECT_TRUE(isRed(field)) << invalid;
        EXPECT_EQ(ui.Label17->text(), "---") << invalid;
        EXPECT_EQ(field->y(), 54) << "the row stays for " << invalid;
    }
    typeEntry(*form, "3");
    QTest::keyClick(field->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(ui.Label17->text().startsWith("3  ")) << ui.Label17->text().toStdString();
    EXPECT_FALSE(isRed(field));
    EXPECT_TRUE(field->isHidden()) << "the list is full";
}

TEST_F(MusicBlockTest, TheClocksDrawThatEmptiesThePoolFillsItAgainAtOnce) {
    makeSongs({2, 2, 2}, 3);
    writeFile(commonFile("Kandolor.txt"), {form_folder(), ".mp3", "474500066", "3"});
    auto form = startAt(18, 0);
    Ui::TForm1& ui = form->form();
    const music::RandomPool& pool = form->state().RandomSongPool;
    chooseList(*form, {1});
    ASSERT_TRUE(ui.CheckBox4->isChecked());
    ui.BitBtn5->click(); // armed: the filler draws its first song
    ASSERT_TRUE(form->musicBlock().RandomPlayOn);
    EXPECT_EQ(pool.RandomPoolCount(), 2);
    play(*form, 2.4); // the clock draws the second
    EXPECT_EQ(pool.RandomPoolCount(), 1);
    play(*form, 2.4); // and the third, the last in the pool
    EXPECT_TRUE(musicPlays(*form));
    EXPECT_EQ(pool.RandomPoolCount(), 3) << "filled again by the draw that emptied it";
}

TEST_F(MusicBlockTest, TheBestFitPassesOverASongWithoutAFile) {
    makeSongs({1, 1, 1});
    // Song 13 (199 s in the song book) has no file. The list (song 1) must start 21 s before 19:30; 200 s
    // before that is 19:26:19.
    QFile::remove(form_folder() + "iasn_X_013.mp3");
    auto form = startAt(19, 26, 19);
    Ui::TForm1& ui = form->form();
    chooseList(*form, {1});
    ui.BitBtn5->click();
    EXPECT_TRUE(form->musicBlock().RandomPlayOn) << "another song fits";
    EXPECT_TRUE(musicPlays(*form));
    EXPECT_FALSE(ui.Label29->text().startsWith("13  "));
}

TEST_F(MusicBlockTest, ASongDamagedWhileItPlaysIsToldAndTheListGoesOn) {
    makeSongs({30, 2, 2});
    // At 44.1 kHz little of song 1 is decoded ahead, so its damage shows within seconds.
    const QString damaged = form_folder() + "iasn_X_001.mp3";
    QFile::remove(damaged);
    audiotest::makeMp3(damaged, 44100, 2,
                       audiotest::sine(44100, 2, 44100 * 30, [](std::int64_t) { return 440.0; }));
    auto form = startAt(19, 29, 0);
    Ui::TForm1& ui = form->form();
    ui.CheckBox4->setChecked(false);
    chooseList(*form, {1, 2});
    ui.BitBtn5->click();
    tickAt(*form, 19, 29, 8.1); // 30 + 2 + 20 s before 19:30
    ASSERT_TRUE(musicPlays(*form));
    play(*form, 1);
    QFile file(damaged);
    ASSERT_TRUE(file.resize(file.size() / 10));
    dialogs.clear();
    play(*form, 3.5);
    EXPECT_TRUE(ui.Label16->styleSheet().contains("blue")) << "song 2 follows";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.shown().isEmpty(); }, 5000));
    EXPECT_EQ(dialogs.shown(),
              QStringList{"Die Datei kann nicht gelesen werden, die Hintergrundmusik geht mit "
                          "dem nächsten Lied weiter:\n" +
                          damaged});
}
