#include "app/Settings.h"
#include "common/KandolorError.h"

#include <gtest/gtest.h>

using namespace SettingsFormat;

namespace {

Settings everyLineSet() {
    Settings s;
    s.windowHeight = 700;
    s.windowWidth = 900;
    s.InputVolume = 37;
    s.StartMelodyOn = true;
    s.StartMelodyFile = QStringLiteral("/usr/share/sounds/Glocke Größe.wav");
    s.SplitMinutes = 30;
    s.AutoLevelReduction = true;
    s.bigButtonsMark = true;
    s.AutoRecord = true;
    s.DeleteAgeCode = QStringLiteral("2");
    s.MeetingTime1 = timeOfDay(19, 30);
    s.MeetingTime2 = timeOfDay(10, 0);
    s.RecordingFolder = QStringLiteral("/home/max/Aufnahmen/");
    s.LevelWarnPercent = 60;
    s.LevelPeakPercent = 90;
    s.FileNameOrder = 3;
    s.LanguageName = QStringLiteral("English");
    s.ShutdownEnabled = true;
    s.ShutdownDelay = 35.0 / 1440;
    return s;
}

QStringList tenLines() {
    return {QStringLiteral("600"),
            QStringLiteral("800"),
            QStringLiteral("55"),
            QStringLiteral("0"),
            QString(),
            QStringLiteral("20"),
            QStringLiteral("0"),
            QStringLiteral("1"),
            QStringLiteral("0"),
            QStringLiteral("1")};
}

} // namespace

TEST(SettingsFormat, WritesTheRealNumberFieldOfTheRuntime) {
    EXPECT_EQ(formatReal(0.8125), QStringLiteral(" 8.12500000000000E-0001"));
    EXPECT_EQ(formatReal(1.0 / 72), QStringLiteral(" 1.38888888888889E-0002"));
    EXPECT_EQ(formatReal(0), QStringLiteral(" 0.00000000000000E+0000"));
    EXPECT_EQ(formatReal(-2.5), QStringLiteral("-2.50000000000000E+0000"));
    EXPECT_EQ(formatReal(12345.0), QStringLiteral(" 1.23450000000000E+0004"));
}

TEST(SettingsFormat, EveryLineSurvivesAWriteAndARead) {
    const Settings written = everyLineSet();
    const QStringList lines = write(written);
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(lines.at(10), QStringLiteral(" 8.12500000000000E-0001 4.16666666666667E-0001"));

    Settings read_;
    read(lines, read_);
    EXPECT_EQ(read_.windowHeight, 700);
    EXPECT_EQ(read_.windowWidth, 900);
    EXPECT_EQ(read_.InputVolume, 37);
    EXPECT_TRUE(read_.StartMelodyOn);
    EXPECT_EQ(read_.StartMelodyFile, written.StartMelodyFile);
    EXPECT_EQ(read_.SplitMinutes, 30);
    EXPECT_TRUE(read_.AutoLevelReduction);
    EXPECT_FALSE(read_.bigButtonsMark)
        << "line 8 \"1\" leaves the mark off so that the start-up toggle sets it";
    EXPECT_TRUE(read_.AutoRecord);
    EXPECT_EQ(read_.DeleteAgeCode, QStringLiteral("2"));
    EXPECT_NEAR(read_.MeetingTime1, written.MeetingTime1, 1e-14);
    EXPECT_NEAR(read_.MeetingTime2, written.MeetingTime2, 1e-14);
    EXPECT_EQ(read_.RecordingFolder, written.RecordingFolder);
    EXPECT_EQ(read_.LevelWarnPercent, 60);
    EXPECT_EQ(read_.LevelPeakPercent, 90);
    EXPECT_EQ(read_.FileNameOrder, 3);
    EXPECT_EQ(read_.LanguageName, QStringLiteral("English"));
    EXPECT_TRUE(read_.ShutdownEnabled);
    EXPECT_NEAR(read_.ShutdownDelay, written.ShutdownDelay, 1e-15);
}

TEST(SettingsFormat, AFileOfTenLinesTakesDefaultsForTheRest) {
    Settings s;
    s.RecordingFolder = QStringLiteral("/default/");
    read(tenLines(), s);
    EXPECT_EQ(s.SplitMinutes, 20);
    EXPECT_FALSE(s.AutoLevelReduction);
    EXPECT_FALSE(s.bigButtonsMark);
    EXPECT_EQ(s.DeleteAgeCode, QStringLiteral("1"));
    EXPECT_EQ(s.MeetingTime1, 0.0);
    EXPECT_EQ(s.MeetingTime2, 0.0);
    EXPECT_EQ(s.RecordingFolder, QStringLiteral("/default/"));
    EXPECT_EQ(s.FileNameOrder, 0);
    EXPECT_EQ(s.ShutdownDelay, 0.0);

    Settings shorter;
    read(tenLines().mid(0, 6), shorter);
    EXPECT_TRUE(shorter.AutoLevelReduction) << "a missing line 7 reads as on";
    EXPECT_TRUE(shorter.bigButtonsMark == false);
    EXPECT_EQ(shorter.DeleteAgeCode, QStringLiteral("0"));
}

TEST(SettingsFormat, SwappedLevelsAreOrderedAndGiveTheirPixels) {
    QStringList lines = write(everyLineSet());
    lines[12] = QStringLiteral("90");
    lines[13] = QStringLiteral("60");
    Settings s;
    read(lines, s);
    EXPECT_EQ(s.LevelWarnPercent, 60);
    EXPECT_EQ(s.LevelPeakPercent, 90);
    EXPECT_EQ(s.LevelWarnPixels, 78);
    EXPECT_EQ(s.LevelPeakPixels, 117);
    EXPECT_EQ(write(s).at(12), QStringLiteral("60"));

    // Halves go to the even neighbour, as for the level bar: 110.5 → 110, 97.5 → 98.
    lines[12] = QStringLiteral("85");
    lines[13] = QStringLiteral("75");
    read(lines, s);
    EXPECT_EQ(s.LevelWarnPixels, 98);
    EXPECT_EQ(s.LevelPeakPixels, 110);
}

TEST(SettingsFormat, SplitMinutesZeroAndOneMeanNoSplitting) {
    for (const char* value : {"0", "1", ""}) {
        QStringList lines = tenLines();
        lines[5] = QString::fromLatin1(value);
        Settings s;
        read(lines, s);
        EXPECT_EQ(s.SplitMinutes, 100) << value;
        EXPECT_EQ(write(s).at(5), QStringLiteral("100"));
    }
    Settings s;
    s.SplitMinutes = 0;
    EXPECT_EQ(write(s).at(5), QStringLiteral("100"));
}

TEST(SettingsFormat, ABadLineStopsReadingButKeepsWhatCameBefore) {
    QStringList lines = write(everyLineSet());
    lines[2] = QStringLiteral("laut");
    Settings s;
    try {
        read(lines, s);
        FAIL();
    } catch (const KandolorError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("''laut'' ist kein gültiger Integer-Wert"));
    }
    EXPECT_EQ(s.windowHeight, 700);
    EXPECT_EQ(s.windowWidth, 900);
    EXPECT_EQ(s.InputVolume, 50);
    EXPECT_EQ(s.LevelWarnPixels, 91);

    lines = write(everyLineSet());
    lines[10] = QStringLiteral("19:30");
    Settings t;
    try {
        read(lines, t);
        FAIL();
    } catch (const KandolorError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("E/A-Fehler 106"));
    }
    EXPECT_EQ(t.DeleteAgeCode, QStringLiteral("2"));
    EXPECT_EQ(t.RecordingFolder, QString()) << "nothing after the bad line is taken";

    EXPECT_THROW(read({QStringLiteral("600")}, t), KandolorError) << "lines 1 to 3 are required";
}

TEST(SettingsFormat, AnEmptyTimeLineNeverTakesTheNextLineAsANumber) {
    QStringList lines = write(everyLineSet());
    lines[10] = QString();
    Settings s;
    read(lines, s);
    EXPECT_EQ(s.MeetingTime1, 0.0);
    EXPECT_EQ(s.MeetingTime2, 0.0);
    EXPECT_EQ(s.RecordingFolder, QStringLiteral("/home/max/Aufnahmen/"));
    EXPECT_EQ(s.LevelWarnPercent, 60);
}

TEST(SettingsFormat, SongConfigurationKeepsShortExtensionsAndOptionalCount) {
    SongConfig c;
    readSongConfig(
        {QStringLiteral("/songs/"), QStringLiteral(".mpeg"), QStringLiteral("474500066"), QString()}, c,
        false);
    EXPECT_EQ(c.SongFileExt, QStringLiteral(".mpe"));
    EXPECT_EQ(c.liedanzahl, 135);
    readSongConfig(
        {QStringLiteral("/songs/"), QStringLiteral(".mp3"), QStringLiteral("x"), QStringLiteral("140")}, c,
        false);
    EXPECT_EQ(c.liedanzahl, 140);
    EXPECT_EQ(writeSongConfig(c), (QStringList{QStringLiteral("/songs/"), QStringLiteral(".mp3"),
                                               QStringLiteral("x"), QStringLiteral("140")}));
    EXPECT_THROW(readSongConfig({QString(), QString(), QString(), QStringLiteral("viele")}, c, false),
                 KandolorError);

    SongConfig legacy;
    readSongConfig(
        {QStringLiteral("/alt/"), QStringLiteral(".mp3"), QStringLiteral("4711"), QStringLiteral("99")},
        legacy, true);
    EXPECT_EQ(legacy.pfad, QStringLiteral("/alt/"));
    EXPECT_EQ(legacy.liedanzahl, 135) << "the legacy file has no song count";

    EXPECT_EQ(makeInstallId(toDateTime(QDate(2026, 12, 9)) + 0.5), QStringLiteral("474636566"));
}

struct OutOfRange {
    int line; // 1-based
    const char* text;
};

class SettingsOutOfRange : public testing::TestWithParam<OutOfRange> {};

// A value the program cannot use takes its default, the lines after it are still read, and what is written
// reads back as it was.
TEST_P(SettingsOutOfRange, TakesTheDefaultAndReadsOn) {
    QStringList lines = write(everyLineSet());
    lines[GetParam().line - 1] = QString::fromUtf8(GetParam().text);
    Settings s;
    ASSERT_NO_THROW(read(lines, s));
    const Settings defaults;
    EXPECT_NEAR(s.ShutdownDelay, GetParam().line == 18 ? 0.0 : everyLineSet().ShutdownDelay, 1e-15)
        << "line 18 was read";
    switch (GetParam().line) {
    case 1:
        EXPECT_FALSE(s.windowHeight.has_value());
        break;
    case 2:
        EXPECT_FALSE(s.windowWidth.has_value());
        break;
    case 3:
        EXPECT_EQ(s.InputVolume, defaults.InputVolume);
        break;
    case 6:
        EXPECT_EQ(s.SplitMinutes, 100);
        break;
    case 10:
        EXPECT_EQ(s.DeleteAgeCode, QStringLiteral("0"));
        break;
    case 11:
        EXPECT_EQ(s.MeetingTime1, 0.0);
        break;
    case 13:
        EXPECT_EQ(s.LevelWarnPercent, defaults.LevelWarnPercent);
        break;
    case 14:
        EXPECT_EQ(s.LevelPeakPercent, defaults.LevelPeakPercent);
        break;
    case 15:
        EXPECT_EQ(s.FileNameOrder, 0);
        break;
    }
    Settings again;
    ASSERT_NO_THROW(read(write(s), again)) << "nothing is written that does not read back";
    EXPECT_NEAR(again.ShutdownDelay, s.ShutdownDelay, 1e-15);
    EXPECT_NEAR(again.MeetingTime1, s.MeetingTime1, 1e-14);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsOutOfRange,
                         testing::Values(OutOfRange{1, "99999"}, OutOfRange{1, "99"}, OutOfRange{2, "-5"},
                                         OutOfRange{2, "8193"}, OutOfRange{3, "101"}, OutOfRange{3, "-1"},
                                         OutOfRange{6, "15"}, OutOfRange{6, "2147483647"},
                                         OutOfRange{10, "7"}, OutOfRange{11, "1e999 4.16666666666667E-0001"},
                                         OutOfRange{11, "-0.5 0.5"}, OutOfRange{11, "1.5 0.5"},
                                         OutOfRange{13, "2147483647"}, OutOfRange{14, "-2147483648"},
                                         OutOfRange{15, "4"}, OutOfRange{18, "1e999"}, OutOfRange{18, "-1"}));

TEST(SettingsFormat, ASongCountOutsideOneTo999TakesTheDefault) {
    for (const char* count : {"0", "1000", "2000000000", "2147483647", "-3"}) {
        SongConfig c;
        readSongConfig({"/lieder/", ".mp3", "47", QString::fromLatin1(count)}, c, false);
        EXPECT_EQ(c.liedanzahl, 135) << count;
    }
    SongConfig c;
    readSongConfig({"/lieder/", ".mp3", "47", "999"}, c, false);
    EXPECT_EQ(c.liedanzahl, 999);
}

TEST(SettingsFormat, SwappedLevelsAreOrderedAlsoWhenALaterLineIsBad) {
    QStringList lines = write(everyLineSet());
    lines[12] = QStringLiteral("90");
    lines[13] = QStringLiteral("60");
    lines[14] = QStringLiteral("zwei"); // file name order: no integer
    Settings s;
    EXPECT_THROW(read(lines, s), KandolorError);
    EXPECT_EQ(s.LevelWarnPercent, 60);
    EXPECT_EQ(s.LevelPeakPercent, 90);
}
