#include "app/MainWindowFixture.h"
#include "app/settings/TPagesDlg.h"
#include "ui_TPagesDlg.h"

#include <QRadioButton>

namespace {

class SettingsDialogTest : public MainWindowFixture {
protected:
    // What the dialog showed when it opened.
    struct Seen {
        bool opened = false;
        QString title;
        int page = -1;
        QString tab;
        bool mainWindowVisible = true;
    };
    // The next opening of the dialog: noted, then `act` runs on it (default: "Abbrechen").
    void whenOpened(Seen& seen, std::function<void(TPagesDlg&)> act = {}) {
        dialogs.onModal = [&seen, act](QDialog& shown) {
            auto& dialog = static_cast<TPagesDlg&>(shown);
            seen = {true, dialog.windowTitle(), dialog.form().pagecontrol->currentIndex(),
                    dialog.form().pagecontrol->tabText(dialog.form().pagecontrol->currentIndex()),
                    dialog.parentWidget()->isVisible()};
            if (act)
                act(dialog);
            else
                dialog.form().CancelBtn->click();
            return dialog.result();
        };
    }
    static void ok(TPagesDlg& dialog) { dialog.form().OKBtn->click(); }
    std::unique_ptr<TForm1> startConfigured(QStringList settings) {
        makeSongFolder(3);
        writeFile(settingsFile(), settings);
        return start();
    }
    void openSettings(TForm1& form) { form.form().Einstellungen1->trigger(); }
};

} // namespace

TEST_F(SettingsDialogTest, TheFirstStartWithoutASongFolderOpensOnTheFoldersInGerman) {
    Seen seen;
    whenOpened(seen);
    auto form = start();
    EXPECT_TRUE(seen.opened);
    EXPECT_FALSE(seen.mainWindowVisible);
    EXPECT_EQ(seen.title, "Einstellungen");
    EXPECT_EQ(seen.page, TPagesDlg::Folders);
    EXPECT_EQ(seen.tab, "Verzeichnisse");
    EXPECT_FALSE(form->pagesDialog().form().pagecontrol->isTabVisible(TPagesDlg::Language));
}

TEST_F(SettingsDialogTest, LanguageFilesAndNoLanguageChosenOpenOnTheLanguagePage) {
    writeFile(folders.currentFolder() + "/English.lng", {"English", "", "", "a=File"});
    writeFile(folders.currentFolder() + "/Deutsch.lng", {"Deutsch", "", ""});
    Seen seen;
    whenOpened(seen, [](TPagesDlg& dialog) {
        // The language buttons stand in a column on the page; choosing one and OK applies it.
        QRadioButton* english = dialog.form().TabSheet5->findChildren<QRadioButton*>().at(1);
        EXPECT_EQ(english->text(), "English");
        EXPECT_EQ(english->pos(), QPoint(8, 30));
        english->setChecked(true);
        dialog.form().OKBtn->click();
    });
    auto form = startConfigured(fullSettings());
    EXPECT_EQ(seen.page, TPagesDlg::Language);
    EXPECT_EQ(seen.tab, "Sprache");
    EXPECT_EQ(form->settings().LanguageName, "English");
    EXPECT_EQ(form->form().Datei1->title(), "File");
}

TEST_F(SettingsDialogTest, OkWithoutChangesAppliesEverythingAgain) {
    writeFile(folders.currentFolder() + "/English.lng", {"English", "", "", "a=File"});
    QStringList settings = fullSettings();
    settings[15] = "English";
    auto form = startConfigured(settings);
    Ui::TForm1& ui = form->form();
    ui.Datei1->setTitle("verstellt");
    dialogs.clear();
    // The first meeting of the day (7:00 in the settings... the file says 19:30 and 10:00) has passed.
    clock.set(2026, 12, 9, 12, 0);
    Seen seen;
    whenOpened(seen, ok);
    openSettings(*form);
    EXPECT_EQ(seen.page, TPagesDlg::Folders);
    EXPECT_EQ(ui.Datei1->title(), "File") << "the checked language is applied again";
    EXPECT_TRUE(
        dialogs.shown().contains("Im ausgewählten Verzeichnis befinden sich weniger als 135 Lieder!"));
    EXPECT_EQ(ui.GroupBox5->title(), "Musik vor Kandolorsbeginn 19:30:00");
    EXPECT_EQ(form->settings().MeetingTime1, 19.5 / 24);
}

TEST_F(SettingsDialogTest, ChoicesAreTakenOnlyWithOk) {
    auto form = startConfigured(fullSettings());
    // The settings reader already takes 100 for a 0 in the file; the dialog does the same on its own.
    form->settings().SplitMinutes = 0;
    const QString songFolder = form->songConfig().pfad;
    dialogs.fileAnswers = {"/usr/share/sounds/gong.wav"};
    Seen seen;
    whenOpened(seen, [](TPagesDlg& dialog) {
        EXPECT_TRUE(dialog.form().RadioButton1->isChecked()) << "a saved 0 shows as \"deaktiviert\"";
        dialog.form().SpeedButton3->click();
        EXPECT_EQ(dialog.form().Label6->text(), "/usr/share/sounds/gong.wav");
        dialog.form().CancelBtn->click();
    });
    openSettings(*form);
    EXPECT_TRUE(form->settings().StartMelodyFile.isEmpty());
    EXPECT_EQ(form->settings().SplitMinutes, 0);

    const QString other = folders.root() + "/andere";
    QDir().mkpath(other);
    dialogs.fileAnswers = {other, folders.root() + "/mitschnitte"};
    QDir().mkpath(folders.root() + "/mitschnitte");
    whenOpened(seen, [](TPagesDlg& dialog) {
        dialog.form().SpeedButton1->click();
        dialog.form().SpeedButton2->click();
        dialog.form().pagecontrol->setCurrentIndex(TPagesDlg::MeetingTimes);
        dialog.form().DateTimePicker1->setTime(QTime(19, 30));
        dialog.form().pagecontrol->setCurrentIndex(TPagesDlg::Closing);
        dialog.form().CheckBox4->setChecked(true);
        dialog.form().OKBtn->click();
    });
    openSettings(*form);
    EXPECT_EQ(form->songConfig().pfad, other + "/");
    EXPECT_EQ(form->settings().RecordingFolder, folders.root() + "/mitschnitte/");
    EXPECT_EQ(form->settings().MeetingTime1, 19.5 / 24);
    EXPECT_TRUE(form->settings().ShutdownEnabled);
    EXPECT_EQ(form->settings().SplitMinutes, 100) << "\"deaktiviert\" is saved as 100";
    EXPECT_NE(songFolder, form->songConfig().pfad);
}

TEST_F(SettingsDialogTest, LeavingTheFoldersWithTheMelodyOnAndNoFileAsksForOne) {
    auto form = startConfigured(fullSettings());
    dialogs.clear();
    dialogs.fileAnswers = {"/usr/share/sounds/gong.wav"};
    Seen seen;
    whenOpened(seen, [](TPagesDlg& dialog) {
        dialog.form().CheckBox3->setChecked(true);
        dialog.form().pagecontrol->setCurrentIndex(TPagesDlg::RecordingOptions);
        dialog.form().OKBtn->click();
    });
    openSettings(*form);
    EXPECT_EQ(dialogs.shown().first(), "Melodie Programmbeginn");
    EXPECT_EQ(form->settings().StartMelodyFile, "/usr/share/sounds/gong.wav");
    EXPECT_TRUE(form->settings().StartMelodyOn);
    EXPECT_FALSE(form->form().SpeedButton7->isHidden());
}
