#include "common/DateTime.h"
#include "recording/MeetingDefaults.h"
#include "recording/RecordName.h"
#include "recording/RecordingFolder.h"
#include "recording/RecordingNames.h"
#include "settings/UiTexts.h"
#include "support/TmpfsMount.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace recording;

namespace {

const QString User = QStringLiteral("Max_Muster");

struct DefaultNamesCase {
    QDate day;
    int order;
    const char* stem1; // without suffix
    const char* stem2;
};

class DefaultNamesTest : public ::testing::TestWithParam<std::tuple<DefaultNamesCase, int>> {};

TEST_P(DefaultNamesTest, FollowDayKindOrderAndSplitting) {
    const auto& [c, splitMinutes] = GetParam();
    const int weekday = dayOfWeek(toDateTime(c.day));
    const RecordingDefaults d =
        SetRecordingDefaults(weekday, defaultUiTexts(), c.order, User, c.day, splitMinutes);
    const QString suffix = splitMinutes == 100 ? QStringLiteral(".mp3") : QStringLiteral("#0.mp3");
    EXPECT_EQ(d.DefaultFileName1, QString::fromUtf8(c.stem1) + suffix);
    EXPECT_EQ(d.DefaultFileName2, QString::fromUtf8(c.stem2) + suffix);
    EXPECT_EQ(d.DateString, DateString(c.day));
}

const QDate Saturday(2015, 3, 7);
const QDate Wednesday(2015, 3, 4);

INSTANTIATE_TEST_SUITE_P(
    SaturdayAndWednesday, DefaultNamesTest,
    ::testing::Combine(
        ::testing::Values(
            DefaultNamesCase{Saturday, 0, "Max_Muster_2015_3_7_Vortrag", "Max_Muster_2015_3_7_WTS"},
            DefaultNamesCase{Saturday, 1, "2015_3_7_Max_Muster_Vortrag", "2015_3_7_Max_Muster_WTS"},
            DefaultNamesCase{Saturday, 2, "2015_3_7_Vortrag_Max_Muster", "2015_3_7_WTS_Max_Muster"},
            DefaultNamesCase{Saturday, 3, "Vortrag_2015_3_7_Max_Muster", "WTS_2015_3_7_Max_Muster"},
            DefaultNamesCase{Wednesday, 0, "Max_Muster_2015_3_4_BST", "Max_Muster_2015_3_4_DZK"},
            DefaultNamesCase{Wednesday, 1, "2015_3_4_Max_Muster_BST", "2015_3_4_Max_Muster_DZK"},
            DefaultNamesCase{Wednesday, 2, "2015_3_4_BST_Max_Muster", "2015_3_4_DZK_Max_Muster"},
            DefaultNamesCase{Wednesday, 3, "BST_2015_3_4_Max_Muster", "DZK_2015_3_4_Max_Muster"}),
        ::testing::Values(100, 30)));

TEST(MeetingDefaults, TopicsFieldsAndSlotLabelsByDayKind) {
    const QStringList texts = defaultUiTexts();
    const RecordingDefaults sat = SetRecordingDefaults(7, texts, 0, User, Saturday, 100);
    EXPECT_EQ(sat.DefaultTopic1, "Vortrag");
    EXPECT_EQ(sat.DefaultTopic2, "Wachtturmstudium");
    const RecordingFields part2 = ResetRecordingFields(sat, 2);
    EXPECT_EQ(part2.Thema, "Wachtturmstudium");
    EXPECT_TRUE(part2.Redner.isEmpty() && part2.Kommentar.isEmpty());
    EXPECT_EQ(part2.Datei, "Max_Muster_2015_3_7_WTS.mp3");

    const SlotLabels weekend = SplitSlotLabels(MeetingPartsText(1, texts));
    EXPECT_EQ(weekend.Label4, "Vortrag ");
    EXPECT_EQ(weekend.Label5, " Wachtturmstudium");
    const SlotLabels weekday = SplitSlotLabels(MeetingPartsText(4, texts));
    EXPECT_EQ(weekday.Label4, "Buchstudium ");
    EXPECT_EQ(weekday.Label5, " Dienstzusammenkunft");

    // A translated first text with a blank: Label4 ends after its first word, Label5 is cut to 20 characters.
    QStringList translated = texts;
    translated[UiText::WeekendPart1] = QStringLiteral("Public Talk");
    translated[UiText::WeekendPart2] = QStringLiteral("Watchtower Study");
    const SlotLabels cut = SplitSlotLabels(MeetingPartsText(7, translated));
    EXPECT_EQ(cut.Label4, "Public ");
    EXPECT_EQ(cut.Label5, " Talk Watchtower Stu");
}

TEST(ThemaChange, NameFollowsSpeakerAndTopic) {
    const QDate day(2015, 3, 1);
    EXPECT_EQ(ThemaChangeFileName(0, User, day, "Hans Meier", "Freude", 100),
              "Max_Muster_2015_3_1_Hans Meier_Freude.mp3");
    EXPECT_EQ(ThemaChangeFileName(0, User, day, "", "Freude", 100), "Max_Muster_2015_3_1__Freude.mp3");
    EXPECT_EQ(ThemaChangeFileName(3, User, day, "Hans", "", 20), "Hans__2015_3_1_Max_Muster#0.mp3");
    EXPECT_EQ(DateString(QDate(2026, 12, 9)), "2026_12_9");
}

TEST(RemoveForbiddenChars, RemovesEveryOccurrenceOfTheNine) {
    EXPECT_EQ(RemoveForbiddenChars("a:b*c"), "abc");
    EXPECT_EQ(RemoveForbiddenChars("\\/:*?\"<>|x||\"\"y//"), "xy");
    EXPECT_EQ(RemoveForbiddenChars("Öl über Füße #1.mp3"), "Öl über Füße #1.mp3");
    EXPECT_EQ(RemoveForbiddenChars(QStringLiteral("a\nb\r\tc\u0000d\u007f\u0085e.mp3")), "abcde.mp3");
}

struct FixCase {
    const char* datei;
    int splitMinutes;
    QStringList existing; // names in the folder
    const char* expected;
};

class FixRecordNameTest : public ::testing::TestWithParam<FixCase> {};

TEST_P(FixRecordNameTest, MakesTheNameUnique) {
    const FixCase& c = GetParam();
    const QString folder = QStringLiteral("/rec/");
    QSet<QString> files;
    for (const QString& name : c.existing)
        files.insert(folder + name);
    const RecordName name =
        FixRecordName(QString::fromUtf8(c.datei), QStringLiteral("Default2.mp3"), c.splitMinutes, folder,
                      [&](const QString& p) { return files.contains(p); });
    EXPECT_EQ(name.fileName(), QString::fromUtf8(c.expected));
    EXPECT_EQ(name.RecordExtension, ".mp3");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FixRecordNameTest,
    ::testing::Values(FixCase{"Vortrag.mp3", 100, {}, "Vortrag.mp3"},
                      FixCase{"Vortrag.mp3", 100, {"Vortrag.mp3", "Vortrag#0.mp3"}, "Vortrag#1.mp3"},
                      FixCase{"X#0.mp3", 30, {"X#0.mp3"}, "X#1.mp3"},
                      FixCase{"X#0.mp3", 30, {"X#0.mp3", "X#1.mp3", "X.mp3"}, "X#2.mp3"},
                      FixCase{"X#12.mp3", 100, {}, "X.mp3"}, FixCase{"X.mp3", 10, {}, "X#0.mp3"},
                      FixCase{"Teil 1.2", 100, {}, "Teil 1.mp3"}, FixCase{"Laut.MP3", 100, {}, "Laut.mp3"},
                      FixCase{"ohne Punkt", 100, {"ohne Punkt.mp3"}, "ohne Punkt#0.mp3"},
                      FixCase{"", 100, {}, "Default2.mp3"}));

TEST(NumberingRule, KeepsAFreeNameAndStripsAnOldNumberOnCollision) {
    const QSet<QString> files{"/r/A#5.mp3", "/r/A#0.mp3"};
    const FileExists exists = [&](const QString& p) { return files.contains(p); };
    EXPECT_EQ(ApplyNumberingRule("A#7", ".mp3", "/r/", exists), "A#7");
    EXPECT_EQ(ApplyNumberingRule("A#5", ".mp3", "/r/", exists), "A#1");
    EXPECT_EQ(ApplyNumberingRule("B", ".mp3", "/r/", exists), "B");
}

TEST(RecordingFolderUnwritable, CreatesAMissingFolderAndLeavesNothingInIt) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("Max_Muster/Aufnahmen/");
    EXPECT_EQ(RecordingFolderUnwritable(folder), QString());
    EXPECT_TRUE(QDir(folder).exists());
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST(RecordingFolderUnwritable, NamesAFolderThatCannotBeCreated) {
    QTemporaryDir dir;
    QFile(dir.filePath("home")).open(QIODevice::WriteOnly); // a file where the home folder belongs
    const QString folder = dir.filePath("home/Aufnahmen/");
    EXPECT_EQ(RecordingFolderUnwritable(folder),
              "Der Aufnahme-Ordner " + folder +
                  " kann nicht angelegt werden !\rAufnahmen sind so nicht möglich !\rBitte in den "
                  "Einstellungen einen anderen Ordner wählen !");
    EXPECT_TRUE(RecordingFolderUnwritable(QString()).contains("kann nicht angelegt werden"));
}

TEST(RecordingFolderUnwritable, NamesAFolderOnAReadOnlyVolume) {
    QTemporaryDir dir;
    const TmpfsMount volume(dir.filePath("stick"), TmpfsMount::ReadOnly);
    if (volume.path.isEmpty())
        GTEST_SKIP() << volume.skipReason.toStdString();
    EXPECT_TRUE(RecordingFolderUnwritable(volume.path + "/").contains("kann nicht beschrieben werden"));
    EXPECT_TRUE(
        RecordingFolderUnwritable(volume.path + "/Aufnahmen/").contains("kann nicht angelegt werden"));
}

} // namespace
