#include "common/TextFile.h"
#include "settings/LanguageFile.h"
#include "settings/UiTexts.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(UiTexts, NoBuiltInTextIsEmpty) {
    const QStringList texts = defaultUiTexts();
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_FALSE(texts[i].isEmpty()) << i;
}

struct Entry {
    int index;
    const char* text;
};

class UiTextEntry : public testing::TestWithParam<Entry> {};

TEST_P(UiTextEntry, HasItsBuiltInText) {
    EXPECT_EQ(defaultUiTexts().at(GetParam().index), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    SpotChecks, UiTextEntry,
    testing::Values(Entry{UiText::MenuFile, "Datei"}, Entry{UiText::MenuBigButtons, "große Schaltflächen"},
                    Entry{UiText::MusicBeforeMeeting, "Musik vor Kandolorsbeginn"},
                    Entry{UiText::Recording, "Aufnahme"},
                    Entry{UiText::DrivesLabel, "Laufwerke / Datenträger  (max. 4 auswählen)"},
                    Entry{UiText::WordUser, "\"User\""}, Entry{UiText::WordDate, "\"Datum\""},
                    Entry{UiText::WordTitle, "\"Titel\""},
                    Entry{UiText::OverwriteSongList, "Liederliste überschreiben"},
                    Entry{UiText::ShutdownNotice, "Computer wird nach laufendem Lied heruntergefahren"}));

namespace {

// The text lines of a shipped language file (line 4 on), split at their first "=".
struct ShippedFile {
    QStringList header;
    QStringList keys;
    QStringList texts;
};
ShippedFile readShipped(const char* name) {
    const QStringList lines =
        TextFile::readLines(QStringLiteral(KANDOLOR_SOURCE_DIR "/languages/") + QLatin1String(name));
    ShippedFile file{lines.mid(0, 3), {}, {}};
    for (const QString& line : lines.mid(3)) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        file.keys << line.left(equals);
        file.texts << line.mid(equals + 1);
    }
    return file;
}

// The placeholders a text uses, in order of their numbers.
QStringList placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found << match.captured();
    found.sort();
    found.removeDuplicates();
    return found;
}

} // namespace

TEST(UiTexts, DeutschLngHoldsTheBuiltInTextsWithTheSongCodeOfTheBuiltInSetUp) {
    const ShippedFile german = readShipped("Deutsch.lng");
    EXPECT_EQ(german.header, (QStringList{"Deutsch", "X", ""}));
    ASSERT_EQ(german.texts.size(), UiTextCount);
    for (int n = 0; n < UiTextCount; ++n) {
        EXPECT_EQ(german.keys.at(n), uiTextKey(n)) << n;
        EXPECT_EQ(language::LanguageText(german.texts.at(n)), defaultUiTexts().at(n)) << n;
    }
}

TEST(UiTexts, EnglishLngTranslatesEveryTextInTheTablesOrderWithTheSamePlaceholders) {
    const ShippedFile english = readShipped("English.lng");
    EXPECT_EQ(english.header.value(0), "English");
    ASSERT_EQ(english.texts.size(), UiTextCount);
    for (int n = 0; n < UiTextCount; ++n) {
        EXPECT_EQ(english.keys.at(n), uiTextKey(n)) << n;
        EXPECT_LE(english.texts.at(n).size(), 255) << n;
        EXPECT_FALSE(english.texts.at(n).isEmpty()) << n;
        EXPECT_EQ(placeholders(english.texts.at(n)), placeholders(defaultUiTexts().at(n)))
            << uiTextKey(n).toStdString();
    }
}

TEST(UiTexts, EveryBuiltInTextFitsALanguageFileLine) {
    for (int n = 0; n < UiTextCount; ++n) {
        QString written = defaultUiTexts().at(n);
        written.replace('\n', "\\n").replace('\r', "\\r");
        EXPECT_LE(written.size(), 255) << n;
        EXPECT_FALSE(uiTextKey(n).contains('=')) << n;
    }
}

TEST(UiTexts, ALanguageFileWritesLineBreaksAsBackslashNAndR) {
    EXPECT_EQ(language::LanguageText("a\\nb\\rc\\d\\"), "a\nb\rc\\d\\");
}

TEST(UiTexts, TheTextsInUseFillTheirPlaceholdersOnceAndKeepTheBuiltInOnesAFileDidNotReach) {
    QStringList texts = defaultUiTexts().mid(0, 80);
    texts[UiText::MenuFile] = "File";
    setCurrentUiTexts(texts);
    EXPECT_EQ(uiText(UiText::MenuFile), "File");
    EXPECT_EQ(uiText(UiText::CopyingProgress, "50%1.mp3", "/media/%2"),
              "50%1.mp3 wird nach /media/%2 kopiert …");
    EXPECT_EQ(currentUiTexts().size(), UiTextCount);
    EXPECT_EQ(uiText(UiText::ReplaceFileTitle), "Datei ersetzen");
    setCurrentUiTexts(defaultUiTexts());
    EXPECT_EQ(uiText(UiText::MenuFile), "Datei");
}
