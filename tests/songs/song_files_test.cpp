#include "settings/UiTexts.h"
#include "songs/SongFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString& folder, const QString& name) {
    QFile f(folder + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
}

class SongFolder : public ::testing::Test {
protected:
    QString folder() const { return dir.path() + QLatin1Char('/'); }
    QTemporaryDir dir;
};

} // namespace

TEST(SongFileName, PadsToThreeDigitsWithoutCutting) {
    EXPECT_EQ(songFileName(QStringLiteral("X"), 7, QStringLiteral(".mp3")), QStringLiteral("iasn_X_007.mp3"));
    EXPECT_EQ(songFileName(QStringLiteral("X"), 42, QStringLiteral(".mp3")),
              QStringLiteral("iasn_X_042.mp3"));
    EXPECT_EQ(songFileName(QStringLiteral("E"), 1234, QStringLiteral(".mp3")),
              QStringLiteral("iasn_E_1234.mp3"));
}

struct MaskCase {
    const char* name;
    const char* mask;
    bool matches;
};

class FileMask : public ::testing::TestWithParam<MaskCase> {};

TEST_P(FileMask, MatchesWildcardsIgnoringCase) {
    const MaskCase& c = GetParam();
    EXPECT_EQ(matchesFileMask(QString::fromUtf8(c.name), QString::fromUtf8(c.mask)), c.matches)
        << c.name << " ~ " << c.mask;
}

INSTANTIATE_TEST_SUITE_P(Cases, FileMask,
                         ::testing::Values(MaskCase{"iasn_X_007.mp3", "iasn_X_007.mp3", true},
                                           MaskCase{"IASN_x_007.MP3", "iasn_X_007.mp3", true},
                                           MaskCase{"iasn_E_007.mp3", "iasn_*_007.mp3", true},
                                           MaskCase{"iasn_E_0071.mp3", "iasn_*_007.mp3", false},
                                           MaskCase{"iasn_E_007.mp3x", "iasn_*_007.mp3", false},
                                           MaskCase{"song.mp3", "*.mp3", true},
                                           MaskCase{"song.mp3.wav", "*.mp3", false},
                                           MaskCase{"Lied_ä.MP3", "*.mp3", true},
                                           MaskCase{"GRÜN.mp3", "grün.mp3", true}));

TEST_F(SongFolder, FindsTheLanguageFileFirstThenFallsBackToAnyLanguage) {
    touch(folder(), QStringLiteral("iasn_F_007.mp3"));
    touch(folder(), QStringLiteral("iasn_E_007.mp3"));
    const QString ext = QStringLiteral(".mp3");
    EXPECT_EQ(FindSongFile(folder(), QStringLiteral("X"), ext, 7, true), QStringLiteral("iasn_E_007.mp3"));
    EXPECT_EQ(FindSongFile(folder(), QStringLiteral("X"), ext, 7, false), QString());
    EXPECT_EQ(FindSongFile(folder(), QStringLiteral("F"), ext, 7, false), QStringLiteral("iasn_F_007.mp3"));
    EXPECT_EQ(FindSongFile(folder(), QStringLiteral("X"), ext, 8, true), QString());
}

TEST_F(SongFolder, MatchesNamesInAnyCaseAndTakesTheFirstInCaseInsensitiveOrder) {
    touch(folder(), QStringLiteral("IASN_x_009.MP3"));
    EXPECT_EQ(FindSongFile(folder(), QStringLiteral("X"), QStringLiteral(".mp3"), 9, false),
              QStringLiteral("IASN_x_009.MP3"));
    // Byte order would put "iasn_F" before "iasn_e"; case-insensitive order puts "e" first.
    touch(folder(), QStringLiteral("iasn_F_010.mp3"));
    touch(folder(), QStringLiteral("iasn_e_010.mp3"));
    EXPECT_EQ(FindSongFile(folder(), QStringLiteral("X"), QStringLiteral(".mp3"), 10, true),
              QStringLiteral("iasn_e_010.mp3"));
}

TEST_F(SongFolder, IgnoresFoldersAndAMissingFolder) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("iasn_X_011.mp3")));
    EXPECT_EQ(FindSongFile(folder(), QStringLiteral("X"), QStringLiteral(".mp3"), 11, true), QString());
    EXPECT_EQ(CountSongFiles(folder(), QStringLiteral(".mp3")), 0);
    EXPECT_EQ(FindSongFile(QString(), QStringLiteral("X"), QStringLiteral(".mp3"), 11, true), QString());
    EXPECT_EQ(CountSongFiles(folder() + QStringLiteral("gone/"), QStringLiteral(".mp3")), 0);
}

TEST_F(SongFolder, CountsFilesWithTheExtensionAndWarnsBelow135) {
    for (int i = 1; i <= 134; ++i)
        touch(folder(), QStringLiteral("song%1.mp3").arg(i));
    touch(folder(), QStringLiteral("notes.txt"));
    EXPECT_EQ(CountSongFiles(folder(), QStringLiteral(".mp3")), 134);
    EXPECT_EQ(songFolderWarning(folder(), QStringLiteral(".mp3")), uiText(UiText::FewerSongsWarning));
    touch(folder(), QStringLiteral("LOUD.MP3"));
    EXPECT_EQ(CountSongFiles(folder(), QStringLiteral(".mp3")), 135);
    EXPECT_EQ(songFolderWarning(folder(), QStringLiteral(".mp3")), QString());
}
