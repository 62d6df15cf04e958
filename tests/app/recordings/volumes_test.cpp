#include "app/MainWindowFixture.h"
#include "app/recordings/ListTexts.h"
#include "app/recordings/RecordingCopies.h"
#include "platform/MountTableDrives.h"
#include "support/PrivateMounts.h"

#include <QListWidget>
#include <QRandomGenerator>
#include <QTest>

namespace {

// The window on the real mount table, with test volumes mounted below a media root of its own.
class VolumesTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        const QString failure = enterPrivateMountNamespace();
        if (!failure.isEmpty())
            GTEST_SKIP() << failure.toStdString();
        real = std::make_unique<MountTableDrives>(QStringList{media.path()});
        drivesInUse = real.get();
    }
    QString at(const QString& name) const { return media.path() + QLatin1Char('/') + name; }
    QString recordings() { return folders.homeFolder() + QStringLiteral("/Aufnahmen/"); }
    QByteArray makeRecording(const QString& name, int bytes) {
        QByteArray data(bytes, Qt::Uninitialized);
        for (char& byte : data)
            byte = static_cast<char>(QRandomGenerator::global()->generate());
        QDir().mkpath(recordings());
        QFile file(recordings() + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        return data;
    }
    void waitForCopies(TForm1& form) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.recordingCopies().busy(); }, 60000));
    }
    static QStringList partialFiles(const QString& folder) {
        return QDir(folder).entryList({QStringLiteral("*.part")}, QDir::Files);
    }

    QTemporaryDir media;
    std::unique_ptr<MountTableDrives> real;
};

// The real copier, with a hook after each piece it has written.
class InterferingCopier : public FileCopier {
public:
    CopyOutcome copy(const QString& source, const QString& target, bool replace, const Progress&) override {
        return real.copy(source, target, replace, [this](std::int64_t done, std::int64_t total) {
            if (done < total && afterAPiece)
                std::exchange(afterAPiece, nullptr)();
        });
    }
    QStringList removeLeftParts(const QString& folder) override { return real.removeLeftParts(folder); }
    std::function<void()> afterAPiece;
    DurableFileCopier real;
};

} // namespace

TEST_F(VolumesTest, VolumesThatComeAndGoWhileTheWindowRunsAreListedAfterTheirNotice) {
    TestVolume first(at("ERSTER"), TestVolume::Ext4, "ERSTER");
    if (first.path.isEmpty())
        GTEST_SKIP() << first.skipReason.toStdString();
    auto form = start();
    Ui::TForm1& ui = form->form();
    QListWidget& list = *ui.CheckListBox1;
    ASSERT_EQ(listTexts(list), QStringList{at("ERSTER") + "//Festplatte ERSTER"});
    list.item(0)->setCheckState(Qt::Checked);

    TestVolume second(at("ZWEITER"), TestVolume::Ext4, "ZWEITER");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.count() == 2; }, 10000));
    EXPECT_EQ(listTexts(list).last(), at("ZWEITER") + "//Festplatte ZWEITER");
    EXPECT_EQ(list.item(0)->checkState(), Qt::Checked) << "the check survives the arrival";
    EXPECT_EQ(ui.Label12->text(), "hier ebenfalls speichern");

    TestVolume ram1(at("ram1"), TestVolume::Tmpfs, "ram1", "1m");
    TestVolume ram2(at("ram2"), TestVolume::Tmpfs, "ram2", "1m");
    TestVolume ram3(at("ram3"), TestVolume::Tmpfs, "ram3", "1m");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.count() == 5; }, 10000));
    EXPECT_EQ(listTexts(list).at(2), at("ram1") + "//RAMdisk ram1");
    EXPECT_EQ(ui.Label12->text(), "hier ebenfalls speichern (max. 4)");

    second.unmountLazily();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.count() == 4; }, 10000));
    EXPECT_FALSE(listTexts(list).join('|').contains("ZWEITER"));
    EXPECT_EQ(ui.Label12->text(), "hier ebenfalls speichern");
    EXPECT_EQ(list.item(0)->checkState(), Qt::Checked);
}

TEST_F(VolumesTest, ACopyOntoAVolumeTooSmallIsToldAndLeavesNothingBehind) {
    TestVolume small(at("KLEIN"), TestVolume::Ext4, "KLEIN", "2M");
    if (small.path.isEmpty())
        GTEST_SKIP() << small.skipReason.toStdString();
    auto form = start();
    const QByteArray recording = makeRecording("Vortrag.mp3", 4 << 20);
    form->recordingCopies().copy(recordings(), "Vortrag.mp3", {at("KLEIN") + "/"});
    waitForCopies(*form);
    const QStringList told = dialogs.shown().filter("konnte nicht nach");
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.first().contains("Auf dem Datenträger ist nicht genug Platz."))
        << told.first().toStdString();
    EXPECT_TRUE(partialFiles(at("KLEIN")).isEmpty());
    EXPECT_FALSE(QFile::exists(at("KLEIN/Vortrag.mp3")));
    EXPECT_EQ(bytesOf(recordings() + "Vortrag.mp3"), recording);
}

TEST_F(VolumesTest, AStickPulledDuringACopyIsToldAndThenLeavesTheList) {
    auto stick = std::make_unique<TestVolume>(at("STICK"), TestVolume::Ext4, "STICK", "16M");
    if (stick->path.isEmpty())
        GTEST_SKIP() << stick->skipReason.toStdString();
    InterferingCopier interfering;
    interfering.afterAPiece = [&] { stick->unmountLazily(); };
    copierInUse = &interfering;
    auto form = start();
    ASSERT_EQ(form->form().CheckListBox1->count(), 1);
    const QByteArray recording = makeRecording("Vortrag.mp3", 3 << 20);
    form->recordingCopies().copy(recordings(), "Vortrag.mp3", {at("STICK") + "/"});
    waitForCopies(*form);
    const QStringList told = dialogs.shown().filter("konnte nicht nach");
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.first().contains("Der Datenträger wurde während des Kopierens entfernt."))
        << told.first().toStdString();
    EXPECT_EQ(bytesOf(recordings() + "Vortrag.mp3"), recording);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->form().CheckListBox1->count() == 0; }, 10000));
}

TEST_F(VolumesTest, APartialCopyLeftByACrashIsRemovedWhenItsVolumeIsListed) {
    TestVolume stick(at("STICK"), TestVolume::Ext4, "STICK");
    if (stick.path.isEmpty())
        GTEST_SKIP() << stick.skipReason.toStdString();
    for (const char* name : {"Vortrag.mp3.kandolor.part", "eigene.part", "Vortrag.mp3"}) {
        QFile file(at("STICK/") + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    auto form = start();
    EXPECT_EQ(partialFiles(at("STICK")), QStringList{"eigene.part"});
    EXPECT_TRUE(QFile::exists(at("STICK/Vortrag.mp3")));
    EXPECT_EQ(dialogs.shown().filter("unvollständige Kopien").size(), 1);
}

// A recording with characters that exFAT refuses (it came into the folder by other ways) is copied to an
// exFAT stick under a name the stick takes, and the operator is told so; nothing says the stick was removed.
TEST_F(VolumesTest, ANameExfatRefusesArrivesUnderANameItTakes) {
    TestVolume stick(at("EXFAT"), TestVolume::Exfat, "EXFAT", "16M");
    if (stick.path.isEmpty())
        GTEST_SKIP() << stick.skipReason.toStdString();
    auto form = start();
    const QByteArray recording = makeRecording("Vortrag: Teil 1?.mp3", 1 << 20);
    form->recordingCopies().copy(recordings(), "Vortrag: Teil 1?.mp3", {at("EXFAT") + "/"});
    waitForCopies(*form);
    EXPECT_EQ(bytesOf(at("EXFAT/Vortrag Teil 1.mp3")), recording);
    EXPECT_EQ(dialogs.shown().filter("entfernt"), QStringList());
    EXPECT_EQ(dialogs.shown().filter("als Vortrag Teil 1.mp3 gespeichert").size(), 1)
        << dialogs.shown().join('|').toStdString();
}

// A stick that the kernel turns read-only after an error during the copy is told as write-protected or
// damaged, with the advice to have it checked.
TEST_F(VolumesTest, AStickTurnedReadOnlyByAnErrorIsToldAsWriteProtectedOrDamaged) {
    TestVolume stick(at("STICK"), TestVolume::Ext4, "STICK", "16M");
    if (stick.path.isEmpty())
        GTEST_SKIP() << stick.skipReason.toStdString();
    InterferingCopier interfering;
    interfering.afterAPiece = [&] { EXPECT_TRUE(stick.failAndTurnReadOnly()); };
    copierInUse = &interfering;
    auto form = start();
    const QByteArray recording = makeRecording("Vortrag.mp3", 3 << 20);
    form->recordingCopies().copy(recordings(), "Vortrag.mp3", {at("STICK") + "/"});
    waitForCopies(*form);
    const QStringList told = dialogs.shown().filter("konnte nicht nach");
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.first().contains("schreibgeschützt oder beschädigt")) << told.first().toStdString();
    EXPECT_TRUE(told.first().contains("an einem Computer geprüft werden")) << told.first().toStdString();
    EXPECT_EQ(bytesOf(recordings() + "Vortrag.mp3"), recording);
}
