#include "app/MainWindowFixture.h"
#include "app/songs/SongLibrary.h"

#include <QTest>

namespace {

const QColor Red(242, 43, 43);
const QColor White(255, 255, 255);

class SongSlotsTest : public MainWindowFixture {
protected:
    void type(QComboBox* field, const QString& text) {
        field->lineEdit()->selectAll();
        QTest::keyClick(field->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(field->lineEdit(), text);
    }
    QColor colourOf(QComboBox* field) { return field->lineEdit()->palette().color(QPalette::Base); }
    void writeSongList(const QString& path, const QStringList& rows) { writeFile(path, rows); }
};

} // namespace

TEST_F(SongSlotsTest, TypedNumbersFindTheirFileOrTurnTheFieldRed) {
    const QString folder = makeSongFolder(135);
    auto form = start();
    Ui::TForm1& ui = form->form();

    type(ui.ComboBox1, QStringLiteral("7"));
    EXPECT_EQ(form->state().SlotFiles[1], folder + QStringLiteral("iasn_X_007.mp3"));
    EXPECT_TRUE(ui.CheckBox1->isEnabled());
    EXPECT_TRUE(ui.CheckBox1->isChecked());
    EXPECT_TRUE(form->state().SlotChosen);
    EXPECT_EQ(colourOf(ui.ComboBox1), White);
    EXPECT_TRUE(ui.Label15->text().startsWith(QStringLiteral("7  ")))
        << "slot 1 becomes the first background song";
    EXPECT_EQ(form->state().SlotFiles[5], folder + QStringLiteral("iasn_X_007.mp3"));

    for (const char* outOfRange : {"0", "136"}) {
        type(ui.ComboBox1, QString::fromLatin1(outOfRange));
        EXPECT_FALSE(ui.CheckBox1->isChecked()) << outOfRange;
        EXPECT_EQ(colourOf(ui.ComboBox1), Red) << outOfRange;
    }

    type(ui.ComboBox1, QStringLiteral("7"));
    dialogs.clear();
    type(ui.ComboBox1, QStringLiteral("1a"));
    EXPECT_TRUE(ui.CheckBox1->isChecked()) << "\"1a\": \"1\" was valid, \"1a\" changes nothing";
    EXPECT_EQ(form->state().SlotFiles[1], folder + QStringLiteral("iasn_X_001.mp3"));
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(SongSlotsTest, AMissingFileLeavesTheSlotAsItWasAndOtherLanguagesAreAFallback) {
    const QString folder = makeSongFolder(5);
    QFile::rename(folder + "iasn_X_003.mp3", folder + "iasn_E_003.mp3");
    auto form = start();
    Ui::TForm1& ui = form->form();
    type(ui.ComboBox2, QStringLiteral("3"));
    EXPECT_EQ(form->state().SlotFiles[2], folder + QStringLiteral("iasn_E_003.mp3"));
    type(ui.ComboBox2, QStringLiteral("9"));
    EXPECT_EQ(form->state().SlotFiles[2], folder + QStringLiteral("iasn_E_003.mp3"));
    EXPECT_TRUE(ui.CheckBox2->isChecked());
    EXPECT_EQ(colourOf(ui.ComboBox2), White);
}

TEST_F(SongSlotsTest, ThePickerMarksTheCurrentNumberAndWritesTheChosenOne) {
    makeSongFolder(134);
    writeFile(commonFile("Kandolor.txt"), {folders.root() + "/lieder/", QStringLiteral(".mp3"),
                                           QStringLiteral("474500066"), QStringLiteral("134")});
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.ComboBox2->setEditText(QStringLiteral("30"));
    ui.ComboBox2->showPopup();
    QTableWidget* grid = ui.StringGrid1;
    ASSERT_FALSE(grid->isHidden());
    EXPECT_EQ(grid->property("Tag").toInt(), 2030);
    EXPECT_EQ(grid->item(1, 14)->background().color(), QColor(0, 128, 0));
    EXPECT_EQ(grid->item(1, 13)->background().style(), Qt::NoBrush);
    EXPECT_EQ(grid->y(), ui.ComboBox2->y() + ui.ComboBox2->height() + 10);
    EXPECT_EQ(grid->x(), ui.Panel2->x());

    grid->setCurrentCell(2, 0);
    EXPECT_EQ(ui.ComboBox2->currentText(), QStringLiteral("31"));
    EXPECT_TRUE(ui.CheckBox2->isChecked());
    EXPECT_TRUE(grid->isHidden());
    EXPECT_FALSE(ui.GroupBox4->isHidden());

    ui.ComboBox3->showPopup();
    grid->setCurrentCell(8, 14); // past the last song
    EXPECT_EQ(ui.ComboBox3->currentText(), QStringLiteral("135"));
    EXPECT_EQ(colourOf(ui.ComboBox3), Red);

    ui.ComboBox1->setEditText(QStringLiteral("x"));
    dialogs.clear();
    ui.ComboBox1->showPopup();
    EXPECT_TRUE(grid->isHidden());
    EXPECT_EQ(dialogs.shown(), QStringList{QStringLiteral("''x'' ist kein gültiger Integer-Wert")});
}

TEST_F(SongSlotsTest, ThisWeeksSongsGoToTheSlotsOfTheDaysMeeting) {
    makeSongFolder(135);
    QStringList rows(54, QString());
    rows[3] = QStringLiteral("01.06.2015 12,45,,88,133");
    writeFile(commonFile("liederliste.txt"), rows);

    clock.set(2015, 6, 3); // Wednesday
    {
        auto form = start();
        Ui::TForm1& ui = form->form();
        EXPECT_EQ(ui.ComboBox1->currentText(), QStringLiteral("12"));
        EXPECT_EQ(ui.ComboBox2->currentText(), QStringLiteral("45"));
        EXPECT_EQ(ui.ComboBox3->currentText(), QStringLiteral("0"));
        EXPECT_TRUE(ui.CheckBox1->isChecked());
        EXPECT_TRUE(ui.CheckBox2->isChecked());
        EXPECT_EQ(colourOf(ui.ComboBox3), Red);
        EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("Kandolor   Max Muster  03.06.2015")));
        form->Beendenohnespeichern1Click();
    }
    clock.set(2015, 6, 7); // Sunday of the same week
    {
        auto form = start();
        Ui::TForm1& ui = form->form();
        EXPECT_EQ(ui.ComboBox1->currentText(), QStringLiteral("0"));
        EXPECT_EQ(ui.ComboBox2->currentText(), QStringLiteral("88"));
        EXPECT_EQ(ui.ComboBox3->currentText(), QStringLiteral("133"));
        form->Beendenohnespeichern1Click();
    }
    clock.set(2015, 6, 8); // next Monday: no row for this week
    auto form = start();
    EXPECT_EQ(form->form().ComboBox1->currentText(), QStringLiteral("0"));
    EXPECT_FALSE(form->form().CheckBox1->isChecked());
}

TEST_F(SongSlotsTest, TheImportFileIsTakenAndDeleted) {
    makeSongFolder(135);
    const QString importFile = folders.homeFolder() + QStringLiteral("/liederliste.txt");
    QStringList rows(54, QString());
    rows[0] = QStringLiteral("01.06.2015 7,8,9,,");
    writeFile(importFile, rows);
    clock.set(2015, 6, 5);
    auto form = start();
    EXPECT_FALSE(QFile::exists(importFile));
    EXPECT_EQ(TextFile::readLines(commonFile("liederliste.txt")).at(0), QStringLiteral("01.06.2015 7,8,9,,"));
    EXPECT_EQ(form->form().ComboBox3->currentText(), QStringLiteral("9"));
    EXPECT_TRUE(form->form().CheckBox3->isChecked());
}

TEST_F(SongSlotsTest, WithoutASongListAllThreeSlotsAreRedAndTooFewSongsAreReported) {
    makeSongFolder(134);
    auto form = start();
    Ui::TForm1& ui = form->form();
    for (QComboBox* field : {ui.ComboBox1, ui.ComboBox2, ui.ComboBox3}) {
        EXPECT_EQ(field->currentText(), QStringLiteral("0"));
        EXPECT_EQ(colourOf(field), Red);
    }
    EXPECT_TRUE(dialogs.shown().contains(
        QStringLiteral("Im ausgewählten Verzeichnis befinden sich weniger als 135 Lieder!")));
}

TEST_F(SongSlotsTest, ADateThatIsNoDateStopsTheCommandWithItsMessage) {
    makeSongFolder(135);
    QStringList rows(54, QString());
    rows[0] = QStringLiteral("2015-06-01 7,8,9,,");
    writeFile(commonFile("liederliste.txt"), rows);
    auto form = start();
    EXPECT_TRUE(dialogs.shown().contains(QStringLiteral("''2015-06-01'' ist kein gültiges Datum")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kandolor")) << "the caption step is skipped";
}
