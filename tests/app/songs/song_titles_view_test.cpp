// What the player's title label and the background music list show for songs that other taggers wrote,
// songs without a title and songs whose length cannot be read; the number picker's Escape.
#include "app/MainWindowFixture.h"
#include "app/songs/SongLibrary.h"
#include "support/TaggedSongs.h"

#include <QTest>

namespace {

class SongTitlesViewTest : public MainWindowFixture {
protected:
    void type(QComboBox* field, const QString& text) {
        field->lineEdit()->selectAll();
        QTest::keyClick(field->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(field->lineEdit(), text);
    }
    QString songFolder() const { return folders.root() + QStringLiteral("/lieder/"); }
    void configureSongs(int count) {
        writeFile(commonFile("Kandolor.txt"), {songFolder(), QStringLiteral(".mp3"),
                                               QStringLiteral("474500066"), QString::number(count)});
    }
};

struct ShownTitle {
    const char* tool; // TOOL|VERSION|ENCODING|TITLE for make-tagged-songs.py
    const char* shown;
};

// Song n of the folder is the n-th entry.
const ShownTitle shownTitles[] = {
    {"mutagen|4|3|001 - Übermaß", "Übermaß"},
    {"mutagen|4|2|002 - Grüße aus Köln", "Grüße aus Köln"},
    {"mutagen|3|1|003 - Übermaß", "Übermaß"},
    {"mutagen|3|0|004 - Übermaß", " Übermaß"},
    {"eyed3|4|utf8|005 - Abendlied", "Abendlied"},
    {"eyed3|3|utf16|006 - Übermaß", "Übermaß"},
    {"id3v2|3||007 - Übermaß", " Übermaß"},
    {"ffmpeg|4||008 - Friedenslied", "Friedenslied"},
    {"ffmpeg|3||009 - Übermaß", "Übermaß"},
    {"mutagen|4|3|Großer Gott", "Großer Gott"},
    {"none|||", "iasn_X_011"},
    {"mutagen|4|3|", "iasn_X_012"},
    {"mutagen|4|0|013 - Übermaß", " Übermaß"},
    {"mutagen|4|1|014 - Übermaß", "Übermaß"},
    {"eyed3|4|utf16-be|015 - Übermaß", "Übermaß"},
    {"eyed3|4|utf16|016 - Übermaß", "Übermaß"},
};

} // namespace

TEST_F(SongTitlesViewTest, TaggedSongsShowTheirTitleInTheSlotAndTheMusicList) {
    if (const QString missing = TaggedSongs::missingTools(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    const int count = static_cast<int>(std::size(shownTitles));
    QStringList specs;
    for (int n = 1; n <= count; ++n)
        specs << QStringLiteral("iasn_X_%1.mp3|").arg(n, 3, 10, QLatin1Char('0')) +
                     QString::fromUtf8(shownTitles[n - 1].tool) + QStringLiteral("|");
    const QString error = TaggedSongs::make(songFolder(), specs);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    configureSongs(count);
    auto form = start();
    Ui::TForm1& ui = form->form();

    for (int n = 1; n <= count; ++n) {
        const QString shown = QString::fromUtf8(shownTitles[n - 1].shown);
        type(ui.ComboBox1, QString::number(n));
        EXPECT_EQ(ui.Label1->text(), QString::number(n));
        EXPECT_EQ(ui.Label10->text(), shown) << shownTitles[n - 1].tool;
        EXPECT_EQ(ui.Label15->text(), QString::number(n) + QStringLiteral("  ") + shown)
            << "the opening song is the first background song";
        EXPECT_EQ(ui.Label3->text(), QStringLiteral("00:01"));
        EXPECT_EQ(ui.Label18->text(), QStringLiteral("00:01"));
    }
}

TEST_F(SongTitlesViewTest, ASongWhoseLengthCannotBeReadShowsNoTime) {
    makeSongFolder(3);
    QFile broken(songFolder() + QStringLiteral("iasn_X_002.mp3"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write(QByteArray(600, 'x'));
    broken.close();
    configureSongs(3);
    auto form = start();
    Ui::TForm1& ui = form->form();

    type(ui.ComboBox1, QStringLiteral("2"));
    EXPECT_EQ(ui.Label15->text(), QStringLiteral("2  iasn_X_002"));
    EXPECT_EQ(ui.Label18->text(), QStringLiteral("--:--"));
    EXPECT_EQ(ui.Label3->text(), QStringLiteral("--:--"));
    type(ui.ComboBox1, QStringLiteral("3"));
    EXPECT_EQ(ui.Label15->text(), QStringLiteral("3  iasn_X_003"))
        << "a song without tag shows its file name";
    EXPECT_EQ(ui.Label10->text(), QStringLiteral("iasn_X_003"));
    EXPECT_EQ(ui.Label18->text(), QStringLiteral("00:01"));
}

TEST_F(SongTitlesViewTest, ThePickerClosesWithEscapeAndLeavesTheNumberAsItWas) {
    const QString folder = makeSongFolder(40);
    auto form = start();
    Ui::TForm1& ui = form->form();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    type(ui.ComboBox2, QStringLiteral("30"));
    ASSERT_EQ(form->state().SlotFiles[2], folder + QStringLiteral("iasn_X_030.mp3"));

    // The drop-down button of the field opens the picker.
    QTableWidget* grid = ui.StringGrid1;
    QTest::mouseClick(ui.ComboBox2, Qt::LeftButton, {},
                      QPoint(ui.ComboBox2->width() - 6, ui.ComboBox2->height() / 2));
    ASSERT_FALSE(grid->isHidden());
    ASSERT_TRUE(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_TRUE(grid->isHidden());
    EXPECT_EQ(ui.ComboBox2->currentText(), QStringLiteral("30"));
    EXPECT_EQ(form->state().SlotFiles[2], folder + QStringLiteral("iasn_X_030.mp3"));
    EXPECT_TRUE(ui.CheckBox2->isChecked());
    EXPECT_TRUE(ui.ComboBox2->hasFocus()) << "the field that opened the picker has the focus again";

    // Opened again, a cell is still chosen as before.
    QTest::mouseClick(ui.ComboBox2, Qt::LeftButton, {},
                      QPoint(ui.ComboBox2->width() - 6, ui.ComboBox2->height() / 2));
    ASSERT_FALSE(grid->isHidden());
    const QRect cell = grid->visualItemRect(grid->item(2, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(ui.ComboBox2->currentText(), QStringLiteral("31"));
    EXPECT_TRUE(grid->isHidden());
}
