#include "songs/Id3TitleReader.h"

#include "TagBytes.h"
#include "common/KandolorError.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace TagBytes;

namespace {

constexpr int Title = 1, Composer = 2, Album = 3;
const QString NoTag = QStringLiteral("ID3ERR_NoTag");

QString readBytes(const QByteArray& bytes, int selector) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadId3v2Text(buffer, selector);
}

QString errorOf(const QByteArray& bytes, int selector) {
    try {
        readBytes(bytes, selector);
    } catch (const KandolorError& e) {
        return e.message();
    }
    return QStringLiteral("no error");
}

QByteArray titleTag(const QByteArray& content, int version = 3) {
    return tag(version, frame("TPE1", latin1(QStringLiteral("Chor"))) + frame("TIT2", content), 64);
}

} // namespace

struct TextCase {
    const char* what;
    QByteArray content;
    int selector;
    QString expected;
};

class DecodedText : public ::testing::TestWithParam<TextCase> {};

TEST_P(DecodedText, FollowsTheEncodingRules) {
    const TextCase& c = GetParam();
    const char* id = c.selector == Title ? "TIT2" : c.selector == Composer ? "TCOM" : "TALB";
    EXPECT_EQ(readBytes(tag(3, frame(id, c.content), 32), c.selector), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodedText,
    ::testing::Values(
        TextCase{"latin1 title cuts five", latin1(QStringLiteral("001 - Morgenlied")), Title,
                 QStringLiteral(" Morgenlied")},
        TextCase{"latin1 skips zero bytes, no trim",
                 QByteArray("\0"
                            "001 - Mo\0rgen \0",
                            16),
                 Title, QStringLiteral(" Morgen ")},

        TextCase{"latin1 title without prefix stays whole", latin1(QStringLiteral("Morgenlied")), Title,
                 QStringLiteral("Morgenlied")},
        TextCase{"latin1 one-digit prefix", latin1(QStringLiteral("7 - Abendlied")), Title,
                 QStringLiteral(" Abendlied")},
        TextCase{"latin1 digits without separator stay", latin1(QStringLiteral("2024 Jubiläum")), Title,
                 QStringLiteral("2024 Jubiläum")},
        TextCase{"latin1 album whole", latin1(QStringLiteral("Kandolor   Max Muster")), Album,
                 QStringLiteral("Kandolor   Max Muster")},
        TextCase{"utf16 title terminated", utf16Bom(QStringLiteral("001 - Morgenlied")), Title,
                 QStringLiteral("Morgenlied")},
        TextCase{"utf16 title unterminated keeps its last letter",
                 utf16Bom(QStringLiteral("001 - Übermaß"), false), Title, QStringLiteral("Übermaß")},
        TextCase{"utf16 title without prefix stays whole", utf16Bom(QStringLiteral("Übermaß"), false), Title,
                 QStringLiteral("Übermaß")},
        TextCase{"utf16 two values: the first",
                 utf16Bom(QStringLiteral("001 - Erster")) + utf16Bom(QStringLiteral("Zweiter")).mid(1), Title,
                 QStringLiteral("Erster")},

        TextCase{"utf16 composer whole", utf16Bom(QStringLiteral("Kandolor")), Composer,
                 QStringLiteral("Kandolor")},
        TextCase{"utf16 album whole", utf16Bom(QStringLiteral("Kandolor   Max  03.06.2015")), Album,
                 QStringLiteral("Kandolor   Max  03.06.2015")},
        TextCase{"decomposed a", utf16Bom(QStringLiteral("001 - Ga\u0308rten")), Title,
                 QStringLiteral("Gärten")},
        TextCase{"decomposed capitals", utf16Bom(QStringLiteral("001 - A\u0308O\u0308U\u0308o\u0308u\u0308")),
                 Title, QStringLiteral("ÄÖÜöü")},
        TextCase{"decomposed first letter of a title without prefix", utf16Bom(QStringLiteral("A\u0308pfel")),
                 Title, QStringLiteral("Äpfel")},
        TextCase{"mark after another letter removed", utf16Bom(QStringLiteral("001 - xe\u0308y")), Title,
                 QStringLiteral("xey")},

        // No little-endian mark: little-endian text from byte 10 on, as in a comment-style layout.
        TextCase{"text from byte 10",
                 QByteArray("\x01"
                            "eng\xFF\xFE\0\0\xFF\xFE",
                            10) +
                     utf16le(QStringLiteral("Hi ")),
                 Title, QStringLiteral("Hi")},
        TextCase{"utf16 with big-endian mark",
                 QByteArray("\x01\xFE\xFF", 3) + utf16be(QStringLiteral("001 - Übermaß")) +
                     QByteArray(2, '\0'),
                 Title, QStringLiteral("Übermaß")},
        TextCase{"utf16be", utf16Be(QStringLiteral("001 - Übermaß")), Title, QStringLiteral("Übermaß")},
        TextCase{"utf16be unterminated", QByteArray("\x02\0L\0i", 5), Title, QStringLiteral("Li")},
        TextCase{"utf16be decomposed", utf16Be(QStringLiteral("001 - Gru\u0308n")), Title,
                 QStringLiteral("Grün")},
        TextCase{"utf16be album", utf16Be(QStringLiteral("Kandolor   Max")), Album,
                 QStringLiteral("Kandolor   Max")},
        TextCase{"utf8", utf8(QStringLiteral("001 - Übermaß")), Title, QStringLiteral("Übermaß")},
        TextCase{"utf8 unterminated without prefix",
                 QByteArray("\x03") + QStringLiteral("Großer Gott").toUtf8(), Title,
                 QStringLiteral("Großer Gott")},
        TextCase{"utf8 two values: the first", utf8(QStringLiteral("001 - Erster\u0000Zweiter")), Title,
                 QStringLiteral("Erster")},
        TextCase{"utf8 decomposed", utf8(QStringLiteral("001 - Ga\u0308rten")), Title,
                 QStringLiteral("Gärten")},
        TextCase{"utf8 composer", utf8(QStringLiteral("Kandolor")), Composer, QStringLiteral("Kandolor")},
        TextCase{"unknown encoding",
                 QByteArray("\x04"
                            "001 - Lied"),
                 Title, QStringLiteral("ID3ERR_NoTag")},
        TextCase{"empty content", QByteArray(), Title, QString()}));

TEST(Id3TitleReader, TakesTheFirstMatchingFrameOnly) {
    const QByteArray bytes = tag(4,
                                 frame("TIT2", latin1(QStringLiteral("001 - Erstes"))) +
                                     frame("TIT2", latin1(QStringLiteral("002 - Zweites"))),
                                 16);
    EXPECT_EQ(readBytes(bytes, Title), QStringLiteral(" Erstes"));
    EXPECT_EQ(readBytes(bytes, Album), NoTag);
    EXPECT_EQ(readBytes(bytes, 4), NoTag);
}

TEST(Id3TitleReader, AnswersNoTagForOtherFormatsAndMissingFrames) {
    const QByteArray title = frame("TIT2", latin1(QStringLiteral("001 - Lied")));
    EXPECT_EQ(readBytes(QByteArray("RIFF....WAVEfmt ") + title, Title), NoTag);
    EXPECT_EQ(readBytes(tag(5, title), Title), NoTag);
    EXPECT_EQ(readBytes(tag(1, title), Title), NoTag);
    // Frames after the padding are not seen.
    EXPECT_EQ(readBytes(tag(3, frame("TPE1", latin1(QStringLiteral("x"))), 20) + title, Title), NoTag);
}

TEST(Id3TitleReader, Version4FrameSizesAreSynchsafeAndPlainOnesAreStillRead) {
    // A comment and a picture over 127 bytes before the title.
    const QByteArray comment = QByteArray("\0deu\0", 5) + QByteArray(300, 'c');
    const QByteArray picture = QByteArray("\0image/png\0\3\0", 13) + QByteArray(187, '\x89');
    const QByteArray title = latin1(QStringLiteral("001 - Lied"));
    EXPECT_EQ(readBytes(tag(4, frame4("COMM", comment) + frame4("APIC", picture) + frame4("TIT2", title), 64),
                        Title),
              QStringLiteral(" Lied"));
    // Tags of older taggers with plain sizes in version 2.4 read as before: 300 (a valid synchsafe number
    // that leads into the comment) and 200 (no synchsafe number).
    EXPECT_EQ(
        readBytes(tag(4, frame("COMM", comment) + frame("APIC", picture) + frame("TIT2", title), 64), Title),
        QStringLiteral(" Lied"));
    // Version 2.3 sizes stay plain.
    EXPECT_EQ(readBytes(tag(3, frame("COMM", comment) + frame("TIT2", title), 64), Title),
              QStringLiteral(" Lied"));
}

TEST(Id3TitleReader, ReadsVersion22Frames) {
    const QByteArray picture = QByteArray("\0PNG\3\0", 7) + QByteArray(300, '\x89');
    const QByteArray bytes =
        tag(2,
            frame22("PIC", picture) + frame22("TT2", utf16Bom(QStringLiteral("001 - Lied"))) +
                frame22("TAL", latin1(QStringLiteral("Kandolor Lieder"))),
            32);
    EXPECT_EQ(readBytes(bytes, Title), QStringLiteral("Lied"));
    EXPECT_EQ(readBytes(bytes, Album), QStringLiteral("Kandolor Lieder"));
    EXPECT_EQ(readBytes(bytes, Composer), NoTag);
    // Four-letter identifiers mean nothing in version 2.2.
    EXPECT_EQ(readBytes(tag(2, frame("TIT2", latin1(QStringLiteral("001 - Lied"))), 20), Title), NoTag);
}

TEST(Id3TitleReader, AVersion4FooterLetsTheSearchGoTenBytesFurther) {
    // The declared size covers the first frame only; the empty frame after it starts at the end of the tag,
    // the title 10 bytes further.
    const QByteArray first = frame("TPE1", latin1(QStringLiteral("Chor")));
    const QByteArray frames =
        first + frame("TXXX", QByteArray()) + frame("TIT2", latin1(QStringLiteral("001 - Da")));
    EXPECT_EQ(readBytes(tag(4, frames, 16, 0x10, first.size()), Title), QStringLiteral(" Da"));
    EXPECT_EQ(readBytes(tag(4, frames, 16, 0x00, first.size()), Title), NoTag);
    EXPECT_EQ(readBytes(tag(3, frames, 16, 0x10, first.size()), Title), NoTag);
}

TEST(Id3TitleReader, DamagedSizesEndTheSearchWithoutReadingPastTheBuffer) {
    const QByteArray title = frame("TIT2", latin1(QStringLiteral("001 - Lied")));
    // A negative size would lead back to the same frame for ever.
    EXPECT_EQ(readBytes(tag(3, frame("TPE1", QByteArray(), -10 & 0xFFFFFFFF) + title, 16), Title), NoTag);
    EXPECT_EQ(readBytes(tag(3, frame("TIT2", latin1(QStringLiteral("001 - x")), 0x80000000u), 16), Title),
              NoTag);
    // A skipped frame that claims more bytes than the file holds.
    EXPECT_EQ(readBytes(tag(3, frame("TPE1", QByteArray(), 0x7FFFFFFF) + title, 16, 0, 0x0FFFFFFF), Title),
              NoTag);
    // A requested frame larger than the buffer: its first 4096 bytes are used.
    const QByteArray big = latin1(QStringLiteral("001 - ") + QString(9000, QLatin1Char('x')));
    EXPECT_EQ(readBytes(tag(3, frame("TIT2", big, 0x7FFFFFFF)), Title).size(), 4096 - 6);
    EXPECT_EQ(readBytes(tag(3, frame("TALB", big)), Album).size(), 4096 - 1);
    const QByteArray bigUtf16 = utf16Bom(QString(3000, QLatin1Char('y')));
    EXPECT_EQ(readBytes(tag(3, frame("TIT2", bigUtf16)), Title), QString(2047 - 1, QLatin1Char('y')));
    const QByteArray bigUtf8 = utf8(QString(5000, QChar(u'ß')));
    EXPECT_EQ(readBytes(tag(4, frame4("TIT2", bigUtf8)), Title), QString(2047, QChar(u'ß')));
    // The rule that reads from byte 10 stops at the end of the buffer.
    const QByteArray fromByte10 = QByteArray("\x01\0\0", 3) + utf16le(QString(3000, QLatin1Char('z')));
    EXPECT_EQ(readBytes(tag(3, frame("TIT2", fromByte10)), Title).size(), (4096 - 10) / 2);
}

TEST(Id3TitleReader, JoinsAnUmlautAtTheVeryEndOfTheBuffer) {
    // 'a' in bytes 4091..4092, the combining mark in 4093..4094; the next letter's low byte is the last one.
    QByteArray content = utf16Bom(QStringLiteral("001 - ") + QString(2038, QLatin1Char('b')), false) +
                         utf16le(QStringLiteral("a\u0308"));
    content += utf16le(QStringLiteral("cc"));
    ASSERT_EQ(content.indexOf(QByteArray("\x08\x03", 2)), 4093);
    const QString text = readBytes(tag(3, frame("TIT2", content)), Title);
    EXPECT_EQ(text, QString(2038, QLatin1Char('b')) + QStringLiteral("äc"));
}

TEST(Id3TitleReader, AFileEndingInsideAHeaderOrContentIsAnInputOutputError) {
    const QString readError = QStringLiteral("E/A-Fehler 100");
    EXPECT_EQ(errorOf(QByteArray(), Title), readError);
    EXPECT_EQ(errorOf(QByteArray("ID3\x03\0", 5), Title), readError);
    EXPECT_EQ(errorOf(tag(3, QByteArray("TIT2\0\0", 6), 0, 0, 100), Title), readError);
    EXPECT_EQ(errorOf(tag(3, frame("TIT2", latin1(QStringLiteral("001 - Lied")), 100)), Title), readError);
    // The tag claims more than the file holds and the frames end exactly at the end of the file.
    EXPECT_EQ(errorOf(tag(3, frame("TPE1", latin1(QStringLiteral("x"))), 0, 0, 1000), Title), readError);
}

TEST(Id3TitleReader, OpensFilesReadOnlyAndReportsAMissingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("song.mp3"));
    try {
        ReadId3v2Text(path, Title);
        FAIL();
    } catch (const KandolorError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("E/A-Fehler 2"));
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(titleTag(utf16Bom(QStringLiteral("001 - Morgenlied"))) + QByteArray(400, '\xFF'));
    f.close();
    ASSERT_TRUE(f.setPermissions(QFileDevice::ReadOwner));
    EXPECT_EQ(ReadId3v2Text(path, Title), QStringLiteral("Morgenlied"));
    EXPECT_EQ(ReadId3v2Text(path, Album), NoTag);
}
