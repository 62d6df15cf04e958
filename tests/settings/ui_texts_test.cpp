#include "settings/UiTexts.h"

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
