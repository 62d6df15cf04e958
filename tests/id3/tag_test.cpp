#include "Id3TestData.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeFolders.h"
#include "id3/MemoryStream.h"
#include "id3/TID3v2Tag.h"
#include "id3/TempTagFile.h"

#include <QDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace id3test;

namespace {

// A v2.3 tag of 1000 bytes whose header and frames take 500: a short title and a private frame.
const QByteArray PrivateFrame = frameV3("PRIV", QByteArray(468, 'p'));
QByteArray tag1000() {
    return buildTag(3, 0, frameV3("TIT2", latin1("a")) + PrivateFrame, 500);
}

class TagFile : public ::testing::Test {
protected:
    QString path() { return folders.homeFolder() + QStringLiteral("/a.mp3"); }
    QStringList tempFiles() { return QDir(folders.tempFolder()).entryList(QDir::Files); }

    FakeDialogs dialogs;
    FakeFolders folders;
    TID3v2Tag tag{dialogs, folders};
};

} // namespace

TEST_F(TagFile, LongerTitleFitsInPlace) {
    const QByteArray sound = audio(5000);
    writeFile(path(), tag1000() + sound);
    ASSERT_EQ(tag.ReadFromFile(path()), MP3ERR_None);
    EXPECT_EQ(tag.PaddingSize(), 500u);
    tag.SetTitle(QString(201, QLatin1Char('t'))); // header and frames now 700 bytes

    ASSERT_EQ(tag.WriteToFile(path()), MP3ERR_None);
    const QByteArray out = readFile(path());
    EXPECT_EQ(tag.TagSize(), 1000u);
    EXPECT_EQ(tag.DataSize(), 700u);
    EXPECT_EQ(tag.PaddingSize(), 300u);
    EXPECT_EQ(tagSizeOf(out), 1000);
    EXPECT_EQ(out.mid(700, 300), QByteArray(300, '\0'));
    EXPECT_EQ(out.mid(1000), sound);
    EXPECT_TRUE(tempFiles().isEmpty());
}

class ClusterPadding : public TagFile, public ::testing::WithParamInterface<bool> {};

TEST_P(ClusterPadding, RebuildAlignsTagAndAudioToClusters) {
    const bool id3v1 = GetParam();
    QByteArray sound = audio(3000000);
    if (id3v1)
        sound.replace(sound.size() - 128, 3, "TAG");
    writeFile(path(), tag1000() + sound);
    ASSERT_EQ(tag.ReadFromFile(path()), MP3ERR_None);
    tag.SetTitle(QString(481, QLatin1Char('t'))); // 980 + 30 >= 1000: no room in place

    ASSERT_EQ(tag.WriteToFile(path()), MP3ERR_None);
    const QByteArray out = readFile(path());
    EXPECT_EQ(tag.DataSize(), 980u);
    EXPECT_GE(tag.PaddingSize(), 1u);
    EXPECT_LE(tag.PaddingSize(), 4096u);
    EXPECT_EQ((980 + tag.PaddingSize() + sound.size() + (id3v1 ? 0 : 128)) % 4096, 0u);
    EXPECT_EQ(tagSizeOf(out), qint64(tag.TagSize()));
    EXPECT_EQ(sha1(afterTag(out)), sha1(sound));
    EXPECT_TRUE(tempFiles().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutId3v1, ClusterPadding, ::testing::Bool());

TEST_F(TagFile, TagWithoutPaddingIsRebuiltWithoutPadding) {
    const QByteArray sound = audio(3000);
    writeFile(path(), buildTag(3, 0, frameV3("TIT2", latin1("a long title")) + PrivateFrame) + sound);
    ASSERT_EQ(tag.ReadFromFile(path()), MP3ERR_None);
    EXPECT_FALSE(tag.UsePadding());
    tag.SetTitle(QStringLiteral("b"));

    ASSERT_EQ(tag.WriteToFile(path()), MP3ERR_None);
    const QByteArray expected = buildTag(3, 0, frameV3("TIT2", latin1("b")) + PrivateFrame) + sound;
    EXPECT_EQ(readFile(path()), expected);
    EXPECT_EQ(tag.PaddingSize(), 0u);
}

TEST_F(TagFile, FileWithoutTagGetsANewOneWithATitleOfOneBlank) {
    const QByteArray sound = audio(10000);
    writeFile(path(), sound);
    EXPECT_EQ(tag.ReadFromFile(path()), ID3ERR_NoTag);
    EXPECT_FALSE(tag.Exists());
    ASSERT_EQ(tag.WriteToFile(path()), MP3ERR_None);
    const QByteArray out = readFile(path());
    EXPECT_EQ(out.left(6), QByteArray("ID3\3\0\0", 6));
    EXPECT_EQ(out.mid(10, 12), frameV3("TIT2", latin1(" ")));
    EXPECT_EQ((out.size() + 128) % 4096, 0);
    EXPECT_EQ(afterTag(out), sound);
}

TEST_F(TagFile, UnsynchronisedV24TagIsWrittenFrameByFrame) {
    const QByteArray priv = frameV4("PRIV", bytes({'o', 0, 0xFF, 0xE0}));
    const QByteArray sound = audio(2000);
    writeFile(path(), buildTag(4, 0x80, frameV4("TIT2", latin1("a")) + priv) + sound);
    ASSERT_EQ(tag.ReadFromFile(path()), MP3ERR_None);
    EXPECT_TRUE(tag.FlgUnsynch());
    tag.SetTitle(QStringLiteral("b"));
    ASSERT_EQ(tag.WriteToFile(path()), MP3ERR_None);
    const QByteArray expected =
        frameV4("TIT2", latin1("b")) + frameV4("PRIV", bytes({'o', 0, 0xFF, 0, 0xE0}), 0, 0x02);
    EXPECT_EQ(readFile(path()), buildTag(4, 0x80, expected) + sound);
}

struct NotATagCase {
    const char* name;
    QByteArray data;
    TMP3Error result;
};
void PrintTo(const NotATagCase& c, std::ostream* os) {
    *os << c.name;
}

class NotATag : public TagFile, public ::testing::WithParamInterface<NotATagCase> {};

TEST_P(NotATag, ReadReportsItAndNoTagExists) {
    writeFile(path(), GetParam().data);
    EXPECT_EQ(tag.ReadFromFile(path()), GetParam().result);
    EXPECT_FALSE(tag.Exists());
    EXPECT_TRUE(tag.Frames().empty());
}

INSTANTIATE_TEST_SUITE_P(Files, NotATag,
                         ::testing::Values(NotATagCase{"Id3v1", QByteArray("TAG") + audio(125), ID3ERR_NoTag},
                                           NotATagCase{"RandomBytes", audio(4096, 7), ID3ERR_NoTag},
                                           NotATagCase{"Empty", QByteArray(), ID3ERR_NoTag},
                                           NotATagCase{"ShortId3", QByteArray("ID3\3"), ID3ERR_NoTag},
                                           NotATagCase{"Version5",
                                                       buildTag(5, 0, frameV3("TIT2", latin1("a"))),
                                                       ID3ERR_Invalid_Header}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TagFile, MissingFile) {
    EXPECT_EQ(tag.ReadFromFile(path()), MP3ERR_NoFile);
    EXPECT_EQ(tag.WriteToFile(path()), MP3ERR_NoFile);
}

struct YearCase {
    const char* value;
    const char* expected; // empty: no year frame
};
void PrintTo(const YearCase& c, std::ostream* os) {
    *os << '"' << c.value << '"';
}

class SetYear : public ::testing::TestWithParam<YearCase> {};

TEST_P(SetYear, WritesOrRemovesTheYearFrame) {
    FakeDialogs dialogs;
    FakeFolders folders;
    for (int major : {3, 4}) {
        TID3v2Tag tag(dialogs, folders);
        MemoryStream stream(
            buildTag(major, 0, frameV3("TYER", latin1("1999")).replace(0, 4, major == 3 ? "TYER" : "TDRC")));
        ASSERT_EQ(tag.ReadFromStream(stream), MP3ERR_None);
        tag.SetYear(QString::fromLatin1(GetParam().value));
        EXPECT_EQ(tag.GetText(IDv2_YEAR), QString::fromLatin1(GetParam().expected));
        EXPECT_EQ(tag.Frames().size(), *GetParam().expected ? 1u : 0u);
        if (!tag.Frames().empty())
            EXPECT_EQ(tag.Frames()[0]->IDString(), QByteArray(major == 3 ? "TYER" : "TDRC"));
    }
}

INSTANTIATE_TEST_SUITE_P(Values, SetYear,
                         ::testing::Values(YearCase{"2015", "2015"}, YearCase{" 815 ", "0815"},
                                           YearCase{"abc", ""}, YearCase{"0", ""}, YearCase{"10000", ""},
                                           YearCase{"20x5", ""}));

TEST(TagFrames, SetCommentReplacesOnlyTheOwnCommentFrame) {
    FakeDialogs dialogs;
    FakeFolders folders;
    TID3v2Tag tag(dialogs, folders);
    const QByteArray eng = frameV3("COMM", bytes({0}) + "eng" + bytes({0}) + "alt");
    MemoryStream stream(buildTag(3, 0, eng + frameV3("COMM", bytes({0}) + "XXX" + bytes({0}) + "Teil 1")));
    ASSERT_EQ(tag.ReadFromStream(stream), MP3ERR_None);

    tag.SetComment(QStringLiteral("Teil 2"));
    ASSERT_EQ(tag.Frames().size(), 2u);
    EXPECT_EQ(tag.Frames()[1]->Data(), bytes({0}) + "XXX" + bytes({0}) + "Teil 2");
    tag.SetComment(QString());
    ASSERT_EQ(tag.Frames().size(), 1u);
    EXPECT_EQ(tag.Frames()[0]->Header() + tag.Frames()[0]->Data(), eng);
    tag.SetComment(QStringLiteral("neu"));
    EXPECT_EQ(tag.Frames().size(), 2u);
}

TEST(TagFrames, EmptyArtistRemovesTheFrameAndNewFramesFollowTheVersion) {
    FakeDialogs dialogs;
    FakeFolders folders;
    TID3v2Tag tag(dialogs, folders);
    MemoryStream stream(buildTag(2, 0, frameV2("TP1", latin1("Redner")) + frameV2("TT2", latin1("x"))));
    ASSERT_EQ(tag.ReadFromStream(stream), MP3ERR_None);
    tag.SetArtist(QString());
    tag.SetAlbum(QStringLiteral("Kandolor Max"));
    tag.SetComment(QStringLiteral("c"));
    ASSERT_EQ(tag.Frames().size(), 3u);
    EXPECT_EQ(tag.Frames()[0]->IDString(), QByteArray("TT2"));
    EXPECT_EQ(tag.Frames()[1]->IDString(), QByteArray("TAL"));
    EXPECT_EQ(tag.Frames()[2]->IDString(), QByteArray("COM"));
}

TEST_F(TagFile, TemporaryFilesTakeTheFirstFreeNames) {
    EXPECT_EQ(TempTagFile::NameFor(QStringLiteral("/x"), 0), QStringLiteral("/x/TagTemp.t00"));
    EXPECT_EQ(TempTagFile::NameFor(QStringLiteral("/x/"), 0x1A), QStringLiteral("/x/TagTemp.t1A"));
    EXPECT_EQ(TempTagFile::NameFor(QStringLiteral("/x"), 0x100), QStringLiteral("/x/TagTemp.t100"));
    const QString stale = TempTagFile::NameFor(folders.tempFolder(), 0);
    writeFile(stale, "old");
    {
        TempTagFile first(folders.tempFolder());
        TempTagFile second(folders.tempFolder());
        EXPECT_EQ(first.path(), TempTagFile::NameFor(folders.tempFolder(), 1));
        EXPECT_EQ(second.path(), TempTagFile::NameFor(folders.tempFolder(), 2));
    }
    EXPECT_EQ(tempFiles(), QStringList{QStringLiteral("TagTemp.t00")});
    EXPECT_EQ(readFile(stale), QByteArray("old"));
}
