#include "app/MainWindowFixture.h"
#include "app/recordings/TDualListDlg.h"
#include "app/settings/LanguageSwitch.h"
#include "app/settings/TPagesDlg.h"
#include "app/settings/Tinfoform.h"
#include "settings/UiTexts.h"
#include "ui_TPagesDlg.h"

namespace {

class LanguageSwitchTest : public MainWindowFixture {
protected:
    // A language file of the current folder: the header, then the texts as given.
    void language(const QString& name, const QStringList& texts, const QString& code = QString()) {
        writeFile(folders.currentFolder() + QLatin1Char('/') + name + ".lng",
                  QStringList{name, code, QString()} + texts);
    }
    // Started with a song folder and a chosen language, so the settings dialog stays closed.
    std::unique_ptr<TForm1> startWith(const QString& languageName) {
        makeSongFolder(2);
        QStringList settings = fullSettings();
        settings[15] = languageName;
        writeFile(settingsFile(), settings);
        return start();
    }
    static QAction* item(TForm1& form, const QString& name) {
        for (QAction* entry : form.NewItem())
            if (entry->text() == name)
                return entry;
        return nullptr;
    }
};

} // namespace

TEST_F(LanguageSwitchTest, AChosenLanguageChangesTheMainWindowAndTheDialogs) {
    QStringList texts;
    for (int n = 0; n < 20; ++n)
        texts << QStringLiteral("k%1=T%1").arg(n);
    texts[3] = "Beenden=Exit";
    texts[5] = "Titel=a=b";
    language("Teil", texts, "E");
    auto form = startWith("Keine");
    Ui::TForm1& ui = form->form();
    ui.Thema->setText("Etwas anderes");
    item(*form, "Teil")->trigger();

    EXPECT_EQ(ui.Beenden1->text(), "Exit");
    EXPECT_EQ(form->pagesDialog().form().pagecontrol->tabText(TPagesDlg::Closing), "Exit");
    EXPECT_EQ(ui.Einstellungen1->text(), "a=b");
    EXPECT_EQ(ui.GroupBox6->title(), "T12");
    EXPECT_EQ(ui.GroupBox4->title(), "Optionen") << "text 33 is beyond the file";
    EXPECT_EQ(form->state().SongLanguageCode, "E");
    EXPECT_EQ(form->state().pfad_lk, form->songConfig().pfad);
    EXPECT_NE(ui.Thema->text(), "Etwas anderes")
        << "the recording fields are reset to the meeting's defaults";
    EXPECT_EQ(ui.Thema->text(), form->uiTexts().at(UiText::WeekdayPart1));
}

TEST_F(LanguageSwitchTest, APartialLanguageKeepsTheTextsOfTheOneBefore) {
    language("Voll", {"a=Datei A", "b=Liste A", "c=Einlesen A"});
    language("Halb", {"a=Datei B"});
    auto form = startWith("Keine");
    item(*form, "Voll")->trigger();
    item(*form, "Halb")->trigger();
    EXPECT_EQ(form->form().Datei1->title(), "Datei B");
    EXPECT_EQ(form->form().Liederbearbeiten->text(), "Liste A");
    EXPECT_EQ(form->state().SongLanguageCode, "*");
}

TEST_F(LanguageSwitchTest, ALineWithoutEqualsIsToldWithItsPlaceAndTheCaptionsStay) {
    language("Kaputt", {"a=Datei K", "ohne Gleichheitszeichen", "c=Nie"});
    auto form = startWith("Keine");
    dialogs.clear();
    item(*form, "Kaputt")->trigger();
    EXPECT_EQ(dialogs.shown(), QStringList{"Kandolor: Error ! \n" + folders.currentFolder() +
                                           "/Kaputt.lng\nLine 5: \"=\" missing "});
    EXPECT_EQ(form->uiTexts().at(0), "Datei K");
    EXPECT_EQ(form->form().Datei1->title(), "Datei") << "the captions are not updated";
}

TEST_F(LanguageSwitchTest, TheSavedLanguageIsAppliedAtStartWithoutTouchingTheDialogs) {
    language("Teil", {"a=File", "b=Edit", "c=Reload", "d=Exit"});
    auto form = startWith("Teil");
    EXPECT_EQ(form->form().Beenden1->text(), "Exit");
    EXPECT_EQ(item(*form, "Teil")->property("Tag").toInt(), 0);
    // The settings dialog took its texts when it was made, after the start-up.
    EXPECT_EQ(form->pagesDialog().form().pagecontrol->tabText(TPagesDlg::Closing), "Exit");
}

TEST_F(LanguageSwitchTest, TheShippedEnglishAppliesWholeAndTranslatesEveryText) {
    QDir().mkpath(folders.languagesFolder());
    ASSERT_TRUE(QFile::copy(KANDOLOR_SOURCE_DIR "/languages/English.lng",
                            folders.languagesFolder() + "/English.lng"));
    auto form = startWith("Keine");
    QAction* english = item(*form, "English");
    ASSERT_NE(english, nullptr);
    dialogs.clear();
    english->trigger();
    EXPECT_TRUE(dialogs.shown().isEmpty()) << dialogs.shown().join('\n').toStdString();
    const QStringList german = defaultUiTexts();
    // The captions of the first table; the later texts are checked with the shipped files' tests.
    const QSet<int> same = {11, 14, 15, 19, 59};
    for (int n = 0; n < 73; ++n) {
        EXPECT_FALSE(form->uiTexts().at(n).isEmpty()) << n;
        EXPECT_EQ(form->uiTexts().at(n) == german.at(n), same.contains(n))
            << n << " " << german.at(n).toStdString();
    }
    EXPECT_EQ(form->form().Beenden1->text(), "Exit");
    EXPECT_EQ(form->copyDialog().windowTitle(), form->uiTexts().at(UiText::CopyDialogCaption));
    EXPECT_EQ(form->infoform().windowTitle(), form->uiTexts().at(UiText::InfoCaption));
}
