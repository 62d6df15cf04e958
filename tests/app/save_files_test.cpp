#include "app/MainWindowFixture.h"
#include "support/TmpfsMount.h"

namespace {

enum class Failure { FullDisk, ReadOnly };

class SaveFilesTest : public MainWindowFixture, public testing::WithParamInterface<Failure> {};

} // namespace

// The settings are saved at the close onto a volume that is full or read-only: the save fails with the
// message of a failed save, the window stays open, and the settings file of the last close is still there,
// byte for byte, with nothing left beside it.
TEST_P(SaveFilesTest, ASaveThatFailsLeavesTheOldFileByteForByte) {
    TmpfsMount volume(folders.userDataFolder() + QStringLiteral("/Kandolor"), TmpfsMount::Writable,
                      QStringLiteral("64k"));
    if (volume.path.isEmpty())
        GTEST_SKIP() << volume.skipReason.toStdString();
    writeFile(settingsFile(), fullSettings());
    const QByteArray before = bytesOf(settingsFile());
    auto form = start();
    form->show();
    form->resize(640, 480); // the file to be saved differs from the one on the volume
    QStringList onTheVolume = {QStringLiteral("Kandolor.cfg")};
    if (GetParam() == Failure::FullDisk) {
        QFile filler(volume.path + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        onTheVolume << QStringLiteral("filler");
    } else {
        ASSERT_TRUE(volume.makeReadOnly());
    }
    dialogs.clear();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(dialogs.shown(), QStringList{GetParam() == Failure::FullDisk ? QStringLiteral("E/A-Fehler 101")
                                                                           : QStringLiteral("E/A-Fehler 5")});
    EXPECT_EQ(bytesOf(settingsFile()), before);
    onTheVolume.sort();
    EXPECT_EQ(QDir(volume.path).entryList(QDir::Files | QDir::Hidden, QDir::Name), onTheVolume);
    form->Beendenohnespeichern1Click();
}

INSTANTIATE_TEST_SUITE_P(Volumes, SaveFilesTest, testing::Values(Failure::FullDisk, Failure::ReadOnly),
                         [](const testing::TestParamInfo<Failure>& info) {
                             return info.param == Failure::FullDisk ? std::string("FullDisk")
                                                                    : std::string("ReadOnly");
                         });
