#include "common/DateTime.h"
#include "common/KandolorError.h"
#include "common/TextFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(StrToInt, AcceptsDecimalAndRejectsTheRestWithTheRuntimeMessage) {
    EXPECT_EQ(strToInt(QStringLiteral("135")), 135);
    EXPECT_EQ(strToInt(QStringLiteral("-7")), -7);
    EXPECT_EQ(strToInt(QStringLiteral("  42")), 42);
    for (const char* bad : {"", "1a", "4 2", "42 ", "abc"}) {
        try {
            strToInt(QString::fromLatin1(bad));
            FAIL() << bad;
        } catch (const KandolorError& e) {
            EXPECT_EQ(e.message(),
                      QStringLiteral("''%1'' ist kein gültiger Integer-Wert").arg(QLatin1String(bad)));
        }
    }
}

TEST(DateTime, CountsDaysFrom1899AndKnowsTheWeekday) {
    EXPECT_EQ(toDateTime(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(toDateTime(QDate(2015, 3, 1)), 42064.0);
    EXPECT_EQ(dayOfWeek(toDateTime(QDate(2026, 12, 6))), 1);  // Sunday
    EXPECT_EQ(dayOfWeek(toDateTime(QDate(2026, 12, 12))), 7); // Saturday
    EXPECT_EQ(timeToString(timeOfDay(19, 30)), QStringLiteral("19:30:00"));
    // A remaining time shows the seconds that are whole: 9.6 s left is 9 s.
    EXPECT_EQ(timeToString(9.6 / SecondsPerDay), QStringLiteral("00:00:09"));
    EXPECT_EQ(timeToString(timeOfDay(19, 21, 40) - timeOfDay(19, 21, 30)), QStringLiteral("00:00:10"));
    EXPECT_EQ(dateToString(42064.75), QStringLiteral("01.03.2015"));
    EXPECT_EQ(minutesSeconds(59), QStringLiteral("00:59"));
    EXPECT_EQ(minutesSeconds(6000), QStringLiteral("100:00"));
    EXPECT_EQ(minutesSeconds(-1), QStringLiteral("--:--")) << "the audio library's unknown length";
    EXPECT_THROW(stringToDate(QStringLiteral("31.02.2026")), KandolorError);
}

TEST(TextFile, WritesCrLfUtf8AndReadsLegacyCodePage) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    TextFile::writeLines(path, {QStringLiteral("Größe"), QString(), QStringLiteral("x")});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Gr\xC3\xB6\xC3\x9F"
                                      "e\r\n\r\nx\r\n"));
    EXPECT_EQ(TextFile::readLines(path),
              (QStringList{QStringLiteral("Größe"), QString(), QStringLiteral("x")}));
    EXPECT_EQ(TextFile::decodeLines(QByteArray("Gr\xF6\xDF"
                                               "e \x80\nb")),
              (QStringList{QStringLiteral("Größe €"), QStringLiteral("b")}));
    EXPECT_EQ(TextFile::decodeLines(QByteArray("\xEF\xBB\xBFok\r\n")), QStringList{QStringLiteral("ok")});
    try {
        TextFile::readLines(dir.filePath(QStringLiteral("missing")));
        FAIL();
    } catch (const KandolorError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("E/A-Fehler 2"));
    }
}
