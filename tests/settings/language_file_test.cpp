#include "settings/LanguageFile.h"
#include "settings/UiTexts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace language;

namespace {
QStringList header(const QString& code = QString(), const QString& folder = QString()) {
    return {QStringLiteral("Test"), code, folder};
}
} // namespace

TEST(LanguageFile, TextsByPositionAfterTheFirstEquals) {
    QStringList texts = defaultUiTexts();
    QStringList lines = header("E", "/lieder/en/");
    for (int n = 0; n < 20; ++n)
        lines << QStringLiteral("key%1=text %1").arg(n);
    lines[3 + 3] = QStringLiteral("Beenden=Exit");
    lines[3 + 5] = QStringLiteral("Titel=a=b");
    const AppliedLanguage applied = ApplyLanguageLines(lines, "/l/Test.lng", "/lieder/", texts);
    EXPECT_TRUE(applied.error.isEmpty());
    EXPECT_EQ(applied.songLanguageCode, "E");
    EXPECT_EQ(applied.pfad_lk, "/lieder/en/");
    EXPECT_EQ(texts.at(3), "Exit");
    EXPECT_EQ(texts.at(5), "a=b");
    EXPECT_EQ(texts.at(19), "text 19");
    EXPECT_EQ(texts.mid(20), defaultUiTexts().mid(20)) << "texts the file does not reach keep their values";
    EXPECT_EQ(texts.size(), UiTextCount);
}

TEST(LanguageFile, EmptyHeaderLinesTakeAnyCodeAndTheSongFolder) {
    QStringList texts = defaultUiTexts();
    QStringList lines = header();
    lines << QString(300, QLatin1Char('x')).prepend(QStringLiteral("k="));
    for (int n = 1; n < 80; ++n)
        lines << QStringLiteral("k=t");
    const AppliedLanguage applied = ApplyLanguageLines(lines, "/l/Test.lng", "/lieder/", texts);
    EXPECT_TRUE(applied.error.isEmpty()) << "lines beyond the last text are accepted";
    EXPECT_EQ(applied.songLanguageCode, "*");
    EXPECT_EQ(applied.pfad_lk, "/lieder/");
    EXPECT_EQ(texts.at(0).size(), 255);
    EXPECT_EQ(texts.size(), UiTextCount);
}

TEST(LanguageFile, ALineWithoutEqualsStopsThereAndAShortFileSetsNothing) {
    QStringList texts = defaultUiTexts();
    const AppliedLanguage stopped = ApplyLanguageLines(header("E") << "a=Eins"
                                                                   << "kaputt"
                                                                   << "c=Drei",
                                                       "/l/Test.lng", "/lieder/", texts);
    EXPECT_EQ(stopped.error, "Error ! \n/l/Test.lng\nLine 5: \"=\" missing ");
    EXPECT_EQ(texts.at(0), "Eins");
    EXPECT_EQ(texts.at(2), defaultUiTexts().at(2));
    EXPECT_TRUE(stopped.headerRead);
    EXPECT_EQ(stopped.songLanguageCode, "E");

    texts = defaultUiTexts();
    const AppliedLanguage shortFile = ApplyLanguageLines({"Test", "E"}, "/l/Test.lng", "/lieder/", texts);
    EXPECT_EQ(shortFile.error, "Error ! \n/l/Test.lng\nLine 3: header missing ");
    EXPECT_FALSE(shortFile.headerRead);
    EXPECT_EQ(texts, defaultUiTexts());
}

TEST(LanguageFile, ListsBothFoldersEachNameOnceTheCurrentFolderWinning) {
    QTemporaryDir program, current;
    for (const QString& path :
         {program.filePath("English.lng"), program.filePath("Français.lng"), current.filePath("english.lng"),
          current.filePath("Deutsch.LNG"), current.filePath("liesmich.txt")}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const std::vector<LanguageEntry> all = ListLanguages(program.path(), current.path());
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].path(), current.filePath("Deutsch.LNG"));
    EXPECT_EQ(all[1].path(), current.filePath("english.lng"));
    EXPECT_EQ(all[2].path(), program.filePath("Français.lng"));
    EXPECT_EQ(ListLanguages(program.path(), program.path()).size(), 2u);
    EXPECT_TRUE(ListLanguages(current.filePath("fehlt"), QString()).empty());
}
