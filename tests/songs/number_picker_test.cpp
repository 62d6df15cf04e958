#include "songs/NumberPicker.h"

#include "common/KandolorError.h"

#include <gtest/gtest.h>

using namespace NumberPicker;

TEST(NumberPicker, GridSizeFollowsTheSongCount) {
    EXPECT_EQ(rowCount(135), 9);
    EXPECT_EQ(height(135), 150);
    EXPECT_EQ(rowCount(140), 10);
    EXPECT_EQ(height(140), 165);
    EXPECT_EQ(cellText(9, 4, 140), QStringLiteral("140"));
    EXPECT_EQ(cellText(8, 14, 135), QStringLiteral("135"));
    EXPECT_EQ(cellText(9, 0, 140), QStringLiteral("136"));
    EXPECT_EQ(cellText(9, 5, 140), QString());
    EXPECT_EQ(cellText(8, 14, 134), QString());
}

TEST(NumberPicker, MarksTheCurrentNumberAndTurnsCellsIntoNumbers) {
    const int code = requestCode(Slot2, 30);
    EXPECT_EQ(code, 2030);
    EXPECT_EQ(callerOf(code), Slot2);
    EXPECT_EQ(markedCell(code), (Cell{1, 14}));
    EXPECT_EQ(markedCell(requestCode(Slot1, 15)), (Cell{0, 14}));
    EXPECT_EQ(markedCell(requestCode(Slot1, 1)), (Cell{0, 0}));
    EXPECT_EQ(markedCell(4000), std::nullopt);
    EXPECT_EQ(numberAt(2, 0), 31);
    EXPECT_EQ(numberAt(8, 14), 135); // also past the last song
    EXPECT_EQ(topBelow(40, 21), 71);
}

TEST(NumberPicker, OpensOnlyForANumber) {
    EXPECT_EQ(slotRequestCode(Slot3, QStringLiteral(" 12")), 3012);
    try {
        slotRequestCode(Slot1, QStringLiteral("1a"));
        FAIL();
    } catch (const KandolorError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("''1a'' ist kein gültiger Integer-Wert"));
    }
}
