#include "songs/WeekSlots.h"

#include "common/KandolorError.h"
#include "common/TextFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

DateTime day(int y, int m, int d) {
    return toDateTime(QDate(y, m, d));
}

class WeekSlotsFile : public ::testing::Test {
protected:
    void SetUp() override {
        list.row(1).date = QStringLiteral("25.05.2015");
        list.row(1).numbers = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                               QStringLiteral("4"), QStringLiteral("5")};
        list.row(2).date = QStringLiteral("01.06.2015");
        list.row(2).numbers = {QStringLiteral("12"), QStringLiteral("45"), QString(), QStringLiteral("88"),
                               QStringLiteral("133")};
        list.write(path());
    }
    QString path() const { return dir.filePath(QStringLiteral("liederliste.txt")); }
    QTemporaryDir dir;
    SongList list;
};

using Texts = std::array<std::optional<QString>, 3>;

} // namespace

TEST_F(WeekSlotsFile, WednesdayTakesTheMidweekColumnsAndSkipsEmptyNumbers) {
    const DateTime wednesday = day(2015, 6, 3) + 0.75; // the time of day does not matter
    const WeekSlots found = loadWeekSlots(path(), wednesday, dayOfWeek(wednesday));
    EXPECT_TRUE(found.listFileFound);
    EXPECT_EQ(found.week, 2);
    EXPECT_EQ(found.texts, (Texts{QStringLiteral("12"), QStringLiteral("45"), std::nullopt}));
    EXPECT_TRUE(found.runChangeHandlers);
    EXPECT_EQ(found.list, list);
}

TEST_F(WeekSlotsFile, SundayOfTheSameWeekTakesTheWeekendColumns) {
    const DateTime sunday = day(2015, 6, 7);
    ASSERT_EQ(dayOfWeek(sunday), 1);
    const WeekSlots found = loadWeekSlots(path(), sunday, 1);
    EXPECT_EQ(found.week, 2);
    EXPECT_EQ(found.texts, (Texts{std::nullopt, QStringLiteral("88"), QStringLiteral("133")}));
    EXPECT_TRUE(found.runChangeHandlers);
}

TEST_F(WeekSlotsFile, AWeekWithoutRowChangesNoSlotAndRunsNoHandler) {
    const WeekSlots found = loadWeekSlots(path(), day(2015, 6, 8), 2);
    EXPECT_EQ(found.week, 0);
    EXPECT_EQ(found.texts, Texts{});
    EXPECT_FALSE(found.runChangeHandlers);
}

TEST_F(WeekSlotsFile, ADateThatDoesNotConvertStopsTheSearchWithTheConversionMessage) {
    list.row(1).date = QStringLiteral("2015-05-25");
    list.write(path());
    try {
        loadWeekSlots(path(), day(2015, 6, 3), 4);
        FAIL();
    } catch (const KandolorError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("''2015-05-25'' ist kein gültiges Datum"));
    }
}

TEST(WeekSlots, WithoutSongListAllSlotsBecomeZero) {
    QTemporaryDir dir;
    const WeekSlots found = loadWeekSlots(dir.filePath(QStringLiteral("none.txt")), day(2015, 6, 3), 4);
    EXPECT_FALSE(found.listFileFound);
    const QString zero = QStringLiteral("0");
    EXPECT_EQ(found.texts, (Texts{zero, zero, zero}));
    EXPECT_TRUE(found.runChangeHandlers);
}

TEST(WeekSlots, FirstMatchingRowWinsAndTheDayAfterSixDaysIsAnotherWeek) {
    SongList list;
    list.row(1).date = QStringLiteral("02.06.2015");
    list.row(1).numbers[1] = QStringLiteral("7");
    list.row(2).date = QStringLiteral("01.06.2015");
    list.row(2).numbers[1] = QStringLiteral("8");
    EXPECT_EQ(findThisWeek(list, day(2015, 6, 3)), 1);
    EXPECT_EQ(findThisWeek(list, day(2015, 6, 1)), 2); // 02.06. lies ahead
    EXPECT_EQ(findThisWeek(list, day(2015, 6, 8)), 1);
    EXPECT_EQ(findThisWeek(list, day(2015, 6, 9)), 0);
}

TEST(SlotTextsOfWeek, KeepsTextsAsWrittenAndSkipsZeroAndNonNumbers) {
    SongWeek week;
    week.numbers = {QStringLiteral(" 12"), QStringLiteral("abc"), QStringLiteral("0"), QStringLiteral("-4"),
                    QStringLiteral("$10")};
    EXPECT_EQ(slotTextsOfWeek(week, 6), (Texts{QStringLiteral(" 12"), std::nullopt, std::nullopt}));
    EXPECT_EQ(slotTextsOfWeek(week, 7), (Texts{std::nullopt, std::nullopt, QStringLiteral("$10")}));
}

TEST(UserInfo, IsProgramNameUserAndDate) {
    EXPECT_EQ(userInfoText(QStringLiteral("Max Muster"), day(2015, 6, 3) + 0.5),
              QStringLiteral("Kandolor   Max Muster  03.06.2015"));
}

TEST(WeekSlots, AListWithFewerThan54WeeksStillReadsAfterItWasWrittenBack) {
    QTemporaryDir dir;
    const QString import = dir.filePath(QStringLiteral("import.txt"));
    const QString listFile = dir.filePath(QStringLiteral("liederliste.txt"));
    TextFile::writeLines(import, {QStringLiteral("01.06.2015 12,45,,88,133")});
    ASSERT_TRUE(importSongList(import, listFile));
    const WeekSlots found = loadWeekSlots(listFile, day(2015, 6, 8), 2); // no row for this week
    EXPECT_EQ(found.week, 0);
    EXPECT_EQ(found.list.row(2), SongWeek{});
}
