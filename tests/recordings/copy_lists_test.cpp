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

// Any name on any stick: the characters vfat and exFAT refuse are left out, as in recording names, and a
// name taken on the target is numbered as before.
TEST(CopyLists, NamesOnTargetAreNamesEveryStickTakes) {
    const auto none = [](const QString&) { return false; };
    EXPECT_EQ(StickName(QStringLiteral("Vortrag: \"Liebe\" <Teil 1|2>?*.mp3")), "Vortrag Liebe Teil 12.mp3");
    EXPECT_EQ(StickName(QStringLiteral("Zeile\r\nzwei\t.mp3")), "Zeilezwei.mp3");
    EXPECT_EQ(StickName(QStringLiteral("a\\b.mp3")), "ab.mp3");
    EXPECT_EQ(StickName(QStringLiteral(":?.mp3")), "_.mp3");
    EXPECT_EQ(StickName(QStringLiteral("Max_Muster_2026_12_9_Vortrag#1.mp3")),
              "Max_Muster_2026_12_9_Vortrag#1.mp3");
    const QSet<QString> taken = {"/t/ab.mp3"};
    EXPECT_EQ(NameOnTarget("a:b.mp3", "/t/", [&](const QString& path) { return taken.contains(path); }),
              "ab#0.mp3");
    EXPECT_EQ(NameOnTarget("a|b.MP3", "/t/", none), "ab.mp3");
}

// Every way a copy can fail is told in German with the file and the stick, and never with the system's
// own text.
TEST(CopyLists, EveryCopyFailureIsToldInGermanWithFileAndStick) {
    const std::pair<CopyResult, const char*> reasons[] = {
        {CopyResult::Full, "nicht genug Platz"},
        {CopyResult::WriteProtected, "schreibgeschützt oder beschädigt"},
        {CopyResult::Gone, "während des Kopierens entfernt"},
        {CopyResult::NameRefused, "nimmt diesen Dateinamen nicht an"},
        {CopyResult::Exists, "schon eine Datei mit diesem Namen"},
        {CopyResult::SourceMissing, "kann nicht gelesen werden"},
        {CopyResult::Failed, "ein Fehler aufgetreten"},
    };
    for (const auto& [result, reason] : reasons) {
        const QString message = CopyFailureMessage({result, QStringLiteral("Input/output error")},
                                                   "/rec/Vortrag.mp3", "/media/op/STICK/");
        EXPECT_TRUE(message.startsWith("Vortrag.mp3 konnte nicht nach /media/op/STICK/ kopiert werden."))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(reason))) << message.toStdString();
        EXPECT_TRUE(message.contains("Die Aufnahme selbst bleibt, wo sie ist.")) << message.toStdString();
        EXPECT_FALSE(message.contains("error")) << message.toStdString();
    }
    EXPECT_EQ(RenamedCopyMessage("/rec/a:b.mp3", "ab.mp3", "/media/op/STICK/"),
              "a:b.mp3 wurde auf /media/op/STICK/ als ab.mp3 gespeichert, weil USB-Speicher die Zeichen "
              "\\ / : * ? \" < > | und Steuerzeichen in Dateinamen nicht annehmen.");
}
