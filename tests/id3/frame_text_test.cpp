#include "Id3TestData.h"
#include "id3/FrameText.h"
#include "id3/TID3v2Frame.h"

#include <gtest/gtest.h>
#include <ostream>

using id3test::bytes;

TEST(FrameText, LatinTitleIsEightBit) {
    TID3v2Frame frame("TIT2", 3);
    frame.SetText(QStringLiteral("Gottes Wort"));
    EXPECT_EQ(frame.Data(), QByteArray(1, '\0') + "Gottes Wort");
    EXPECT_EQ(frame.Header().mid(4, 4), bytes({0, 0, 0, 12}));
}

TEST(FrameText, CharacterAboveLatin1MakesUtf16) {
    TID3v2Frame frame("TIT2", 3);
    frame.SetText(QStringLiteral("5 €"));
    EXPECT_EQ(frame.Data(), bytes({1, 0xFF, 0xFE, '5', 0, ' ', 0, 0xAC, 0x20}));
    EXPECT_EQ(frame.GetText(), QStringLiteral("5 €"));
}

TEST(FrameText, EightBitCommentLayout) {
    TID3v2Frame frame("COMM", 3);
    frame.SetCommentsLyrics(QStringLiteral("XXX"), QString(), QStringLiteral("Teil 1"));
    EXPECT_EQ(frame.Data(), bytes({0, 'X', 'X', 'X', 0}) + "Teil 1");
    EXPECT_EQ(frame.Data().size(), 11);
}

TEST(FrameText, UnicodeDescriptionMakesTheWholeCommentUtf16) {
    TID3v2Frame frame("COMM", 4);
    frame.SetCommentsLyrics(QStringLiteral("de"), QStringLiteral("Ω"), QStringLiteral("ab"));
    EXPECT_EQ(frame.Data(),
              bytes({1, 'e', 'n', 'g', 0xFF, 0xFE, 0xA9, 0x03, 0, 0, 0xFF, 0xFE, 'a', 0, 'b', 0}));
    QString lang, desc, text;
    frame.GetCommentsLyrics(lang, desc, text);
    EXPECT_EQ(lang, QStringLiteral("eng"));
    EXPECT_EQ(desc, QStringLiteral("Ω"));
    EXPECT_EQ(text, QStringLiteral("ab"));
}

struct DecodeCase {
    const char* name;
    QByteArray data;
    int encoding;
    QString expected;
};
void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

class DecodeText : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeText, Decodes) {
    const DecodeCase& c = GetParam();
    EXPECT_EQ(id3::DecodeText(c.data, 0, c.data.size() - 1, c.encoding, {}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, DecodeText,
    ::testing::Values(DecodeCase{"Utf16LittleEndianMark", bytes({0xFF, 0xFE, 'A', 0, 'B', 0, 0, 0}), 1, "AB"},
                      DecodeCase{"Utf16BigEndianMark", bytes({0xFE, 0xFF, 0, 'A', 0, 'B', 0, 0}), 1, "AB"},
                      DecodeCase{"Utf16OddByteDropped", bytes({0xFF, 0xFE, 'A', 0, 'B'}), 1, "A"},
                      DecodeCase{"Utf16BigEndianNoMark", bytes({0, 'A', 0x20, 0xAC}), 2,
                                 QStringLiteral("A€")},
                      DecodeCase{"Utf8", QByteArray("\xC3\xA4x"), 3, QStringLiteral("äx")},
                      DecodeCase{"EightBitIsLatin1", bytes({0xE4, 'x'}), 0, QStringLiteral("äx")},
                      DecodeCase{"UnknownEncodingIsEightBit", bytes({0xE4, 'x'}), 7, QStringLiteral("äx")},
                      DecodeCase{"TrimmedAtBothEnds", QByteArray("  abc \x01"), 0, "abc"},
                      DecodeCase{"Empty", QByteArray(), 1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameText, DecodeClipsItsRange) {
    const QByteArray data("abc");
    EXPECT_EQ(id3::DecodeText(data, -5, 100, 0, {}), QStringLiteral("abc"));
    EXPECT_EQ(id3::DecodeText(data, 2, 1, 0, {}), QString());
}

TEST(FrameText, CommentDescriptionEndsAtAnAlignedDoubleZero) {
    // The text's first unit 0x0100 puts a 00 00 pair at an odd offset; it must not end the description.
    const QByteArray data =
        bytes({1, 'e', 'n', 'g', 0xFF, 0xFE, 'd', 0x00, 0x00, 0x01, 0, 0, 0xFF, 0xFE, 't', 0});
    const id3::CommentParts parts = id3::ParseCommentContent(data, {});
    EXPECT_EQ(parts.description, QString(QStringLiteral("d")) + QChar(0x0100));
    EXPECT_EQ(parts.text, QStringLiteral("t"));
}

TEST(FrameText, AutoCorrectReadsEightBitWithTheChosenCodePage) {
    id3::Text8BitReading reading{true, CodePageTable[3]}; // Cyrillic (Windows)
    ASSERT_EQ(CodePageTable[3].CodePage, 1251u);
    EXPECT_EQ(id3::DecodeText(bytes({0xCF, 0xF0, 0xE8}), 0, 2, 0, reading), QStringLiteral("При"));
    EXPECT_EQ(CodePageTable[0].Description, QStringLiteral("System default"));
    EXPECT_EQ(CodePageTable.size(), 17u);
}
