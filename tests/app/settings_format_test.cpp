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
