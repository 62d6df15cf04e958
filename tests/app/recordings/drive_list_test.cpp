#include "app/MainWindowFixture.h"
#include "app/recordings/DriveList.h"
#include "app/recordings/ListTexts.h"

#include <QImage>
#include <QListWidget>
#include <QTest>

namespace {

class DriveListWindow : public MainWindowFixture {
protected:
    static Volume stick(const char* name) {
        return FakeDrives::volume(QStringLiteral("/media/op/%1/").arg(QLatin1String(name)), DriveRemovable,
                                  QString::fromLatin1(name));
    }
    static QStringList checkedTexts(const QListWidget& list) {
        QStringList out;
        for (int i = 0; i < list.count(); ++i)
            if (list.item(i)->checkState() == Qt::Checked)
                out << list.item(i)->text();
        return out;
    }
    // Double-clicks the text of entry `row` as the operator does (an item view takes a double click only
    // after a click on the same entry).
    static void doubleClick(QListWidget& list, int row) {
        const QRect rect = list.visualItemRect(list.item(row));
        const QPoint at(rect.right() - 20, rect.center().y());
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    }
    static void checkAll(QListWidget& list) {
        for (int i = 0; i < list.count(); ++i)
            list.item(i)->setCheckState(Qt::Checked);
    }
};

} // namespace

TEST_F(DriveListWindow, ListsTheVolumesWithAMediumAndSizesTheGroup) {
    drives.list = {stick("STICK"), FakeDrives::volume("/dev/sr0/", DriveCdRom, "", false),
                   FakeDrives::volume("/mnt/nas/", DriveNetwork, "nas")};
    auto form = start();
    Ui::TForm1& ui = form->form();
    EXPECT_EQ(listTexts(*ui.CheckListBox1),
              (QStringList{QStringLiteral("/media/op/STICK//Wechseldatenträger STICK"),
                           "/mnt/nas//Netzlaufwerk nas"}));
    EXPECT_EQ(ui.GroupBox4->height(), 2 * 32 + 45);
    EXPECT_EQ(ui.GroupBox4->y(), ui.GroupBox3->y());
    EXPECT_EQ(ui.CheckListBox1->height(), ui.GroupBox4->height() - ui.CheckListBox1->y() - 6);
    EXPECT_EQ(ui.Label12->text(), "hier ebenfalls speichern");

    for (const char* name : {"B", "C", "D", "E", "F"})
        drives.arrive(stick(name));
    EXPECT_EQ(ui.CheckListBox1->count(), 7);
    EXPECT_EQ(ui.Label12->text(), "hier ebenfalls speichern (max. 4)");
    EXPECT_EQ(ui.GroupBox4->height(), ui.Panel2->height() - ui.GroupBox3->y() - 5);
    drives.remove("/media/op/B/");
    drives.remove("/media/op/C/");
    drives.remove("/mnt/nas/");
    EXPECT_EQ(ui.Label12->text(), "hier ebenfalls speichern");
}

TEST_F(DriveListWindow, ANoticeKeepsTheChecksAndFoldersOfTheVolumesStillThere) {
    drives.list = {stick("A"), stick("C")};
    auto form = start();
    QListWidget& list = *form->form().CheckListBox1;
    list.item(0)->setCheckState(Qt::Checked);
    dialogs.fileAnswers.push_back(QStringLiteral("/media/op/A/Aufnahmen"));
    emit list.itemDoubleClicked(list.item(0));
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("/media/op/A/Aufnahmen//Wechseldatenträger A"));
    // A folder on another volume is refused; the entry stays as it was, still checked.
    dialogs.fileAnswers.push_back(QStringLiteral("/home/op"));
    emit list.itemDoubleClicked(list.item(0));
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("/media/op/A/Aufnahmen//Wechseldatenträger A"));
    EXPECT_EQ(list.item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(dialogs.shown().filter("Bitte einen Ordner auf diesem Datenträger wählen").size(), 1);

    drives.arrive(stick("B"));
    EXPECT_EQ(listTexts(list).size(), 3);
    EXPECT_EQ(checkedTexts(list), QStringList{QStringLiteral("/media/op/A/Aufnahmen//Wechseldatenträger A")});
    // The hand-over of the next finished recording takes the chosen folder.
    const auto targets = form->driveList().checkedEntries();
    ASSERT_EQ(targets.size(), 1u);
    EXPECT_EQ(targets[0].folder, "/media/op/A/Aufnahmen/");

    drives.remove("/media/op/A/");
    EXPECT_TRUE(checkedTexts(list).isEmpty());
    drives.arrive(stick("A"));
    EXPECT_TRUE(checkedTexts(list).isEmpty()) << "a volume that comes back starts unchecked";
}

TEST_F(DriveListWindow, AtMostFourChecksAndNeverACdOrARamDisk) {
    drives.list = {FakeDrives::volume("/dev/sr0/", DriveCdRom, "AUDIO"),
                   stick("A"),
                   stick("B"),
                   FakeDrives::volume("/media/ram/", DriveRamDisk, "ram"),
                   stick("C"),
                   stick("D"),
                   stick("E")};
    auto form = start();
    QListWidget& list = *form->form().CheckListBox1;
    checkAll(list);
    EXPECT_EQ(checkedTexts(list), (QStringList{QStringLiteral("/media/op/A//Wechseldatenträger A"),
                                               QStringLiteral("/media/op/B//Wechseldatenträger B"),
                                               QStringLiteral("/media/op/C//Wechseldatenträger C"),
                                               QStringLiteral("/media/op/D//Wechseldatenträger D")}));
}

TEST_F(DriveListWindow, MediumNoticesAndTheOtherSourceOnAVolumeThatWent) {
    drives.list = {stick("STICK")};
    auto form = start();
    Ui::TForm1& ui = form->form();
    drives.arrive(FakeDrives::volume("/dev/sr0/", DriveCdRom, "AUDIO"), true);
    EXPECT_EQ(ui.Label11->text(), QStringLiteral("Datenträger in Laufwerk sr0 eingelegt."));

    ui.RadioButton2->setChecked(true);
    ui.Label7->setText("/media/op/STICK/Musik/lied.mp3");
    drives.remove("/dev/sr0/", true);
    EXPECT_EQ(ui.Label11->text(), QStringLiteral("Datenträger aus Laufwerk sr0 entfernt."));
    EXPECT_EQ(ui.Label7->text(), "/media/op/STICK/Musik/lied.mp3");
    EXPECT_TRUE(ui.RadioButton2->isChecked());

    // A stick pulled out changes no caption about media, but its file is no source any more.
    drives.remove("/media/op/STICK/");
    EXPECT_EQ(ui.Label7->text(), "sonstige Quelle");
    EXPECT_EQ(ui.Label11->text(), "---");
    EXPECT_FALSE(ui.RadioButton2->isChecked());
}

TEST_F(DriveListWindow, EntriesAreDrawnInTheColourOfTheirKind) {
    drives.list = {FakeDrives::volume("/dev/sr0/", DriveCdRom, "AUDIO"),
                   FakeDrives::volume("/mnt/nas/", DriveNetwork, "nas"), stick("STICK")};
    auto form = start();
    QListWidget& list = *form->form().CheckListBox1;
    list.resize(380, 3 * 30);
    form->show();
    QApplication::processEvents();
    const QImage image = list.viewport()->grab().toImage();
    // Text is antialiased: the colour of a glyph's core, give or take a little.
    const auto near = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) <
               24;
    };
    const auto rowHas = [&](int row, const QColor& colour) {
        const QRect rect = list.visualItemRect(list.item(row));
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (near(image.pixelColor(x, y), colour))
                    return true;
        return false;
    };
    const QColor grey = list.palette().color(QPalette::Disabled, QPalette::Text);
    const QColor olive(128, 128, 0);
    EXPECT_TRUE(rowHas(0, grey));
    EXPECT_FALSE(rowHas(0, olive));
    EXPECT_FALSE(rowHas(0, Qt::black));
    EXPECT_TRUE(rowHas(1, olive));
    EXPECT_TRUE(rowHas(2, Qt::black));
    EXPECT_FALSE(rowHas(2, olive));
    EXPECT_EQ(list.visualItemRect(list.item(1)).height(), 30);
}

// The folder chooser and the message after it run events: a drive notice meanwhile rebuilds the list and
// frees the entry that was double-clicked. The handler finds the entry again by its volume (under
// AddressSanitizer, a use of the freed entry aborts the test).
TEST_F(DriveListWindow, AVolumeNoticeWhileTheFolderChooserIsOpenIsSafe) {
    drives.list = {stick("A"), stick("C")};
    auto form = start();
    form->show();
    QListWidget& list = *form->form().CheckListBox1;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get(), 5000));
    list.item(0)->setCheckState(Qt::Checked);

    dialogs.onFileDialog = [&](const QString&) { drives.arrive(stick("B")); };
    dialogs.fileAnswers.push_back(QStringLiteral("/media/op/A/Aufnahmen"));
    doubleClick(list, 0);
    ASSERT_EQ(dialogs.shown().filter("Verzeichnis für die Kopien wählen").size(), 1);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("/media/op/A/Aufnahmen//Wechseldatenträger A"));
    EXPECT_EQ(checkedTexts(list), QStringList{QStringLiteral("/media/op/A/Aufnahmen//Wechseldatenträger A")});
    ASSERT_EQ(form->driveList().checkedEntries().size(), 1u);
    EXPECT_EQ(form->driveList().checkedEntries()[0].folder, "/media/op/A/Aufnahmen/");

    // A notice while the message about a folder elsewhere is open: the entry stays as it was.
    dialogs.onFileDialog = {};
    dialogs.onMessage = [&](const QString&) { drives.arrive(stick("D")); };
    dialogs.fileAnswers.push_back(QStringLiteral("/home/op"));
    doubleClick(list, 0);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(checkedTexts(list), QStringList{QStringLiteral("/media/op/A/Aufnahmen//Wechseldatenträger A")});

    // The volume of the entry itself pulled while the chooser is open: nothing is left to change.
    dialogs.onMessage = {};
    dialogs.onFileDialog = [&](const QString&) { drives.remove("/media/op/A/"); };
    dialogs.fileAnswers.push_back(QStringLiteral("/media/op/A/Neu"));
    doubleClick(list, 0);
    EXPECT_EQ(listTexts(list), (QStringList{QStringLiteral("/media/op/B//Wechseldatenträger B"),
                                            QStringLiteral("/media/op/C//Wechseldatenträger C"),
                                            QStringLiteral("/media/op/D//Wechseldatenträger D")}));
    EXPECT_TRUE(checkedTexts(list).isEmpty());
}
