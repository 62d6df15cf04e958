#include "app/MainWindowFixture.h"
#include "app/settings/TPagesDlg.h"
#include "settings/UiTexts.h"
#include "ui_TPagesDlg.h"

#include <QRadioButton>
#include <QTest>

namespace {

// The demo set-up: a song folder and the languages Kandolor ships, no settings file yet.
class ShippedLanguagesTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        QDir().mkpath(folders.languagesFolder());
        for (const char* name : {"Deutsch.lng", "English.lng"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(KANDOLOR_SOURCE_DIR "/languages/") + QLatin1String(name),
                                    folders.languagesFolder() + QLatin1Char('/') + QLatin1String(name)));
        makeSongFolder(3);
    }
    // Starts, then closes as the operator does, which saves the settings.
    void startAndClose() {
        auto form = start();
        form->close();
    }
    static QRadioButton* languageButton(TPagesDlg& dialog, const QString& name) {
        for (QRadioButton* button : dialog.form().TabSheet5->findChildren<QRadioButton*>())
            if (button->text() == name)
                return button;
        return nullptr;
    }
    // The next openings of the settings dialog: shown, `act` clicks in it, then it is closed by the button
    // `act` returns.
    void whenOpened(std::function<QPushButton*(TPagesDlg&)> act) {
        dialogs.onModal = [act](QDialog& shown) {
            auto& dialog = static_cast<TPagesDlg&>(shown);
            dialog.show();
            QTest::mouseClick(act(dialog), Qt::LeftButton);
            return dialog.result();
        };
    }
    void openSettings(TForm1& form) { form.form().Einstellungen1->trigger(); }
};

} // namespace

TEST_F(ShippedLanguagesTest, AFirstStartAsksForTheLanguageOnceAndOkSettlesItForGood) {
    int page = -1;
    whenOpened([&page](TPagesDlg& dialog) {
        page = dialog.form().pagecontrol->currentIndex();
        QRadioButton* german = languageButton(dialog, "Deutsch");
        EXPECT_TRUE(german && german->isChecked()) << "the language shown is the one ticked";
        return dialog.form().OKBtn;
    });
    startAndClose();
    EXPECT_EQ(dialogs.modalShown, QStringList{"Einstellungen"});
    EXPECT_EQ(page, TPagesDlg::Language);

    for (int run = 0; run < 5; ++run) {
        dialogs.modalShown.clear();
        auto form = start();
        EXPECT_TRUE(dialogs.modalShown.isEmpty()) << "start " << run;
        EXPECT_EQ(form->settings().LanguageName, "Deutsch");
        EXPECT_EQ(form->form().Beenden1->text(), "Beenden");
        form->close();
    }
}

TEST_F(ShippedLanguagesTest, TheMenuSwitchesBetweenGermanAndEnglish) {
    QStringList settings = fullSettings();
    settings[15] = "Deutsch";
    writeFile(settingsFile(), settings);
    auto form = start();
    ASSERT_EQ(form->NewItem().size(), 2u);
    QAction* german = form->NewItem()[0];
    QAction* english = form->NewItem()[1];
    ASSERT_EQ(english->text(), "English");
    Ui::TForm1& ui = form->form();

    english->trigger();
    EXPECT_EQ(ui.Beenden1->text(), "Exit");
    EXPECT_EQ(ui.bRecord->toolTip(), "Start recording");
    german->trigger();
    EXPECT_EQ(ui.Beenden1->text(), "Beenden");
    EXPECT_EQ(ui.bRecord->toolTip(), "Aufnahme starten");
    EXPECT_EQ(form->uiTexts(), defaultUiTexts()) << "Deutsch.lng holds the built-in texts";
    EXPECT_EQ(form->state().SongLanguageCode, "X") << "the song code of the built-in set-up";
}

TEST_F(ShippedLanguagesTest, CancelChangesNothingAndOkKeepsAStoredNameThatHasNoFile) {
    QStringList settings = fullSettings();
    settings[15] = "Français";
    writeFile(settingsFile(), settings);
    auto form = start();
    EXPECT_TRUE(dialogs.modalShown.isEmpty()) << "a language is chosen";

    whenOpened([](TPagesDlg& dialog) {
        EXPECT_FALSE(languageButton(dialog, "English")->isChecked());
        QTest::mouseClick(languageButton(dialog, "English"), Qt::LeftButton);
        EXPECT_TRUE(languageButton(dialog, "English")->isChecked());
        return dialog.form().CancelBtn;
    });
    openSettings(*form);
    EXPECT_EQ(form->form().Beenden1->text(), "Beenden");

    bool englishTicked = true;
    whenOpened([&englishTicked](TPagesDlg& dialog) {
        englishTicked = languageButton(dialog, "English")->isChecked();
        dialog.form().pagecontrol->setCurrentIndex(TPagesDlg::MeetingTimes);
        return dialog.form().OKBtn;
    });
    openSettings(*form);
    EXPECT_FALSE(englishTicked) << "the tick of the cancelled opening is gone";
    EXPECT_EQ(form->settings().LanguageName, "Français");
    EXPECT_EQ(form->form().Beenden1->text(), "Beenden");
}
