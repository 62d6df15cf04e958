#include "platform/DurableFileCopier.h"
#include "support/PrivateMounts.h"
#include "support/TmpfsMount.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr qsizetype MiB = 1 << 20;

// Bytes that differ from chunk to chunk, so a lost or repeated chunk shows.
QByteArray pattern(qsizetype size, int seed = 0) {
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = static_cast<char>((i >> 12) ^ (i * 31) ^ seed);
    return data;
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(data), data.size());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

int openDescriptors() {
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size();
}

// Every case also checks that no descriptor is left open, whatever the outcome.
class FileCopierTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(openDescriptors(), descriptorsBefore_); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    // A source file of `size` bytes in the temporary folder.
    QString source(qsizetype size, int seed = 0) {
        const QString file = path(QStringLiteral("source%1.mp3").arg(seed));
        writeFile(file, pattern(size, seed));
        return file;
    }

    const int descriptorsBefore_ = openDescriptors();
    QTemporaryDir dir_;
    DurableFileCopier copier_;
};

TEST_F(FileCopierTest, CopyArrivesWholeWithProgressAndNoPartialFile) {
    const QString from = source(2 * MiB + 12345);
    QDir().mkpath(path("stick"));
    writeFile(path("stick/copy.mp3.kandolor.part"), pattern(3 * MiB, 9)); // left by an interrupted copy
    std::vector<std::int64_t> done;
    const CopyOutcome outcome =
        copier_.copy(from, path("stick/copy.mp3"), false, [&](auto bytes, auto total) {
            EXPECT_EQ(total, 2 * MiB + 12345);
            done.push_back(bytes);
        });
    EXPECT_EQ(outcome.result, CopyResult::Done) << outcome.detail.toStdString();
    EXPECT_EQ(readFile(path("stick/copy.mp3")), pattern(2 * MiB + 12345));
    EXPECT_THAT(done, ElementsAre(MiB, 2 * MiB, 2 * MiB + 12345));
    // The partial file of another copy is never written into (it goes when its volume is listed).
    EXPECT_THAT(entries(path("stick")), ElementsAre("copy.mp3", "copy.mp3.kandolor.part"));
    EXPECT_EQ(readFile(path("stick/copy.mp3.kandolor.part")), pattern(3 * MiB, 9));
    EXPECT_EQ(readFile(from), pattern(2 * MiB + 12345));
}

// The operator's copy and the automatic one write the same name to the same stick at once: each has a
// partial file of its own, the first to finish wins and the other finds the name taken.
TEST_F(FileCopierTest, TwoCopiesToOneNameNeverShareAPartialFile) {
    const QString first = source(3 * MiB, 1);
    const QString second = source(2 * MiB, 2);
    CopyOutcome inner;
    int chunks = 0;
    const CopyOutcome outer = copier_.copy(first, path("copy.mp3"), false, [&](auto, auto) {
        if (++chunks == 1)
            inner = copier_.copy(second, path("copy.mp3"), false);
    });
    EXPECT_EQ(inner.result, CopyResult::Done) << inner.detail.toStdString();
    EXPECT_EQ(outer.result, CopyResult::Exists) << outer.detail.toStdString();
    EXPECT_EQ(readFile(path("copy.mp3")), pattern(2 * MiB, 2));
    EXPECT_THAT(entries(dir_.path()), ElementsAre("copy.mp3", "source1.mp3", "source2.mp3"));
}

// The partial name stays short: a final name of up to 255 bytes can be copied.
TEST_F(FileCopierTest, ALongNameThatFitsIsCopied) {
    const QString name = QString(251, QLatin1Char('x')) + QStringLiteral(".mp3");
    const CopyOutcome outcome = copier_.copy(source(5000), path(name), false);
    EXPECT_EQ(outcome.result, CopyResult::Done) << outcome.detail.toStdString();
    EXPECT_EQ(readFile(path(name)), pattern(5000));
}

// What the errors that sticks give mean: a refused name (exfat-fuse: "no such file", vfat: "invalid
// argument") is no removed stick, a kernel-read-only one is write-protected, and anything is "gone" only
// when the volume is.
TEST(CopyOutcomeOf, AStickIsGoneOnlyWhenItsVolumeIs) {
    EXPECT_EQ(CopyOutcomeOf(ENOENT, true).result, CopyResult::NameRefused);
    EXPECT_EQ(CopyOutcomeOf(EINVAL, true).result, CopyResult::NameRefused);
    EXPECT_EQ(CopyOutcomeOf(ENAMETOOLONG, true).result, CopyResult::NameRefused);
    EXPECT_EQ(CopyOutcomeOf(EROFS, true).result, CopyResult::WriteProtected);
    EXPECT_EQ(CopyOutcomeOf(ENOSPC, true).result, CopyResult::Full);
    EXPECT_EQ(CopyOutcomeOf(EEXIST, true).result, CopyResult::Exists);
    EXPECT_EQ(CopyOutcomeOf(EIO, true).result, CopyResult::Failed);
    for (const int error : {ENOENT, EIO, EROFS, ENOSPC, ENOTCONN})
        EXPECT_EQ(CopyOutcomeOf(error, false).result, CopyResult::Gone) << error;
}

// A target folder that goes away during the copy (as a stick's mount point does) stops the copy at once;
// the folder, wherever it is now, keeps nothing of it.
TEST_F(FileCopierTest, AFolderGoneDuringTheCopyStopsItAndKeepsNothing) {
    QDir().mkpath(path("stick"));
    int chunks = 0;
    const CopyOutcome outcome = copier_.copy(source(4 * MiB), path("stick/copy.mp3"), false, [&](auto, auto) {
        if (++chunks == 1)
            QDir().rename(path("stick"), path("away"));
    });
    EXPECT_EQ(outcome.result, CopyResult::Gone) << outcome.detail.toStdString();
    EXPECT_EQ(chunks, 1);
    EXPECT_THAT(entries(path("away")), IsEmpty());
}

TEST_F(FileCopierTest, ExistingTargetIsReplacedOnlyWhenAsked) {
    const QString from = source(3000);
    writeFile(path("target.mp3"), "older recording");
    EXPECT_EQ(copier_.copy(from, path("target.mp3"), false).result, CopyResult::Exists);
    EXPECT_EQ(readFile(path("target.mp3")), "older recording");

    // A file that appears under the target name while the copy runs is not overwritten either.
    const QString late = path("late.mp3");
    const CopyOutcome raced = copier_.copy(source(3 * MiB, 1), late, false, [&](auto, auto) {
        if (!QFile::exists(late))
            writeFile(late, "written meanwhile");
    });
    EXPECT_EQ(raced.result, CopyResult::Exists);
    EXPECT_EQ(readFile(late), "written meanwhile");

    EXPECT_EQ(copier_.copy(from, path("target.mp3"), true).result, CopyResult::Done);
    EXPECT_EQ(readFile(path("target.mp3")), pattern(3000));
    EXPECT_THAT(entries(dir_.path()), ElementsAre("late.mp3", "source0.mp3", "source1.mp3", "target.mp3"));
}

TEST_F(FileCopierTest, MissingSourceOrFolderWritesNothing) {
    EXPECT_EQ(copier_.copy(path("nothing.mp3"), path("copy.mp3"), true).result, CopyResult::SourceMissing);
    EXPECT_EQ(copier_.copy(source(10), path("gone/copy.mp3"), true).result, CopyResult::Gone);
    EXPECT_THAT(entries(dir_.path()), ElementsAre("source0.mp3"));
}

TEST_F(FileCopierTest, SeveralThreadsCopyAtOnce) {
    std::vector<QString> sources;
    for (int i = 0; i < 4; ++i)
        sources.push_back(source(2 * MiB + i, i + 1));
    std::vector<CopyResult> results(sources.size(), CopyResult::Failed);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < sources.size(); ++i)
        threads.emplace_back(
            [&, i] { results[i] = copier_.copy(sources[i], sources[i] + ".copy", false).result; });
    for (std::thread& thread : threads)
        thread.join();
    for (std::size_t i = 0; i < sources.size(); ++i) {
        EXPECT_EQ(results[i], CopyResult::Done);
        EXPECT_EQ(readFile(sources[i] + ".copy"), readFile(sources[i])) << i;
    }
}

TEST_F(FileCopierTest, RemoveLeftPartsRemovesOnlyPartialFiles) {
    for (const char* name : {"a.mp3.kandolor.part", "b.kandolor.part", "keep.mp3", "keep.kandolor.part.txt",
                             "keep.KANDOLOR.PART"})
        writeFile(path(name), "x");
    QDir().mkpath(path("folder.kandolor.part"));
    QDir().mkpath(path("sub"));
    writeFile(path("sub/deeper.kandolor.part"), "x");
    QFile::link(path("keep.mp3"), path("link.kandolor.part"));

    EXPECT_THAT(copier_.removeLeftParts(dir_.path()), ElementsAre("a.mp3.kandolor.part", "b.kandolor.part"));
    EXPECT_THAT(entries(dir_.path()),
                ElementsAre("folder.kandolor.part", "keep.KANDOLOR.PART", "keep.kandolor.part.txt",
                            "keep.mp3", "link.kandolor.part", "sub"));
    EXPECT_TRUE(QFile::exists(path("sub/deeper.kandolor.part")));
    EXPECT_THAT(copier_.removeLeftParts(path("no such folder")), IsEmpty());
}

TEST_F(FileCopierTest, FullVolumeKeepsSourceAndOtherFiles) {
    TestVolume volume(path("small"), TestVolume::Tmpfs, QStringLiteral("SMALL"), QStringLiteral("1M"));
    if (volume.path.isEmpty())
        GTEST_SKIP() << volume.skipReason.toStdString();
    writeFile(volume.path + "/other.mp3", "earlier copy");
    const QString from = source(3 * MiB);

    const CopyOutcome outcome = copier_.copy(from, volume.path + "/copy.mp3", false);
    EXPECT_EQ(outcome.result, CopyResult::Full) << outcome.detail.toStdString();
    EXPECT_THAT(entries(volume.path), ElementsAre("other.mp3"));
    EXPECT_EQ(readFile(volume.path + "/other.mp3"), "earlier copy");
    EXPECT_EQ(readFile(from), pattern(3 * MiB));
}

TEST_F(FileCopierTest, ReadOnlyVolumeIsWriteProtected) {
    TmpfsMount volume(path("locked"), TmpfsMount::ReadOnly);
    if (volume.path.isEmpty())
        GTEST_SKIP() << volume.skipReason.toStdString();
    const CopyOutcome outcome = copier_.copy(source(1000), volume.path + "/copy.mp3", false);
    EXPECT_EQ(outcome.result, CopyResult::WriteProtected) << outcome.detail.toStdString();
    EXPECT_THAT(entries(volume.path), IsEmpty());
}

// The stick's volume is detached during the copy (lazily, as the desktop does with a pulled stick): the
// copier stops, says so, and the device keeps neither the copy nor its partial file.
TEST_F(FileCopierTest, VolumeDetachedDuringCopyIsGone) {
    TestVolume volume(path("stick"), TestVolume::Ext4, QStringLiteral("STICK"), QStringLiteral("16M"));
    if (volume.path.isEmpty())
        GTEST_SKIP() << volume.skipReason.toStdString();
    const QString from = source(6 * MiB);
    int chunks = 0;
    const CopyOutcome outcome = copier_.copy(from, volume.path + "/copy.mp3", false, [&](auto, auto) {
        if (++chunks == 1)
            volume.unmountLazily();
    });
    EXPECT_EQ(outcome.result, CopyResult::Gone) << outcome.detail.toStdString();
    EXPECT_LT(chunks, 6);
    const QString device = volume.mountAgain(path("device"));
    ASSERT_FALSE(device.isEmpty());
    EXPECT_THAT(entries(device), ElementsAre("lost+found"));
    EXPECT_EQ(readFile(from), pattern(6 * MiB));
}

// A stick whose file system meets an error during the copy is turned read-only by the kernel: that is
// told as write-protected (or damaged), not as removed.
TEST_F(FileCopierTest, AVolumeTurnedReadOnlyByAnErrorIsWriteProtected) {
    TestVolume volume(path("stick"), TestVolume::Ext4, QStringLiteral("STICK"), QStringLiteral("16M"));
    if (volume.path.isEmpty())
        GTEST_SKIP() << volume.skipReason.toStdString();
    bool failed = false;
    const CopyOutcome outcome =
        copier_.copy(source(4 * MiB), volume.path + "/copy.mp3", false, [&](auto, auto) {
            if (!failed)
                failed = volume.failAndTurnReadOnly();
        });
    ASSERT_TRUE(failed);
    EXPECT_EQ(outcome.result, CopyResult::WriteProtected) << outcome.detail.toStdString();
    EXPECT_FALSE(QFile::exists(volume.path + "/copy.mp3"));
}

// exFAT (through exfat-fuse, which answers "no such file" for a name it refuses) and vfat: a refused name
// is told as such while the stick is there, and the longest names fit.
class StickFileSystemTest : public FileCopierTest, public ::testing::WithParamInterface<TestVolume::Type> {};

TEST_P(StickFileSystemTest, ARefusedNameIsNotARemovedStickAndLongNamesFit) {
    TestVolume volume(path("stick"), GetParam(), QStringLiteral("STICK"), QStringLiteral("16M"));
    if (volume.path.isEmpty())
        GTEST_SKIP() << volume.skipReason.toStdString();
    const QString from = source(2 * MiB);
    const CopyOutcome refused = copier_.copy(from, volume.path + "/Vortrag: Teil 1?.mp3", false);
    EXPECT_EQ(refused.result, CopyResult::NameRefused) << refused.detail.toStdString();

    const QString name = QString(250, QLatin1Char('x')) + QStringLiteral(".mp3");
    const CopyOutcome outcome = copier_.copy(from, volume.path + "/" + name, false);
    EXPECT_EQ(outcome.result, CopyResult::Done) << outcome.detail.toStdString();
    EXPECT_EQ(readFile(volume.path + "/" + name), pattern(2 * MiB));
    EXPECT_THAT(entries(volume.path), ElementsAre(name));
}

INSTANTIATE_TEST_SUITE_P(Sticks, StickFileSystemTest, ::testing::Values(TestVolume::Exfat, TestVolume::Vfat),
                         [](const auto& info) { return info.param == TestVolume::Exfat ? "exFAT" : "vfat"; });

} // namespace
