#include "app/MainWindowFixture.h"
#include "app/songs/SongListEditorView.h"

#include <QLineEdit>
#include <QTest>

namespace {

class SongListEditorViewTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        clock.set(2015, 6, 3); // Wednesday
    }
    QLineEdit* openCellEditor(QTableWidget* grid, int row, int column) {
        grid->setCurrentCell(row, column);
        grid->editItem(grid->item(row, column));
        return grid->viewport()->findChild<QLineEdit*>();
    }
};

} // namespace

TEST_F(SongListEditorViewTest, ShowsTheWeeksFromTheWeekBeforeLastAndPlacesEntriesByDate) {
    QStringList rows(54, QString());
    rows[0] = QStringLiteral("18.05.2015 1,2,3,4,5");
    rows[1] = QStringLiteral("01.06.2015 12,45,,88,133");
    writeFile(commonFile("liederliste.txt"), rows);
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.Liederbearbeiten->trigger();

    QTableWidget* grid = ui.StringGrid2;
    EXPECT_FALSE(grid->isHidden());
    EXPECT_TRUE(ui.Panel2->isHidden());
    EXPECT_TRUE(ui.GroupBox4->isHidden());
    EXPECT_FALSE(ui.BitBtn1->isHidden());
    EXPECT_EQ(ui.BitBtn2->y(), ui.BitBtn1->y() + 40);
    EXPECT_EQ(grid->rowCount(), 54);
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("BST"));
    EXPECT_EQ(grid->item(0, 5)->text(), QStringLiteral("Schluss"));
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("25.05.2015"));
    EXPECT_EQ(grid->item(2, 0)->text(), QStringLiteral("01.06.2015"));
    EXPECT_EQ(grid->item(53, 0)->text(), QStringLiteral("23.05.2016"));
    EXPECT_EQ(form->songListEditor().weeks().row(54).date, QStringLiteral("30.05.2016"));
    EXPECT_EQ(grid->item(2, 1)->text(), QStringLiteral("12"));
    EXPECT_EQ(grid->item(2, 3)->text(), QString());
    EXPECT_EQ(grid->item(2, 5)->text(), QStringLiteral("133"));
    EXPECT_FALSE(grid->item(2, 0)->flags() & Qt::ItemIsEditable);

    grid->item(3, 2)->setText(QStringLiteral("77"));
    ui.BitBtn1->click();
    EXPECT_TRUE(grid->isHidden());
    EXPECT_FALSE(ui.Panel2->isHidden());
    const QStringList saved = TextFile::readLines(commonFile("liederliste.txt"));
    ASSERT_EQ(saved.size(), 54);
    EXPECT_EQ(saved.at(0), QStringLiteral("25.05.2015 ,,,,"));
    EXPECT_EQ(saved.at(1), QStringLiteral("01.06.2015 12,45,,88,133"));
    EXPECT_EQ(saved.at(2), QStringLiteral("08.06.2015 ,77,,,"));
    EXPECT_EQ(saved.at(53), QStringLiteral("30.05.2016 ,,,,"));
    EXPECT_FALSE(saved.join(QLatin1Char('\n')).contains(QStringLiteral("18.05.2015")));
}

TEST_F(SongListEditorViewTest, OnASundayTheFirstRowIsTheMondayOfThatWeek) {
    clock.set(2015, 6, 7);
    auto form = start();
    form->form().Liederbearbeiten->trigger();
    EXPECT_EQ(form->form().StringGrid2->item(1, 0)->text(), QStringLiteral("01.06.2015"));
}

TEST_F(SongListEditorViewTest, TypingWarnsAboutNumbersThatAreNoSongs) {
    auto form = start();
    form->form().Liederbearbeiten->trigger();
    QLineEdit* editor = openCellEditor(form->form().StringGrid2, 4, 2);
    ASSERT_NE(editor, nullptr);
    dialogs.clear();
    QTest::keyClicks(editor, QStringLiteral("200"));
    EXPECT_EQ(dialogs.shown(), QStringList{QStringLiteral("\"200\" ist keine gültige Liednummer !")});
    dialogs.clear();
    editor->clear();
    QTest::keyClicks(editor, QStringLiteral("ab"));
    EXPECT_EQ(dialogs.shown(), (QStringList{QStringLiteral("\"a\" ist keine gültige Liednummer !"),
                                            QStringLiteral("\"ab\" ist keine gültige Liednummer !")}));
}

TEST_F(SongListEditorViewTest, CancellingTheOverwriteKeepsTheFileAndTheEditor) {
    QStringList rows(54, QString());
    rows[1] = QStringLiteral("01.06.2015 12,45,,88,133");
    writeFile(commonFile("liederliste.txt"), rows);
    const QByteArray before = bytesOf(commonFile("liederliste.txt"));
    auto form = start();
    Ui::TForm1& ui = form->form();
    ui.Liederbearbeiten->trigger();
    ui.StringGrid2->item(2, 1)->setText(QStringLiteral("99"));
    dialogs.clear();
    dialogs.confirmAnswers.push_back(false);
    ui.BitBtn1->click();
    EXPECT_EQ(dialogs.shown(), QStringList{QStringLiteral("Bestätigen? Liederliste überschreiben ?")});
    EXPECT_EQ(bytesOf(commonFile("liederliste.txt")), before);
    EXPECT_FALSE(ui.StringGrid2->isHidden());

    ui.BitBtn2->click();
    EXPECT_TRUE(ui.StringGrid2->isHidden());
    EXPECT_EQ(bytesOf(commonFile("liederliste.txt")), before);
}
