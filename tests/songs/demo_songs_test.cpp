// The demo song generator writes titles in the form the title reader expects.
#include "songs/Id3TitleReader.h"
#include "songs/SongFiles.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DemoSongs, GeneratedSongsAreFoundAndShowTheirTitles) {
    if (QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
        GTEST_SKIP() << "lame or python3 is not installed";
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/songs/");
    QProcess tool;
    tool.start(QStringLiteral("python3"), {QStringLiteral(KANDOLOR_SOURCE_DIR "/tools/make-demo-songs.py"),
                                           folder, QStringLiteral("16")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();

    EXPECT_EQ(CountSongFiles(folder, QStringLiteral(".mp3")), 16);
    const QString first = FindSongFile(folder, QStringLiteral("X"), QStringLiteral(".mp3"), 1, true);
    EXPECT_EQ(first, QStringLiteral("iasn_X_001.mp3"));
    EXPECT_EQ(ReadId3v2Text(folder + first, 1), QStringLiteral("Morgenlied in C-Dur"));
    EXPECT_EQ(ReadId3v2Text(folder + QStringLiteral("iasn_X_016.mp3"), 1),
              QStringLiteral("Morgenlied in D-Dur"));
    EXPECT_EQ(ReadId3v2Text(folder + QStringLiteral("iasn_X_003.mp3"), 1),
              QStringLiteral("Frühlingslied in C-Dur"));
}
