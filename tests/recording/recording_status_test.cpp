#include "recording/RecordingStatus.h"

#include <gtest/gtest.h>

using namespace recording;

TEST(RecordingStatus, RoomComesFirstThenSilenceThenTheEncoder) {
    EXPECT_EQ(StatusText({}), QString());
    EXPECT_EQ(StatusText({-1, false, true}), QStringLiteral("Encoder kommt nicht nach !"));
    EXPECT_EQ(StatusText({30, true, true}), QStringLiteral("Kein Eingangssignal !"))
        << "30 minutes are enough";
    EXPECT_EQ(StatusText({29, true, true}), QStringLiteral("Speicher fast voll: noch 29 Minuten Aufnahme"));
    EXPECT_EQ(MinutesOfRoom(-1), -1);
    EXPECT_EQ(MinutesOfRoom(2 * 360000 - 1), 1);
    EXPECT_EQ(MinutesOfRoom(2 * 360000), 2);
}

TEST(SilenceWatch, ThirtySecondsBelowMinusSixtyDecibelsAcrossASplit) {
    SilenceWatch watch;
    EXPECT_FALSE(watch.update(0.0, 32));
    EXPECT_FALSE(watch.update(20.0, 32));
    EXPECT_FALSE(watch.update(5.0, 10)) << "a split starts the seconds again; 25 s of silence so far";
    EXPECT_TRUE(watch.update(10.0, 0));
    EXPECT_FALSE(watch.update(10.05, 33)) << "a signal ends it at once";
    EXPECT_FALSE(watch.update(39.0, 0));
    EXPECT_FALSE(watch.update(80.0, -1)) << "no level (no recording) is no silence";
}
