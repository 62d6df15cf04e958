#include "songs/SongListEditor.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace SongListEditor;

namespace {
DateTime day(int y, int m, int d) {
    return toDateTime(QDate(y, m, d));
}
} // namespace

TEST(SongListEditor, WeeksStartWithLastWeeksMonday) {
    const SongList wednesday = emptyWeeks(day(2015, 6, 3) + 0.9);
    EXPECT_EQ(wednesday.row(1).date, QStringLiteral("25.05.2015"));
    EXPECT_EQ(wednesday.row(2).date, QStringLiteral("01.06.2015"));
    EXPECT_EQ(wednesday.row(53).date, QStringLiteral("23.05.2016"));
    EXPECT_EQ(wednesday.row(54).date, QStringLiteral("30.05.2016"));
    EXPECT_EQ(wednesday.row(54).numbers, (std::array<QString, 5>{}));
    EXPECT_EQ(emptyWeeks(day(2015, 6, 7)).row(1).date, QStringLiteral("01.06.2015"));
    EXPECT_EQ(emptyWeeks(day(2015, 6, 8)).row(1).date, QStringLiteral("01.06.2015"));
    EXPECT_EQ(headings().size(), Columns);
}

TEST(SongListEditor, PlacesFileLinesByDateAndDropsWeeksOutOfView) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("liederliste.txt"));
    EXPECT_EQ(load(path, day(2015, 6, 3)), emptyWeeks(day(2015, 6, 3)));

    SongList file;
    file.row(1).date = QStringLiteral("18.05.2015");
    file.row(1).numbers[0] = QStringLiteral("1");
    file.row(2).date = QStringLiteral("01.06.2015");
    file.row(2).numbers = {QStringLiteral("12"), QStringLiteral("45"), QString(), QStringLiteral("88"),
                           QStringLiteral("133")};
    file.row(3).date = QStringLiteral("30.05.2016");
    file.row(3).numbers[4] = QStringLiteral("99");
    file.write(path);

    const SongList shown = load(path, day(2015, 6, 3));
    EXPECT_EQ(shown.row(1).date, QStringLiteral("25.05.2015"));
    EXPECT_EQ(shown.row(1).numbers, (std::array<QString, 5>{}));
    EXPECT_EQ(shown.row(2), file.row(2));
    EXPECT_EQ(shown.row(54), file.row(3));
    for (int r = 1; r <= SongList::Weeks; ++r)
        EXPECT_NE(shown.row(r).date, QStringLiteral("18.05.2015"));
}

struct MessageCase {
    const char* text;
    bool message;
};

class TypedListNumber : public ::testing::TestWithParam<MessageCase> {};

TEST_P(TypedListNumber, WarnsForNonNumbersAndNumbersAboveTheSongCount) {
    const QString text = QString::fromUtf8(GetParam().text);
    const QString expected =
        GetParam().message ? QLatin1Char('"') + text + QStringLiteral("\" ist keine gültige Liednummer !")
                           : QString();
    EXPECT_EQ(numberMessage(text, 135), expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, TypedListNumber,
                         ::testing::Values(MessageCase{"2", false}, MessageCase{"20", false},
                                           MessageCase{"200", true}, MessageCase{"135", false},
                                           MessageCase{"136", true}, MessageCase{"0", false},
                                           MessageCase{"-5", false}, MessageCase{"a", true},
                                           MessageCase{"ab", true}, MessageCase{"", false}));
