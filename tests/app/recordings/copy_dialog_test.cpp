#include "app/MainWindowFixture.h"
#include "app/music/MeetingClock.h"
#include "app/recordings/ListTexts.h"
#include "app/recordings/TDualListDlg.h"
#include "ui_TDualListDlg.h"

#include <QTest>
#include <QTimer>
#include <atomic>
#include <future>

namespace {

// The real copier, held in its first copy until the test lets it go.
class GatedCopier : public FileCopier {
public:
    CopyOutcome copy(const QString& source, const QString& target, bool replace,
                     const Progress& progress) override {
        entered = true;
        gate.wait();
        return real.copy(source, target, replace, progress);
    }
    QStringList removeLeftParts(const QString& folder) override { return real.removeLeftParts(folder); }
    std::atomic<bool> entered{false};
    std::promise<void> open;
    std::shared_future<void> gate = open.get_future().share();
    DurableFileCopier real;
};

class CopyDialogTest : public MainWindowFixture {
protected:
    QString recordings() { return folders.homeFolder() + QStringLiteral("/Aufnahmen/"); }
    void makeRecording(const QString& name, const QDate& day, const QByteArray& bytes = "mp3") {
        QDir().mkpath(recordings());
        QFile file(recordings() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.flush();
        file.setFileTime(QDateTime(day, QTime(19, 30)), QFileDevice::FileModificationTime);
    }
    QString addStick(const QString& name) {
        const QString root = folders.root() + QStringLiteral("/media/") + name + QLatin1Char('/');
        QDir().mkpath(root);
        drives.list.push_back(FakeDrives::volume(root, DriveRemovable, name));
        return root;
    }
    static void select(QListWidget& list, std::initializer_list<int> rows) {
        for (int row : rows)
            list.item(row)->setSelected(true);
    }
};

} // namespace

TEST_F(CopyDialogTest, TheRecordingsByAgeSeenOnAMondayAndOnASunday) {
    makeRecording("heute.mp3", QDate(2026, 12, 7));
    makeRecording("sonntag.mp3", QDate(2026, 12, 6));
    makeRecording("morgen.mp3", QDate(2026, 12, 8));
    makeRecording("notiz.txt", QDate(2026, 12, 7));
    addStick("STICK");
    clock.set(2026, 12, 7, 20, 0);
    auto form = start();
    TDualListDlg& dialog = form->copyDialog();
    dialog.FormActivate();
    EXPECT_EQ(listTexts(*dialog.form().SrcList),
              (QStringList{"--> Heute", "heute.mp3", "--> letzte Woche", "sonntag.mp3"}));
    EXPECT_EQ(listTexts(*dialog.form().DstList),
              QStringList{folders.root() + QStringLiteral("/media/STICK/  Wechseldatenträger STICK")});

    clock.set(2026, 12, 13, 9, 0);
    dialog.FormActivate();
    EXPECT_EQ(listTexts(*dialog.form().SrcList),
              (QStringList{"--> diese Woche", "heute.mp3", "morgen.mp3", "--> letzte Woche", "sonntag.mp3"}));
    EXPECT_EQ(dialog.windowTitle(), "Auswahldialog");
    EXPECT_EQ(dialog.form().send->text(), "--> Kopieren -->");
}

TEST_F(CopyDialogTest, TheMenuOpensTheDialogWithItsListsBuilt) {
    makeRecording("heute.mp3", QDate(2026, 12, 9));
    addStick("STICK");
    auto form = start();
    form->show();
    bool seen = false;
    dialogs.onModal = [&](QDialog& shown) {
        TDualListDlg& dialog = form->copyDialog();
        shown.show();
        shown.activateWindow();
        seen = &shown == &dialog &&
               QTest::qWaitFor([&] { return dialog.form().SrcList->count() == 2; }, 5000) &&
               dialog.form().DstList->count() == 1;
        shown.hide();
        return int(QDialog::Accepted);
    };
    form->form().Kopieren1->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(dialogs.modalShown.last(), "Auswahldialog");
}

TEST_F(CopyDialogTest, CopiesTheSelectedRecordingsToTheFirstFourSelectedDrives) {
    makeRecording("a.mp3", QDate(2026, 12, 9), "aaa");
    makeRecording("b.mp3", QDate(2026, 12, 9), "bbb");
    makeRecording("c.mp3", QDate(2026, 12, 1), "ccc");
    QStringList sticks;
    for (const char* name : {"S1", "S2", "S3", "S4", "S5", "S6"})
        sticks << addStick(name);
    // Already on the first stick: the operator keeps it.
    QFile old(sticks[0] + "b.mp3");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("alt");
    old.close();
    dialogs.confirmAnswers = {false};
    auto form = start();
    dialogs.clear();
    TDualListDlg& dialog = form->copyDialog();
    dialog.FormActivate();
    ASSERT_EQ(listTexts(*dialog.form().SrcList),
              (QStringList{"--> Heute", "a.mp3", "b.mp3", "--> letzte Woche", "c.mp3"}));

    dialog.form().send->click();
    EXPECT_EQ(dialogs.shown(), QStringList{"Kein Ziel ausgewählt !"});

    select(*dialog.form().SrcList, {0, 1, 2});
    select(*dialog.form().DstList, {0, 1, 2, 3, 4, 5});
    dialog.form().send->click();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bytesOf(sticks[i] + "a.mp3"), "aaa") << i;
        EXPECT_EQ(bytesOf(sticks[i] + "b.mp3"), i == 0 ? "alt" : "bbb") << i;
        EXPECT_FALSE(QFile::exists(sticks[i] + "c.mp3"));
        EXPECT_FALSE(QFile::exists(sticks[i] + "--> Heute"));
    }
    for (int i = 4; i < 6; ++i)
        EXPECT_TRUE(QDir(sticks[i]).isEmpty()) << i;
    EXPECT_TRUE(dialog.form().send->isEnabled());
    EXPECT_EQ(dialogs.shown().size(), 2) << "one question about the file on the first stick";

    // Asked again, the operator replaces it.
    dialogs.confirmAnswers = {true};
    dialog.form().send->click();
    EXPECT_EQ(bytesOf(sticks[0] + "b.mp3"), "bbb");
}

// A recording that came into the folder by other ways, with characters that vfat and exFAT refuse: it is
// copied under a name every stick takes, and the operator is told.
TEST_F(CopyDialogTest, ANameSticksRefuseIsCopiedUnderANameTheyTakeAndSaid) {
    makeRecording("Vortrag: \"Liebe\"?.mp3", QDate(2026, 12, 9), "talk");
    const QString stick = addStick("STICK");
    auto form = start();
    dialogs.clear();
    TDualListDlg& dialog = form->copyDialog();
    dialog.FormActivate();
    select(*dialog.form().SrcList, {1});
    select(*dialog.form().DstList, {0});
    QTest::mouseClick(dialog.form().send, Qt::LeftButton);
    EXPECT_EQ(QDir(stick).entryList(QDir::Files), QStringList{"Vortrag Liebe.mp3"});
    EXPECT_EQ(bytesOf(stick + "Vortrag Liebe.mp3"), "talk");
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown().first().startsWith("Vortrag: \"Liebe\"?.mp3 wurde auf "))
        << dialogs.shown().first().toStdString();
    EXPECT_TRUE(dialogs.shown().first().contains(" als Vortrag Liebe.mp3 gespeichert"));
}

// The shutdown countdown that ends while the dialog copies waits for the copy, and says so.
TEST_F(CopyDialogTest, NoPowerOffWhileTheDialogCopies) {
    QStringList settings = fullSettings(); // a shutdown 30 minutes after the meeting
    settings[11] = recordings();
    writeFile(settingsFile(), settings);
    makeRecording("a.mp3", QDate(2026, 12, 9), "aaa");
    const QString stick = addStick("STICK");
    GatedCopier gated;
    copierInUse = &gated;
    clock.set(2026, 12, 9, 21, 0);
    auto form = start();
    ASSERT_TRUE(form->settings().ShutdownEnabled);
    Ui::TForm1& ui = form->form();
    ui.Button3->click(); // the closing song has ended: the countdown begins
    TDualListDlg& dialog = form->copyDialog();
    dialog.FormActivate();
    select(*dialog.form().SrcList, {1});
    select(*dialog.form().DstList, {0});

    bool waited = false;
    QTimer::singleShot(0, [&] {
        // The copy runs; the countdown ends meanwhile and its clock goes on ticking.
        EXPECT_TRUE(QTest::qWaitFor([&] { return gated.entered.load(); }, 10000));
        clock.set(2026, 12, 9, 21, 31);
        waited = QTest::qWaitFor(
            [&] { return ui.Shutdown1->text().contains("sobald Aufnahme und Kopien gesichert sind"); },
            10000);
        EXPECT_EQ(power.calls, 0);
        gated.open.set_value();
    });
    QTest::mouseClick(dialog.form().send, Qt::LeftButton);
    EXPECT_TRUE(waited);
    EXPECT_EQ(bytesOf(stick + "a.mp3"), "aaa");
    EXPECT_TRUE(QTest::qWaitFor([&] { return power.calls == 1; }, 10000)) << "after the copy";
}
