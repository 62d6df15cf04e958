#include "MainWindowFixture.h"

#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

const QString NoSongFolder = QStringLiteral("Es ist noch kein Verzeichnis der Lieder eingestellt !");
const QString RecordingNotice =
    QStringLiteral("Informationen: Wichtiger Hinweis zur Aufnahme !\n\nErst Kabel für "
                   "Aufnahme am Laptop einstecken,\ndann mit OK bestätigen !");

using MainWindowTest = MainWindowFixture;

} // namespace

TEST_F(MainWindowTest, FirstStartCreatesFoldersAndFilesAndOpensInTheBigButtonsView) {
    auto form = start();
    EXPECT_TRUE(QDir(folders.commonDataFolder() + "/Kandolor").exists());
    EXPECT_TRUE(QDir(folders.userDataFolder() + "/Kandolor").exists());
    EXPECT_TRUE(QDir(folders.homeFolder() + "/Aufnahmen").exists());
    EXPECT_EQ(form->settings().RecordingFolder, folders.homeFolder() + "/Aufnahmen/");
    EXPECT_EQ(form->state().user, QStringLiteral("Max_Muster"));
    EXPECT_EQ(TextFile::readLines(commonFile("Kandolor.txt")),
              (QStringList{QString(), QString(), QStringLiteral("474636566"), QStringLiteral("135")}));
    EXPECT_FALSE(QFile::exists(settingsFile()));

    const QStringList shown = dialogs.shown();
    ASSERT_GE(shown.size(), 2);
    EXPECT_EQ(shown.at(0), NoSongFolder);
    EXPECT_EQ(shown.at(1), RecordingNotice);

    Ui::TForm1& ui = form->form();
    EXPECT_TRUE(ui.grSchalt->isChecked());
    EXPECT_FALSE(ui.BitBtn3->isHidden());
    EXPECT_TRUE(ui.MediaPlayer1->isHidden());
    ui.grSchalt->trigger(); // the menu switches to the normal view
    EXPECT_FALSE(ui.grSchalt->isChecked());
    EXPECT_TRUE(ui.BitBtn3->isHidden());
    EXPECT_FALSE(ui.MediaPlayer1->isHidden());
    EXPECT_EQ(ui.Panel2->y(), 120);
    ui.grSchalt->trigger();
    EXPECT_TRUE(ui.grSchalt->isChecked());
    EXPECT_EQ(ui.Panel2->y(), 136);
    for (QAction* age : {ui.N30Tage1, ui.N60Tage1, ui.N90Tage1, ui.Nie1})
        EXPECT_FALSE(age->isChecked());
    EXPECT_TRUE(ui.Nein1->isChecked());
    EXPECT_TRUE(ui.Nein->isChecked());
    EXPECT_TRUE(ui.RadioButton3->isChecked());
    EXPECT_EQ(ui.Label27->text(), QStringLiteral("50"));
    EXPECT_EQ(ui.GroupBox5->title(), QStringLiteral("Musik vor Kandolorsbeginn 00:00:00"));
    EXPECT_EQ(ui.BitBtn4->text(), QStringLiteral("Aufnahme"));
    EXPECT_EQ(form->settings().ShutdownDelay, 1.0 / 72);
    EXPECT_EQ(form->songConfig().SongFileExt, QStringLiteral(".mp3"));
    EXPECT_EQ(form->state().TodayWeekday, 4);
    EXPECT_EQ(ui.StringGrid1->rowCount(), 9);
    EXPECT_EQ(ui.StringGrid1->height(), 150);
    EXPECT_EQ(ui.StringGrid1->item(8, 14)->text(), QStringLiteral("135"));
    EXPECT_EQ(form->state().PickerFullRows, 9);
    EXPECT_EQ(form->state().PickerLastRowCells, 0);
}

TEST_F(MainWindowTest, SettingsSurviveAStartAndAClose) {
    writeFile(settingsFile(), fullSettings());
    writeFile(commonFile("Kandolor.txt"), {folders.root() + "/lieder/", QStringLiteral(".mp3"),
                                           QStringLiteral("474500066"), QStringLiteral("140")});
    auto form = start();
    Ui::TForm1& ui = form->form();
    EXPECT_EQ(form->height(), 700);
    EXPECT_EQ(form->width(), 900);
    EXPECT_FALSE(ui.grSchalt->isChecked());
    EXPECT_TRUE(ui.autorec->isChecked());
    EXPECT_TRUE(ui.AutoAufnahme1->isChecked());
    EXPECT_FALSE(ui.BitBtn4->isEnabled());
    EXPECT_TRUE(ui.N90Tage1->isChecked());
    EXPECT_TRUE(ui.N20min->isChecked());
    EXPECT_NEAR(form->state().NextMeetingTime, timeOfDay(10, 0), 1e-12);
    EXPECT_EQ(ui.GroupBox5->title(), QStringLiteral("Musik vor Kandolorsbeginn 10:00:00"));
    EXPECT_EQ(form->state().pfad_lk, folders.root() + "/lieder/");
    EXPECT_EQ(ui.StringGrid1->rowCount(), 10);
    EXPECT_EQ(ui.StringGrid1->item(9, 4)->text(), QStringLiteral("140"));
    EXPECT_EQ(ui.StringGrid1->item(9, 5), nullptr);
    EXPECT_EQ(form->state().PickerFullRows, 9);
    EXPECT_EQ(form->state().PickerLastRowCells, 5);
    EXPECT_FALSE(dialogs.shown().contains(NoSongFolder));

    form->Beenden1Click();
    EXPECT_EQ(TextFile::readLines(settingsFile()), fullSettings());
    EXPECT_EQ(TextFile::readLines(commonFile("Kandolor.txt")).at(3), QStringLiteral("140"));
}

TEST_F(MainWindowTest, BigButtonsViewAndResizedWindowAreSavedAtClose) {
    QStringList lines = fullSettings();
    lines[7] = QStringLiteral("1");
    writeFile(settingsFile(), lines);
    auto form = start();
    EXPECT_TRUE(form->form().grSchalt->isChecked());
    form->resize(900, 700);
    form->form().grSchalt->trigger();
    form->form().grSchalt->trigger();
    form->close();
    const QStringList saved = TextFile::readLines(settingsFile());
    EXPECT_EQ(saved.at(0), QStringLiteral("700"));
    EXPECT_EQ(saved.at(1), QStringLiteral("900"));
    EXPECT_EQ(saved.at(7), QStringLiteral("1"));
}

TEST_F(MainWindowTest, LegacySongConfigurationIsReadAndOnlyWrittenAsTheNewFileAtClose) {
    writeFile(commonFile("Kandolor.ini"),
              {folders.root() + "/alt/", QStringLiteral(".mpeg"), QStringLiteral("4711")});
    auto form = start();
    EXPECT_EQ(form->songConfig().pfad, folders.root() + "/alt/");
    EXPECT_EQ(form->songConfig().SongFileExt, QStringLiteral(".mpe"));
    EXPECT_EQ(form->songConfig().liedanzahl, 135);
    EXPECT_FALSE(QFile::exists(commonFile("Kandolor.txt")));
    form->close();
    EXPECT_EQ(TextFile::readLines(commonFile("Kandolor.txt")),
              (QStringList{folders.root() + "/alt/", QStringLiteral(".mpe"), QStringLiteral("4711"),
                           QStringLiteral("135")}));
    EXPECT_EQ(TextFile::readLines(commonFile("Kandolor.ini")).size(), 3);
}

TEST_F(MainWindowTest, ClosingWithoutSavingChangesNoFile) {
    writeFile(settingsFile(), fullSettings());
    auto form = start();
    const QByteArray settingsBefore = bytesOf(settingsFile());
    const QByteArray songsBefore = bytesOf(commonFile("Kandolor.txt"));
    form->resize(640, 480);
    form->show();
    form->Beendenohnespeichern1Click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(bytesOf(settingsFile()), settingsBefore);
    EXPECT_EQ(bytesOf(commonFile("Kandolor.txt")), songsBefore);
}

TEST_F(MainWindowTest, AFileThatCannotBeWrittenKeepsTheWindowOpen) {
    auto form = start();
    form->show();
    const QByteArray songsBefore = bytesOf(commonFile("Kandolor.txt"));
    QDir().mkpath(settingsFile()); // a folder where the settings file belongs
    dialogs.clear();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown().at(0).startsWith(QStringLiteral("E/A-Fehler")));
    EXPECT_EQ(bytesOf(commonFile("Kandolor.txt")), songsBefore)
        << "the song configuration waits for the settings";

    QDir().rmdir(settingsFile());
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(QFile::exists(settingsFile()));
}

TEST_F(MainWindowTest, ABadSettingsLineIsShownAndStartUpGoesOn) {
    QStringList lines = fullSettings();
    lines[2] = QStringLiteral("laut");
    writeFile(settingsFile(), lines);
    auto form = start();
    const QStringList shown = dialogs.shown();
    EXPECT_TRUE(shown.contains(QStringLiteral("''laut'' ist kein gültiger Integer-Wert")));
    EXPECT_TRUE(shown.contains(RecordingNotice));
    EXPECT_EQ(form->height(), 700);
    EXPECT_EQ(form->form().Label27->text(), QStringLiteral("50"));
    EXPECT_TRUE(form->form().grSchalt->isChecked()) << "line 8 was never read: first-start view";
}

TEST_F(MainWindowTest, LanguageFilesBecomeMenuItemsAndHiddenRadioButtons) {
    writeFile(folders.currentFolder() + "/b.lng", {QStringLiteral("English (a rather long name)"), "", ""});
    writeFile(folders.currentFolder() + "/A.lng", {QStringLiteral("Deutsch"), "", ""});
    writeFile(folders.currentFolder() + "/c.LNG", {QStringLiteral("Français"), "", ""});
    writeFile(folders.currentFolder() + "/readme.txt", {QStringLiteral("no language")});
    // A song folder and a chosen language: the settings dialog does not open by itself.
    makeSongFolder(1);
    QStringList settings = fullSettings();
    settings[15] = QStringLiteral("Deutsch");
    writeFile(settingsFile(), settings);
    auto form = start();
    EXPECT_TRUE(dialogs.modalShown.isEmpty());
    EXPECT_EQ(form->state().LanguageCount, 3);
    ASSERT_EQ(form->NewItem().size(), 3u);
    EXPECT_EQ(form->NewItem()[0]->text(), QStringLiteral("Deutsch"));
    EXPECT_EQ(form->NewItem()[1]->text(), QStringLiteral("English (a rather long name)"));
    const QFontMetrics metrics = form->fontMetrics();
    int widest = 0;
    for (int i = 0; i < 3; ++i) {
        const QRadioButton* button = form->NewButton()[i];
        EXPECT_EQ(button->y(), i * 10);
        EXPECT_TRUE(button->isHidden());
        EXPECT_EQ(form->NewItem()[i]->property("Tag").toInt(), 0);
        widest = std::max(widest, metrics.horizontalAdvance(button->text()));
    }
    EXPECT_EQ(form->NewButton()[0]->property("Tag").toInt(), widest);
    EXPECT_TRUE(form->form().Sprache1->menuAction()->isVisible());
}

TEST_F(MainWindowTest, TheInformationMenuShowsTheInformationWindow) {
    auto form = start();
    dialogs.modalShown.clear();
    form->form().Info1->trigger();
    EXPECT_EQ(dialogs.modalShown, QStringList{QStringLiteral("Informationen")});
}
