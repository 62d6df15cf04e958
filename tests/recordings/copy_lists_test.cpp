#include "recordings/CopyLists.h"
#include "settings/UiTexts.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace recordings;

namespace {
DateTime day(int month, int dayOfMonth) {
    return toDateTime(QDate(2026, month, dayOfMonth));
}
// Computed in the tests: the date helpers use statics of their own.
DateTime monday() {
    return day(12, 7);
}
DateTime sunday() {
    return day(12, 13);
}
} // namespace

TEST(CopyLists, AgeGroupsFromTheLastMonday) {
    const DateTime Monday = monday(), Sunday = sunday();
    // Seen on a Monday: this week is only today; yesterday is last week.
    EXPECT_EQ(AgeGroupOf(Monday + 0.8, Monday), 1);
    EXPECT_EQ(AgeGroupOf(day(12, 6), Monday), 3);
    EXPECT_EQ(AgeGroupOf(day(11, 30), Monday), 3);
    EXPECT_EQ(AgeGroupOf(day(11, 29), Monday), 4);
    EXPECT_EQ(AgeGroupOf(day(12, 8), Monday), 0);
    // Seen on a Sunday: the week goes back to Monday.
    EXPECT_EQ(AgeGroupOf(day(12, 7), Sunday), 2);
    EXPECT_EQ(AgeGroupOf(day(12, 6), Sunday), 3);
    EXPECT_EQ(AgeGroupOf(day(11, 2), Sunday), 7);
    EXPECT_EQ(AgeGroupOf(day(11, 1), Sunday), 8);
    EXPECT_EQ(AgeGroupOf(day(1, 1), Sunday), 8);
}

TEST(CopyLists, SourceListHasAHeadingPerGroupThatHoldsRecordings) {
    const DateTime Monday = monday();
    const std::vector<RecordingFile> files = {{"a.mp3", day(12, 6)}, {"b.mp3", Monday + 0.5},
                                              {"c.mp3", day(12, 8)}, {"d.mp3", day(11, 25)},
                                              {"e.mp3", day(6, 1)},  {"f.mp3", day(12, 1)}};
    const QStringList lines = SourceList(files, Monday, defaultUiTexts());
    EXPECT_EQ(lines.join('|').toStdString(),
              "--> Heute|b.mp3|--> letzte Woche|a.mp3|f.mp3|--> 2 Wochen|d.mp3|--> >= 6 Wochen|e.mp3");
    EXPECT_TRUE(IsHeading(lines.first()));
    EXPECT_FALSE(IsHeading("b.mp3"));
}

TEST(CopyLists, TheFirstFourSelectedTargetsAndTheSelectedFiles) {
    const QStringList folders = {"/a/", "/b/", "/c/", "/d/", "/e/", "/f/", "/g/"};
    EXPECT_EQ(TakenTargets(folders, {true, false, true, true, true, true, true}),
              (QStringList{"/a/", "/c/", "/d/", "/e/"}));
    EXPECT_TRUE(TakenTargets(folders, std::vector<bool>(7, false)).isEmpty());
    const QStringList lines = {"--> Heute", "b.mp3", "--> letzte Woche", "a.mp3"};
    EXPECT_EQ(SelectedSources(lines, {true, true, true, false}, "/rec/"), QStringList{"/rec/b.mp3"});
}

TEST(CopyLists, NameOnTargetNeverReplacesAFile) {
    QSet<QString> taken = {"/t/name.mp3", "/t/name#0.mp3"};
    const auto exists = [&](const QString& path) { return taken.contains(path); };
    EXPECT_EQ(NameOnTarget("name.mp3", "/t/", exists), "name#1.mp3");
    EXPECT_EQ(NameOnTarget("other.mp3", "/t/", exists), "other.mp3");
    taken = {"/t/talk#2.mp3"};
    EXPECT_EQ(NameOnTarget("talk#2.mp3", "/t/", exists), "talk#0.mp3");
    taken << "/t/talk#0.mp3";
    EXPECT_EQ(NameOnTarget("talk#2.mp3", "/t/", exists), "talk#1.mp3");
    EXPECT_EQ(NameOnTarget("LAUT.MP3", "/t/", exists), "LAUT.mp3");
}

TEST(CopyLists, ListsTheMp3FilesOfTheFolderByNameWithTheirDay) {
    QTemporaryDir dir;
    for (const char* name : {"b.mp3", "A.MP3", "c.wav"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QDir(dir.path()).mkdir("d.mp3");
    const std::vector<RecordingFile> files = ListRecordings(dir.path() + "/");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "A.MP3");
    EXPECT_EQ(files[1].name, "b.mp3");
    EXPECT_EQ(files[0].day, toDateTime(QDate::currentDate()));
    EXPECT_TRUE(ListRecordings(dir.path() + "/fehlt/").empty());
}
