#include "app/MainWindowFixture.h"
#include "app/playback/CdTrackChooser.h"
#include "app/recordings/TDualListDlg.h"
#include "app/settings/ShownTexts.h"
#include "app/settings/TPagesDlg.h"
#include "app/settings/Tinfoform.h"
#include "settings/LanguageFile.h"
#include "settings/UiTexts.h"
#include "ui_TDualListDlg.h"
#include "ui_TPagesDlg.h"

#include <QTest>

// Every text a window or a message shows comes from the text table: with English applied all of it is in
// English.lng, and without a chosen language all of it is built in. A caption or message written into the
// program instead of the table fails here.

namespace {

class TextsFromTableTest : public MainWindowFixture {
protected:
    // What the program shows that it did not write, as patterns: names, paths, files, the other makers.
    QStringList data() {
        return QStringList{folders.user, QString(folders.user).replace(' ', '_'), "STICK", "Track\\d\\d"} +
               ProgramData();
    }
    // Starts with a song folder, a recording, a stick and an audio CD, in the language `name` (none: "").
    std::unique_ptr<TForm1> startIn(const QString& name) {
        if (!name.isEmpty()) {
            QDir().mkpath(folders.languagesFolder());
            for (const char* file : {"Deutsch.lng", "English.lng"})
                QFile::copy(QStringLiteral(KANDOLOR_SOURCE_DIR "/languages/") + QLatin1String(file),
                            folders.languagesFolder() + QLatin1Char('/') + QLatin1String(file));
        }
        makeSongFolder(3);
        QStringList settings = fullSettings();
        settings[15] = name;
        writeFile(settingsFile(), settings);
        const QString recordings = folders.homeFolder() + QStringLiteral("/Mitschnitte/");
        QDir().mkpath(recordings);
        QFile recording(recordings + "2026_12_6.mp3");
        recording.open(QIODevice::WriteOnly);
        const QString stick = folders.root() + QStringLiteral("/media/STICK/");
        QDir().mkpath(stick);
        drives.list.push_back(FakeDrives::volume(stick, DriveRemovable, "STICK"));
        media.discs = {{"/dev/sr0", {{1, {0, 2, 0}, {12, 48, 30}}, {7, {12, 50, 30}, {4, 31, 40}}}}};
        return start();
    }
    // Every text of the main window and its dialogs, each opened through its menu or control, and every
    // message shown on the way.
    QStringList everyText(TForm1& form) {
        Ui::TForm1& ui = form.form();
        form.show();
        QStringList texts = ShownTexts(form, NeverShownControls());
        // The other view, and the song list editor with its headings.
        ui.grSchalt->trigger();
        ui.Liederbearbeiten->trigger();
        texts << ShownTexts(form, NeverShownControls());
        QTest::mouseClick(ui.BitBtn2, Qt::LeftButton);

        dialogs.onModal = [&texts](QDialog& dialog) {
            dialog.show();
            dialog.activateWindow();
            if (auto* copy = qobject_cast<TDualListDlg*>(&dialog)) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return copy->form().DstList->count() > 0; }, 5000));
                texts << ShownTexts(dialog, NeverShownControls());
                QTest::mouseClick(copy->form().send, Qt::LeftButton); // no target chosen
            } else {
                texts << ShownTexts(dialog, NeverShownControls());
            }
            dialog.hide();
            return int(QDialog::Rejected);
        };
        ui.Einstellungen1->trigger();
        ui.Kopieren1->trigger();
        ui.Info1->trigger();
        QTest::mouseClick(ui.RadioButton4, Qt::LeftButton); // the special occasions
        QTest::mouseClick(ui.Label7, Qt::LeftButton);       // the CD track chooser
        // A song number the songs do not have.
        ui.ComboBox4->lineEdit()->clear();
        QTest::keyClicks(ui.ComboBox4->lineEdit(), "999");
        return texts;
    }
};

} // namespace

TEST_F(TextsFromTableTest, WithEnglishEveryTextAndMessageIsInEnglishLng) {
    auto form = startIn("English");
    ASSERT_EQ(form->uiTexts().at(UiText::MenuClose), "Exit");
    const QStringList texts = everyText(*form);
    EXPECT_GT(texts.size(), 80);
    EXPECT_TRUE(dialogs.modalShown.contains("Information"));
    EXPECT_TRUE(dialogs.modalShown.contains("Copy recordings"));
    EXPECT_TRUE(dialogs.modalShown.contains(uiText(UiText::ChooseOtherSource)))
        << dialogs.modalShown.join(" | ").toStdString();
    EXPECT_TRUE(dialogs.shown().contains("No target chosen!")) << dialogs.shown().join(" | ").toStdString();
    EXPECT_TRUE(dialogs.shown().contains("Invalid song number!"));

    const QStringList english = form->uiTexts();
    const QStringList notEnglish = TextsNotFromTable(texts + dialogs.shown(), english, data());
    EXPECT_TRUE(notEnglish.isEmpty()) << notEnglish.join('\n').toStdString();
}

TEST_F(TextsFromTableTest, WithoutAChosenLanguageEveryTextAndMessageIsBuiltIn) {
    auto form = startIn(QString());
    ASSERT_EQ(form->uiTexts(), defaultUiTexts());
    const QStringList texts = everyText(*form);
    EXPECT_TRUE(dialogs.modalShown.contains("Informationen"));
    EXPECT_TRUE(dialogs.shown().contains("Kein Ziel ausgewählt !"));
    const QStringList notBuiltIn = TextsNotFromTable(texts + dialogs.shown(), defaultUiTexts(), data());
    EXPECT_TRUE(notBuiltIn.isEmpty()) << notBuiltIn.join('\n').toStdString();
}

TEST(ShownTexts, ATextOutsideTheTableIsFoundWithWhatIsLeftOfIt) {
    const QStringList table = {"Copy %1 to %2 …", "minutes", "Start"};
    EXPECT_EQ(NotFromTable("Copy a.mp3 to /media/STICK …", table, {"a\\.mp3", "/media/STICK"}), QString());
    EXPECT_EQ(NotFromTable("10 minutes", table), QString());
    EXPECT_EQ(NotFromTable("Startpunkt festlegen", table), "punkt festlegen");
    EXPECT_EQ(NotFromTable("Kopieren", table), "Kopieren");
}
