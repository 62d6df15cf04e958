// The title reader on files whose tags other programs wrote: the lame encoder, TagLib, mutagen, eyeD3,
// id3v2 and ffmpeg.
#include "songs/Id3TitleReader.h"
#include "support/TaggedSongs.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

namespace {

constexpr int Title = 1, Composer = 2, Album = 3;

// A fifth of a second of a sine tone as a WAVE file (mono, 16 bit, 44.1 kHz).
QByteArray toneWave() {
    const int rate = 44100, samples = rate / 5;
    QByteArray pcm(samples * 2, '\0');
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<qint16>(8000 * std::sin(2 * M_PI * 440 * i / rate));
        qToLittleEndian(v, pcm.data() + 2 * i);
    }
    QByteArray h("RIFF....WAVEfmt ");
    auto le32 = [](quint32 v) {
        QByteArray b(4, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    auto le16 = [](quint16 v) {
        QByteArray b(2, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    h += le32(16) + le16(1) + le16(1) + le32(rate) + le32(rate * 2) + le16(2) + le16(16);
    h += QByteArray("data") + le32(static_cast<quint32>(pcm.size()));
    QByteArray wave = h + pcm;
    qToLittleEndian(static_cast<quint32>(wave.size() - 8), wave.data() + 4);
    return wave;
}

class ForeignFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty())
            GTEST_SKIP() << "lame is not installed";
    }

    // Encodes the tone with lame and the given tag options; the path of the MP3 file.
    QString encode(const QString& name, const QStringList& tagOptions) {
        const QString path = dir.filePath(name);
        QProcess lame;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        lame.setProcessEnvironment(env);
        lame.start(QStringLiteral("lame"), QStringList{QStringLiteral("--quiet")} + tagOptions +
                                               QStringList{QStringLiteral("-"), path});
        EXPECT_TRUE(lame.waitForStarted(10000));
        lame.write(toneWave());
        lame.closeWriteChannel();
        EXPECT_TRUE(lame.waitForFinished(30000));
        EXPECT_EQ(lame.exitCode(), 0) << lame.readAllStandardError().toStdString();
        return path;
    }

    // Tags an untagged MP3 with TagLib: title and album in the given encoding and ID3v2 version.
    QString tagWithTagLib(const QString& name, TagLib::String::Type encoding,
                          TagLib::ID3v2::Version version) {
        const QString path = encode(name, {});
        TagLib::MPEG::File file(path.toUtf8().constData());
        EXPECT_TRUE(file.isValid());
        TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
        for (const auto& [id, text] :
             {std::pair{"TIT2", "001 - Morgenlied"}, std::pair{"TALB", "Kandolor Grüße"}}) {
            auto* frame = new TagLib::ID3v2::TextIdentificationFrame(TagLib::ByteVector(id), encoding);
            frame->setText(TagLib::String(text, TagLib::String::UTF8));
            tag->addFrame(frame);
        }
        EXPECT_TRUE(file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, version));
        return path;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ForeignFiles, LameTitlesAreUtf16WithoutTerminatorAndKeepTheirLastLetter) {
    const QString plain =
        encode(QStringLiteral("a.mp3"),
               {QStringLiteral("--add-id3v2"), QStringLiteral("--tt"), QStringLiteral("001 - Morgenlied")});
    EXPECT_EQ(ReadId3v2Text(plain, Title), QStringLiteral("Morgenlied"));
    // The demo songs end their titles with a blank, which is trimmed.
    const QString umlauts =
        encode(QStringLiteral("b.mp3"), {QStringLiteral("--add-id3v2"), QStringLiteral("--tt"),
                                         QStringLiteral("002 - Grüße aus Köln ")});
    EXPECT_EQ(ReadId3v2Text(umlauts, Title), QStringLiteral("Grüße aus Köln"));
    EXPECT_EQ(ReadId3v2Text(umlauts, Composer), QStringLiteral("ID3ERR_NoTag"));
}

TEST_F(ForeignFiles, ARecordingsAlbumFromLameKeepsItsBeginning) {
    const QString path =
        encode(QStringLiteral("rec.mp3"), {QStringLiteral("--add-id3v2"), QStringLiteral("--tl"),
                                           QStringLiteral("Kandolor   Max Muster  03.06.2015"),
                                           QStringLiteral("--tv"), QStringLiteral("TCOM=Kandolor")});
    EXPECT_EQ(ReadId3v2Text(path, Album), QStringLiteral("Kandolor   Max Muster  03.06.2015"));
    EXPECT_EQ(ReadId3v2Text(path, Composer), QStringLiteral("Kandolor"));
}

struct TagLibCase {
    TagLib::String::Type encoding;
    TagLib::ID3v2::Version version;
    const char* title;
    const char* album;
};

class TagLibFiles : public ForeignFiles, public ::testing::WithParamInterface<TagLibCase> {};

TEST_P(TagLibFiles, ReadsTitleAndAlbum) {
    const TagLibCase& c = GetParam();
    const QString path = tagWithTagLib(QStringLiteral("t.mp3"), c.encoding, c.version);
    EXPECT_EQ(ReadId3v2Text(path, Title), QString::fromUtf8(c.title));
    EXPECT_EQ(ReadId3v2Text(path, Album), QString::fromUtf8(c.album));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TagLibFiles,
    ::testing::Values(TagLibCase{TagLib::String::Latin1, TagLib::ID3v2::v3, " Morgenlied", "Kandolor Grüße"},
                      TagLibCase{TagLib::String::Latin1, TagLib::ID3v2::v4, " Morgenlied", "Kandolor Grüße"},
                      TagLibCase{TagLib::String::UTF16, TagLib::ID3v2::v3, "Morgenlied", "Kandolor Grüße"},
                      TagLibCase{TagLib::String::UTF16, TagLib::ID3v2::v4, "Morgenlied", "Kandolor Grüße"},
                      TagLibCase{TagLib::String::UTF16BE, TagLib::ID3v2::v4, "Morgenlied", "Kandolor Grüße"},
                      TagLibCase{TagLib::String::UTF8, TagLib::ID3v2::v4, "Morgenlied", "Kandolor Grüße"}));

// Songs tagged by each tool in each ID3v2 version and text encoding it writes, with a comment and a picture
// over 127 bytes before the title (mutagen: a long artist before the album).
struct TaggerCase {
    const char* recipe; // NAME|TOOL|VERSION|ENCODING|TITLE|ALBUM for make-tagged-songs.py
    const char* title;
    const char* album;
};

const TaggerCase taggerCases[] = {
    {"m30.mp3|mutagen|3|0|001 - Übermaß|Kandolor Grüße", " Übermaß", "Kandolor Grüße"},
    {"m31.mp3|mutagen|3|1|002 - Übermaß|Kandolor Grüße", "Übermaß", "Kandolor Grüße"},
    {"m40.mp3|mutagen|4|0|003 - Übermaß|Kandolor Grüße", " Übermaß", "Kandolor Grüße"},
    {"m41.mp3|mutagen|4|1|004 - Übermaß|Kandolor Grüße", "Übermaß", "Kandolor Grüße"},
    {"m42.mp3|mutagen|4|2|005 - Übermaß|Kandolor Grüße", "Übermaß", "Kandolor Grüße"},
    {"m43.mp3|mutagen|4|3|006 - Übermaß|Kandolor Grüße", "Übermaß", "Kandolor Grüße"},
    {"m43n.mp3|mutagen|4|3|Großer Gott|", "Großer Gott", "ID3ERR_NoTag"},
    {"e3l.mp3|eyed3|3|latin1|007 - Übermaß|Kandolor Grüße", " Übermaß", "Kandolor Grüße"},
    {"e3u.mp3|eyed3|3|utf16|008 - Übermaß|Kandolor Grüße", "Übermaß", "Kandolor Grüße"},
    {"e4u.mp3|eyed3|4|utf8|009 - Übermaß|Kandolor Grüße", "Übermaß", "Kandolor Grüße"},
    {"e4w.mp3|eyed3|4|utf16|010 - Übermaß|Kandolor Grüße", "Übermaß", "Kandolor Grüße"},
    {"e4b.mp3|eyed3|4|utf16-be|011 - Übermaß|Kandolor Grüße", "Übermaß", "Kandolor Grüße"},
    {"i3.mp3|id3v2|3||012 - Übermaß|Kandolor Grüße", " Übermaß", "Kandolor Grüße"},
    {"i3n.mp3|id3v2|3||Großer Gott|", "Großer Gott", "ID3ERR_NoTag"},
    {"f3.mp3|ffmpeg|3||013 - Übermaß|Kandolor Grüße", "Übermaß", "Kandolor Grüße"},
    {"f4.mp3|ffmpeg|4||014 - Übermaß|Kandolor Grüße", "Übermaß", "Kandolor Grüße"},
    {"none.mp3|none||||", "ID3ERR_NoTag", "ID3ERR_NoTag"},
};

TEST(TaggerFiles, EveryVersionAndEncodingGivesTitleAndAlbum) {
    if (const QString missing = TaggedSongs::missingTools(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    QStringList recipes;
    for (const TaggerCase& c : taggerCases)
        recipes << QString::fromUtf8(c.recipe);
    const QString error = TaggedSongs::make(dir.path(), recipes);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    for (const TaggerCase& c : taggerCases) {
        const QString path = dir.filePath(QString::fromUtf8(c.recipe).section(QLatin1Char('|'), 0, 0));
        EXPECT_EQ(ReadId3v2Text(path, Title).toStdString(), c.title) << c.recipe;
        EXPECT_EQ(ReadId3v2Text(path, Album).toStdString(), c.album) << c.recipe;
    }
}
