#include "app/recording/RecordingFixture.h"
#include "app/recordings/RecordingCopies.h"

#include <QListWidget>
#include <QTemporaryDir>
#include <future>

namespace {

// The real copier, held at its first copy until the test lets it go.
class GatedCopier : public FileCopier {
public:
    CopyOutcome copy(const QString& source, const QString& target, bool replace,
                     const Progress& progress) override {
        gate.wait();
        return real.copy(source, target, replace, progress);
    }
    QStringList removeLeftParts(const QString& folder) override { return real.removeLeftParts(folder); }
    std::promise<void> open;
    std::shared_future<void> gate = open.get_future().share();
    DurableFileCopier real;
};

class CopyWorkerTest : public RecordingFixture {
protected:
    // A removable volume whose root is a folder of the test, listed in the drive list.
    QString addStick(const QString& name) {
        const QString root = folders.root() + QStringLiteral("/media/") + name + QLatin1Char('/');
        QDir().mkpath(root);
        drives.list.push_back(FakeDrives::volume(root, DriveRemovable, name));
        return root;
    }
    static void check(TForm1& form, int row) {
        form.form().CheckListBox1->item(row)->setCheckState(Qt::Checked);
    }
    void waitForCopies(TForm1& form) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.finisher().busy() && !form.recordingCopies().busy(); },
                                    60000));
    }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

} // namespace

TEST_F(CopyWorkerTest, AFinishedRecordingIsCopiedUnderAFreeNameToEachCheckedVolume) {
    const QString first = addStick("A");
    addStick("B");
    const QString third = addStick("C");
    writeFile(first + "Vortrag.mp3", "alt");
    writeFile(first + "Vortrag#0.mp3", "alt");
    GatedCopier gated;
    copierInUse = &gated;
    auto form = startRecordingInto(recordings());
    Ui::TForm1& ui = form->form();
    check(*form, 0);
    check(*form, 2);
    ui.Thema->setText("Freude");
    ui.Thema->setModified(true);
    ui.Datei->setText("Vortrag.mp3");
    ui.bRecord->click();
    record(*form, 2.0);
    letTheEncoderCatchUp(*form);
    ui.bStop->click();
    EXPECT_EQ(form->state().texte[5], first + "/Wechseldatenträger A");
    EXPECT_EQ(form->state().texte[6], third + "/Wechseldatenträger C");
    EXPECT_TRUE(form->state().texte[7].isEmpty());
    EXPECT_TRUE(form->state().kopie);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ui.Label12->text() == "USB-Speicher nicht entfernen !"; }, 60000));
    EXPECT_EQ(ui.Label12->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    gated.open.set_value();
    waitForCopies(*form);

    EXPECT_EQ(ui.Label12->text(), "hier ebenfalls speichern");
    EXPECT_NE(ui.Label12->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    const QByteArray recording = bytesOf(recordings() + "Vortrag.mp3");
    ASSERT_GT(recording.size(), 10000) << mp3Files().join(' ').toStdString();
    EXPECT_EQ(bytesOf(first + "Vortrag#1.mp3"), recording) << "copied with the final tag, under a free name";
    EXPECT_EQ(bytesOf(first + "Vortrag.mp3"), "alt");
    EXPECT_EQ(bytesOf(first + "Vortrag#0.mp3"), "alt");
    EXPECT_EQ(bytesOf(third + "Vortrag.mp3"), recording);
    EXPECT_EQ(QDir(folders.root() + "/media/B/").entryList(QDir::Files), QStringList());
    EXPECT_TRUE(dialogs.shown().filter("kopiert").isEmpty()) << dialogs.shown().join('\n').toStdString();

    // Unchecked, the next recording is copied nowhere.
    ui.CheckListBox1->item(0)->setCheckState(Qt::Unchecked);
    ui.CheckListBox1->item(2)->setCheckState(Qt::Unchecked);
    ui.bRecord->click();
    record(*form, 1.0);
    ui.bStop->click();
    EXPECT_FALSE(form->state().kopie);
    for (int slot = 5; slot <= 8; ++slot)
        EXPECT_TRUE(form->state().texte[static_cast<std::size_t>(slot)].isEmpty());
    waitForCopies(*form);
    EXPECT_EQ(QDir(third).entryList(QDir::Files).size(), 1);
}

TEST_F(CopyWorkerTest, AFailedCopyIsToldAndTheNextTargetStillGetsItsCopy) {
    const QString stick = addStick("A");
    auto form = start();
    QDir().mkpath(recordings());
    writeFile(recordings() + "Vortrag.mp3", QByteArray(5000, 'x'));
    // The first target's folder is gone; the second is fine.
    form->recordingCopies().copy(recordings(), "Vortrag.mp3", {stick + "fehlt/", QString(), stick});
    waitForCopies(*form);
    EXPECT_EQ(bytesOf(stick + "Vortrag.mp3"), QByteArray(5000, 'x'));
    const QStringList told = dialogs.shown().filter("konnte nicht nach");
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.first().startsWith("Vortrag.mp3 konnte nicht nach " + stick + "fehlt/ kopiert werden."));
    EXPECT_TRUE(told.first().contains("Die Aufnahme selbst bleibt, wo sie ist."));
    EXPECT_EQ(bytesOf(recordings() + "Vortrag.mp3"), QByteArray(5000, 'x'));
}

TEST_F(CopyWorkerTest, ClosingTheWindowWaitsForTheCopies) {
    const QString stick = addStick("A");
    auto form = startRecordingInto(recordings());
    form->show();
    check(*form, 0);
    form->form().bRecord->click();
    record(*form, 2.0);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->recordingCopies().busy());
    EXPECT_GT(bytesOf(stick + "Vortrag.mp3").size(), 10000);
    EXPECT_EQ(bytesOf(stick + "Vortrag.mp3"), bytesOf(recordings() + "Vortrag.mp3"));
}
