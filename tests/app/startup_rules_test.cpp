#include "app/StartupRules.h"

#include <gtest/gtest.h>

using namespace StartupRules;

TEST(StartupRules, NextMeetingTimeTakesTheNextOneAheadOrElseTheSecond) {
    const DateTime evening = timeOfDay(19, 30);
    const DateTime morning = timeOfDay(10, 0);
    EXPECT_EQ(nextMeetingTime(evening, morning, timeOfDay(8, 0)), morning);
    EXPECT_EQ(nextMeetingTime(evening, morning, timeOfDay(12, 0)), evening);
    EXPECT_EQ(nextMeetingTime(evening, morning, timeOfDay(21, 0)), morning);
    EXPECT_EQ(nextMeetingTime(morning, evening, timeOfDay(8, 0)), morning);
    EXPECT_EQ(nextMeetingTime(morning, evening, timeOfDay(12, 0)), evening);
}

TEST(StartupRules, SplitMenuChoice) {
    EXPECT_EQ(splitMenuChoice(10), 10);
    EXPECT_EQ(splitMenuChoice(40), 40);
    EXPECT_EQ(splitMenuChoice(100), 100);
    EXPECT_EQ(splitMenuChoice(15), 100);
    EXPECT_EQ(splitMenuChoice(101), -1);
    EXPECT_EQ(splitMenuChoice(-1), -1);
}

TEST(StartupRules, DefaultRecordingFolderHasNoBlanks) {
    EXPECT_EQ(defaultRecordingFolder(QStringLiteral("/home/Max Muster")),
              QStringLiteral("/home/Max_Muster/Aufnahmen"));
}
