#include "songs/SongList.h"

#include "common/DateTime.h"
#include "common/KandolorError.h"
#include "common/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

SongWeek week(const char* date, std::array<const char*, 5> numbers) {
    SongWeek w;
    w.date = QString::fromUtf8(date);
    for (std::size_t i = 0; i < 5; ++i)
        w.numbers[i] = QString::fromUtf8(numbers[i]);
    return w;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

struct LineCase {
    const char* line;
    SongWeek expected;
};

class SongListLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(SongListLine, SplitsIntoDateAndFiveFieldsOfAtMostTenCharacters) {
    EXPECT_EQ(parseSongListLine(QString::fromUtf8(GetParam().line)), GetParam().expected) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SongListLine,
    ::testing::Values(LineCase{"01.06.2015 12,45,,88,133", week("01.06.2015", {"12", "45", "", "88", "133"})},
                      LineCase{"01.06.2015 ,,,,", week("01.06.2015", {"", "", "", "", ""})},
                      LineCase{"", week("", {"", "", "", "", ""})},
                      LineCase{"01.06.2015 12345678901234,2,3,4,5",
                               week("01.06.2015", {"1234567890", "2", "3", "4", "5"})},
                      // The fifth field is the rest of the line, further commas included.
                      LineCase{"01.06.2015 1,2,3,4,5,6,7", week("01.06.2015", {"1", "2", "3", "4", "5,6,7"})},
                      LineCase{"01.06.2015 7", week("01.06.2015", {"7", "", "", "", ""})},
                      LineCase{"01.06.2015X1,2,3,4,5", week("01.06.2015", {"1", "2", "3", "4", "5"})},
                      LineCase{"1.6.2015 12,45,,88,133", week("1.6.2015 1", {"", "45", "", "88", "133"})}));

TEST(SongList, ReadsFiftyFourLinesWithMissingLinesAsEmptyWeeksAndWritesThemBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("liederliste.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("01.06.2015 12,45,,88,133\n08.06.2015 1,2,3,4,5\r\n");
    for (int i = 3; i <= 60; ++i)
        f.write("15.06.2015 9,9,9,9,9\r\n");
    f.close();

    SongList list = SongList::read(path);
    EXPECT_EQ(list.row(1), week("01.06.2015", {"12", "45", "", "88", "133"}));
    EXPECT_EQ(list.row(54), week("15.06.2015", {"9", "9", "9", "9", "9"}));

    const SongList shortList = SongList::fromLines({QStringLiteral("01.06.2015 1,2,3,4,5")});
    EXPECT_EQ(shortList.row(2), SongWeek{});
    EXPECT_EQ(shortList.row(54), SongWeek{});

    list.row(2) = week("08.06.2015", {"", "", "", "", ""});
    list.write(path);
    const QByteArray bytes = contents(path);
    EXPECT_EQ(bytes.count("\r\n"), 54);
    EXPECT_TRUE(bytes.startsWith("01.06.2015 12,45,,88,133\r\n08.06.2015 ,,,,\r\n15.06.2015 9,9,9,9,9\r\n"));
    EXPECT_EQ(SongList::read(path), list);
}

TEST(SongListImport, TakesTheImportFileDeletesItAndReplacesTheSongList) {
    QTemporaryDir dir;
    const QString import = importFilePath(dir.path());
    const QString listFile = dir.filePath(QStringLiteral("common.txt"));
    EXPECT_EQ(import, dir.path() + QStringLiteral("/liederliste.txt"));
    EXPECT_FALSE(importSongList(import, listFile));
    EXPECT_FALSE(QFile::exists(listFile));

    SongList old;
    old.row(1) = week("25.05.2015", {"1", "1", "1", "1", "1"});
    old.write(listFile);
    QFile f(import);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("01.06.2015 12,45,,88,133\r\n08.06.2015 \xDC"
            "ber,2,3,4,5\r\n"); // Windows-1252
    f.close();

    EXPECT_TRUE(importSongList(import, listFile));
    EXPECT_FALSE(QFile::exists(import));
    const SongList now = SongList::read(listFile);
    EXPECT_EQ(now.row(1), week("01.06.2015", {"12", "45", "", "88", "133"}));
    EXPECT_EQ(now.row(2).numbers[0], QStringLiteral("Über"));
    EXPECT_EQ(now.row(3), SongWeek{});
    EXPECT_EQ(contents(listFile).count("\r\n"), 54);
}

TEST(SongListImport, ShortDatesAreWrittenInFullAndADateThatIsNoDateRefusesTheImport) {
    QTemporaryDir dir;
    const QString import = importFilePath(dir.path());
    const QString listFile = dir.filePath(QStringLiteral("common.txt"));
    TextFile::writeLines(import,
                         {QStringLiteral("1.7.2024 12,45,,88,133"), QString(), QStringLiteral("8.7.2024")});
    EXPECT_TRUE(importSongList(import, listFile));
    const SongList now = SongList::read(listFile);
    EXPECT_EQ(now.row(1), week("01.07.2024", {"12", "45", "", "88", "133"}));
    EXPECT_EQ(now.row(2), SongWeek{});
    EXPECT_EQ(now.row(3).date, QStringLiteral("08.07.2024"));
    EXPECT_NO_THROW(stringToDate(now.row(1).date));

    TextFile::writeLines(import, {QStringLiteral("32.7.2024 1,2,3,4,5")});
    const QByteArray before = contents(listFile);
    try {
        importSongList(import, listFile);
        ADD_FAILURE() << "the import went on";
    } catch (const KandolorError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("''32.7.2024'' ist kein gültiges Datum"));
    }
    EXPECT_EQ(contents(listFile), before);
    EXPECT_TRUE(QFile::exists(import)) << "the file is kept for the operator to mend";
}

TEST(SongList, AShortDateIsWrittenSoThatTheLineReadsBackTheSame) {
    SongList list;
    list.row(1) = parseSongListLine(QStringLiteral("1.7.24"));
    list.row(1).numbers[0] = QStringLiteral("12");
    const SongList again = SongList::fromLines(list.toLines());
    EXPECT_EQ(again.toLines(), list.toLines());
    EXPECT_EQ(again.row(1).numbers[0], QStringLiteral("12")) << "the number is not taken into the date";
}
