// Tags written by other tools and hand-built ones are read, changed as a finished recording is, written and
// read back by TagLib; every other frame must stay byte for byte and the audio must not change.
#include "Id3TestData.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeFolders.h"
#include "id3/Id3Bytes.h"
#include "id3/TID3v2Tag.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <ostream>
#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/privateframe.h>
#include <taglib/textidentificationframe.h>

using namespace id3test;

namespace {

const QString NewTitle = QStringLiteral("Vortrag über Ähren");
const QString NewArtist = QStringLiteral("Łukasz Müller"); // Ł needs UTF-16
const QString NewAlbum = QStringLiteral("Kandolor Max");
const QString NewComment = QStringLiteral("Teil 1");

QString fromTagLib(const TagLib::String& s) {
    return QString::fromStdWString(s.toWString());
}

// The changes a finished recording gets.
void retag(TID3v2Tag& tag) {
    tag.SetTitle(NewTitle);
    tag.SetArtist(NewArtist);
    tag.SetComment(NewComment);
    tag.SetAlbum(NewAlbum);
    tag.SetYear(QStringLiteral("2026"));
}

// The frames of the tag area as this tag holds them, except those retag() changes.
QList<QByteArray> framesKept(const TID3v2Tag& tag) {
    QList<QByteArray> kept;
    for (const auto& frame : tag.Frames()) {
        const TFrameIDs kind = frame->ID();
        QString lang, desc, text;
        frame->GetCommentsLyrics(lang, desc, text);
        if (kind == IDv2_TITEL || kind == IDv2_ARTIST || kind == IDv2_ALBUM || kind == IDv2_YEAR ||
            (kind == IDv2_COMMENT && lang == QLatin1String("XXX") && desc.isEmpty()))
            continue;
        kept.append(frame->Header() + frame->Data());
    }
    return kept;
}

class RoundTrip : public ::testing::Test {
protected:
    QString path() { return folders.homeFolder() + QStringLiteral("/r.mp3"); }

    // Reads, retags and writes the file; checks what TagLib reads, the kept frames and the audio.
    void retagAndCheck(const QList<QByteArray>& expectedKept = {}, bool keptFromRead = true) {
        const QByteArray before = readFile(path());
        ASSERT_EQ(tag.ReadFromFile(path()), MP3ERR_None);
        ASSERT_TRUE(tag.Exists());
        const QList<QByteArray> kept = keptFromRead ? framesKept(tag) : expectedKept;
        ASSERT_FALSE(kept.isEmpty());
        retag(tag);
        ASSERT_EQ(tag.WriteToFile(path()), MP3ERR_None);

        const QByteArray after = readFile(path());
        EXPECT_EQ(sha1(afterTag(after)), sha1(afterTag(before)));
        QByteArray area = after.mid(10, tagSizeOf(after) - 10);
        if (static_cast<unsigned char>(after[5]) & 0x80 && after[3] != 4)
            area = id3::Deunsynchronise(area);
        for (const QByteArray& frame : kept)
            EXPECT_TRUE(area.contains(frame)) << frame.left(4).constData();

        TagLib::MPEG::File file(QFile::encodeName(path()).constData());
        ASSERT_TRUE(file.isValid());
        TagLib::ID3v2::Tag* id3 = file.ID3v2Tag();
        ASSERT_TRUE(id3);
        EXPECT_EQ(fromTagLib(id3->title()), NewTitle);
        EXPECT_EQ(fromTagLib(id3->artist()), NewArtist);
        EXPECT_EQ(fromTagLib(id3->album()), NewAlbum);
        EXPECT_EQ(id3->year(), 2026u);
        int ownComments = 0;
        for (TagLib::ID3v2::Frame* frame : id3->frameListMap()["COMM"]) {
            auto* comment = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame);
            ASSERT_TRUE(comment);
            if (comment->language() == "XXX") {
                ++ownComments;
                EXPECT_EQ(fromTagLib(comment->text()), NewComment);
            }
        }
        EXPECT_EQ(ownComments, 1);
        taglib.clear();
        for (const auto& [id, frames] : id3->frameListMap()) {
            for (TagLib::ID3v2::Frame* frame : frames)
                taglib[QString::fromLatin1(id.data(), int(id.size()))].append(fromTagLib(frame->toString()));
        }
    }

    FakeDialogs dialogs;
    FakeFolders folders;
    TID3v2Tag tag{dialogs, folders};
    // What TagLib read from the written file: frame identifier -> texts of those frames.
    QMap<QString, QStringList> taglib;
};

QString runLame(const QString& folder, const QStringList& tagOptions) {
    const QString wav = folder + QStringLiteral("/in.wav");
    const QString mp3 = folder + QStringLiteral("/lame.mp3");
    writeFile(wav, sineWave(1500));
    QProcess lame;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    lame.setProcessEnvironment(env);
    lame.start(QStringLiteral("lame"),
               QStringList{QStringLiteral("--quiet")} + tagOptions + QStringList{wav, mp3});
    if (!lame.waitForFinished(60000) || lame.exitStatus() != QProcess::NormalExit || lame.exitCode() != 0)
        return {};
    return mp3;
}

} // namespace

TEST_F(RoundTrip, TagWrittenByLame) {
    const QString mp3 =
        runLame(folders.homeFolder(), {"--id3v2-only", "--tt", "Alt", "--ta", "Jemand", "--tl", "Album",
                                       "--tc", "Kommentar", "--tg", "Speech"});
    ASSERT_FALSE(mp3.isEmpty()) << "lame failed";
    ASSERT_TRUE(QFile::rename(mp3, path()));
    retagAndCheck();
    ASSERT_FALSE(taglib["TCON"].isEmpty());
    EXPECT_EQ(taglib["TCON"].front(), QStringLiteral("Speech"));
    ASSERT_EQ(taglib["COMM"].size(), 2u); // lame's own "eng" comment stays
}

TEST_F(RoundTrip, TagWrittenByTagLib) {
    const QString mp3 = runLame(folders.homeFolder(), {});
    ASSERT_FALSE(mp3.isEmpty()) << "lame failed";
    ASSERT_TRUE(QFile::rename(mp3, path()));
    {
        TagLib::MPEG::File file(QFile::encodeName(path()).constData());
        TagLib::ID3v2::Tag* id3 = file.ID3v2Tag(true);
        id3->setTitle("Alt");
        id3->setGenre("Speech");
        id3->setComment("eng comment");
        auto* user = new TagLib::ID3v2::UserTextIdentificationFrame(TagLib::String::UTF8);
        user->setDescription("Kennung");
        user->setText("42");
        id3->addFrame(user);
        auto* priv = new TagLib::ID3v2::PrivateFrame();
        priv->setOwner("kandolor.test");
        priv->setData(TagLib::ByteVector("\xFF\xE0\x00\xFF", 4));
        id3->addFrame(priv);
        ASSERT_TRUE(file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, TagLib::ID3v2::v4));
    }
    retagAndCheck();
    EXPECT_EQ(taglib["TXXX"].size(), 1u);
    EXPECT_EQ(taglib["PRIV"].size(), 1u);
}

struct HandBuilt {
    const char* name;
    QByteArray tag;
    QList<QByteArray> kept; // as they must appear in the written tag
    const char* composer;   // what TagLib must read from TCOM; empty: not checked
};
void PrintTo(const HandBuilt& c, std::ostream* os) {
    *os << c.name;
}

class HandBuiltTag : public RoundTrip, public ::testing::WithParamInterface<HandBuilt> {};

TEST_P(HandBuiltTag, ReadChangedWrittenAndReadBack) {
    writeFile(path(), GetParam().tag + audio(50000, 3));
    retagAndCheck(GetParam().kept, false);
    if (*GetParam().composer) {
        ASSERT_FALSE(taglib["TCOM"].isEmpty());
        EXPECT_EQ(taglib["TCOM"].front(), QString::fromUtf8(GetParam().composer));
    }
}

namespace {

const QByteArray Private =
    frameV3("PRIV", QByteArray("owner\0", 6) + bytes({0xFF, 0xE0, 0x01, 0xFF, 0x00, 0xFF}));
const QByteArray Genre3 = frameV3("TCON", latin1("Speech"));

HandBuilt v22() {
    const QByteArray genre = frameV2("TCO", latin1("(101)"));
    const QByteArray comment = frameV2("COM", bytes({0}) + "eng" + bytes({0}) + "Notiz");
    const QByteArray body = frameV2("TT2", latin1("Alt")) + genre + frameV2("TP1", latin1("x")) + comment;
    return {"V22", buildTag(2, 0, body, 100), {genre, comment}, ""};
}

HandBuilt v23UnsyncExtended() {
    const QByteArray extended = bytes({0, 0, 0, 6, 0, 0, 0, 0, 0, 100});
    const QByteArray title = frameV3("TIT2", QByteArray("\0Alt\xFF", 5));
    const QByteArray body = id3::Unsynchronise(extended + title + Private + Genre3);
    return {"V23UnsyncExtendedHeader", buildTag(3, 0xC0, body, 100), {Private, Genre3}, ""};
}

HandBuilt v24FooterLengthGrouping() {
    const QByteArray title = frameV4("TIT2", bytes({0, 0, 0, 4}) + latin1("Alt"), 0, 0x01);
    const QByteArray composer = frameV4("TCOM", bytes({5, 0, 0, 0, 10}) + latin1("Komponist"), 0, 0x41);
    const QByteArray genre = frameV4("TCON", latin1("Speech"), 0x40, 0);
    const QByteArray body = title + composer + genre + frameV4("TPE1", latin1("x"));
    return {"V24FooterDataLengthGrouping",
            buildTag(4, 0x10, body, 0, true),
            {frameV4("TCOM", bytes({5}) + latin1("Komponist"), 0, 0x40), genre},
            ""};
}

HandBuilt compressedV3() {
    const QByteArray composer = frameV3("TCOM", qCompress(latin1("Komponist")), 0, 0x80);
    return {"CompressedV23",
            buildTag(3, 0, frameV3("TIT2", latin1("Alt")) + composer + Genre3, 64),
            {composer, Genre3},
            "Komponist"};
}

HandBuilt compressedV4() {
    const QByteArray zlib = qCompress(latin1("Komponist")).mid(4);
    const QByteArray composer = frameV4("TCOM", bytes({0, 0, 0, 10}) + zlib, 0, 0x09);
    const QByteArray genre = frameV4("TCON", latin1("Speech"));
    return {"CompressedV24",
            buildTag(4, 0, frameV4("TIT2", latin1("Alt")) + composer + genre, 64),
            {composer, genre},
            "Komponist"};
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Tags, HandBuiltTag,
                         ::testing::Values(v22(), v23UnsyncExtended(), v24FooterLengthGrouping(),
                                           compressedV3(), compressedV4()),
                         [](const auto& info) { return std::string(info.param.name); });
