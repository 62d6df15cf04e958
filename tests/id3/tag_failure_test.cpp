#include "Id3TestData.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeFolders.h"
#include "id3/MemoryStream.h"
#include "id3/TID3v2Tag.h"

#include <QDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace id3test;

namespace {

// A file in memory whose first write (or read) at or beyond an offset fails once.
class FailingStream : public MemoryStream {
public:
    using MemoryStream::MemoryStream;
    qint64 failWriteAt = -1;
    qint64 failReadAt = -1;
    bool readThrowsUnexpected = false;

    qint64 read(char* data, qint64 max) override {
        if (failReadAt >= 0 && position() + max > failReadAt) {
            failReadAt = -1;
            if (readThrowsUnexpected)
                throw std::runtime_error("device gone");
            throw StreamReadError("injected read failure");
        }
        return MemoryStream::read(data, max);
    }
    void write(const char* data, qint64 n) override {
        if (failWriteAt >= 0 && position() + n > failWriteAt) {
            const qint64 partial = qBound<qint64>(0, failWriteAt - position(), n);
            failWriteAt = -1;
            MemoryStream::write(data, partial); // up to the failing offset
            throw StreamWriteError("injected write failure");
        }
        MemoryStream::write(data, n);
    }
    using MemoryStream::write;
};

class TagFailure : public ::testing::Test {
protected:
    QStringList tempFiles() { return QDir(folders.tempFolder()).entryList(QDir::Files); }
    // A tag without padding (always rebuilt) followed by audio.
    QByteArray original =
        buildTag(3, 0, frameV3("TIT2", latin1("alt")) + frameV3("TPE1", latin1("x"))) + audio(200000);

    FakeDialogs dialogs;
    FakeFolders folders;
    TID3v2Tag tag{dialogs, folders};
};

} // namespace

struct WriteFailureCase {
    const char* name;
    qint64 failWriteAt; // offset in the target
    TMP3Error result;
};
void PrintTo(const WriteFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class WriteFailure : public TagFailure, public ::testing::WithParamInterface<WriteFailureCase> {};

TEST_P(WriteFailure, FileIsRestoredAndNoTemporaryFileStays) {
    FailingStream stream(original);
    ASSERT_EQ(tag.ReadFromStream(stream), MP3ERR_None);
    tag.SetTitle(QStringLiteral("a much longer title than before"));
    stream.failWriteAt = GetParam().failWriteAt;

    EXPECT_EQ(tag.WriteToStream(stream), GetParam().result);
    EXPECT_EQ(stream.failWriteAt, -1) << "the failure was not reached";
    EXPECT_EQ(sha1(stream.data()), sha1(original));
    EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Steps, WriteFailure,
                         ::testing::Values(WriteFailureCase{"WhileWritingTheTag", 20, MP3ERR_SWrite},
                                           WriteFailureCase{"WhileCopyingTheAudioBack", 100000,
                                                            MP3ERR_FOpenR}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TagFailure, FailedInPlaceWriteRestoresTheOldTag) {
    original = buildTag(3, 0, frameV3("TIT2", latin1("alt")), 500) + audio(1000);
    FailingStream stream(original);
    ASSERT_EQ(tag.ReadFromStream(stream), MP3ERR_None);
    tag.SetTitle(QStringLiteral("neu"));
    stream.failWriteAt = 100; // in the padding
    EXPECT_EQ(tag.WriteToStream(stream), MP3ERR_SWrite);
    EXPECT_EQ(stream.failWriteAt, -1);
    EXPECT_EQ(stream.data(), original);
}

TEST_F(TagFailure, AudioThatCannotBeSavedLeavesTheFileUnchanged) {
    FailingStream stream(original);
    ASSERT_EQ(tag.ReadFromStream(stream), MP3ERR_None);
    tag.SetTitle(QStringLiteral("neu"));
    stream.failReadAt = 50000;
    EXPECT_EQ(tag.WriteToStream(stream), ID3ERR_Cache);
    EXPECT_EQ(stream.data(), original);
    EXPECT_TRUE(tempFiles().isEmpty());
}

TEST_F(TagFailure, UnexpectedFailuresShowAMessageBox) {
    FailingStream stream(original);
    stream.failReadAt = 0;
    stream.readThrowsUnexpected = true;
    EXPECT_EQ(tag.ReadFromStream(stream), ID3ERR_Unclassified);
    EXPECT_EQ(dialogs.shown(), QStringList{QStringLiteral("Error: device gone")});

    ASSERT_EQ(tag.ReadFromStream(stream), MP3ERR_None);
    stream.failReadAt = 0;
    stream.readThrowsUnexpected = true;
    EXPECT_EQ(tag.WriteToStream(stream), ID3ERR_Unclassified);
    EXPECT_EQ(dialogs.shown().last(), QStringLiteral("Error Error: device gone"));
    EXPECT_EQ(stream.data(), original);
}

TEST_F(TagFailure, TemporaryFileThatCannotBeCreated) {
    MemoryStream stream(original);
    ASSERT_EQ(tag.ReadFromStream(stream), MP3ERR_None);
    ASSERT_TRUE(QDir(folders.tempFolder()).removeRecursively());
    EXPECT_EQ(tag.WriteToStream(stream), MP3ERR_FOpenCrt);
    EXPECT_EQ(stream.data(), original);
}

struct DamagedCase {
    const char* name;
    QByteArray file;
    TMP3Error readResult;
    size_t framesRead;
};
void PrintTo(const DamagedCase& c, std::ostream* os) {
    *os << c.name;
}

class DamagedTag : public TagFailure, public ::testing::WithParamInterface<DamagedCase> {};

// What the reader did not understand is never written over: the write leaves the file as it is.
TEST_P(DamagedTag, WriteLeavesTheFileUnchanged) {
    MemoryStream stream(GetParam().file);
    EXPECT_EQ(tag.ReadFromStream(stream), GetParam().readResult);
    EXPECT_EQ(tag.Frames().size(), GetParam().framesRead);
    EXPECT_TRUE(tag.HasUnknownData());
    tag.SetTitle(QStringLiteral("neu"));
    EXPECT_NE(tag.WriteToStream(stream), MP3ERR_None);
    EXPECT_EQ(stream.data(), GetParam().file);
}

namespace {
const QByteArray Title = frameV3("TIT2", latin1("Titel"));
// A tag of 400 bytes whose size field claims 5000, followed by audio.
QByteArray oversizedTagBeforeAudio() {
    QByteArray data = buildTag(3, 0, Title, 400 - 10 - Title.size()) + audio(3000);
    data.replace(6, 4, bytes({0, 0, 0x27, 0x06}));
    return data;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(
    Tags, DamagedTag,
    ::testing::Values(
        DamagedCase{
            "DamagedIdentifierAmongFrames",
            buildTag(3, 0, Title + QByteArray("T!T2\0\0\0\2\0\0\0x", 12) + frameV3("TPE1", latin1("b")), 50) +
                audio(1000),
            MP3ERR_None, 1},
        DamagedCase{"FrameSizePastTheTag",
                    buildTag(3, 0, Title + frameV3("TPE1", latin1("b")).replace(7, 1, "\x60"), 20) +
                        audio(1000),
                    MP3ERR_SRead, 1},
        DamagedCase{"TagSizePastTheFileBeforeAudio", oversizedTagBeforeAudio(), MP3ERR_SRead, 1},
        DamagedCase{"CompressedV22", buildTag(2, 0x40, frameV2("TT2", latin1("x")), 10) + audio(500),
                    ID3ERR_Compression, 0},
        DamagedCase{"BadExtendedHeader", buildTag(3, 0x40, bytes({0, 0, 0x10, 0, 0, 0}) + Title) + audio(500),
                    MP3ERR_SRead, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TagFailure, TagClaimingMoreThanTheFileIsRebuiltNotWrittenInPlace) {
    // The file ends inside the tag's zero padding: nothing is lost by a rebuild, but an in-place write
    // would grow the file to the claimed 5000 bytes.
    QByteArray data = buildTag(3, 0, Title, 600);
    data.replace(6, 4, bytes({0, 0, 0x27, 0x06}));
    MemoryStream stream(data);
    EXPECT_EQ(tag.ReadFromStream(stream), MP3ERR_SRead);
    EXPECT_TRUE(tag.UsePadding());
    EXPECT_FALSE(tag.HasUnknownData());
    tag.SetTitle(QStringLiteral("neu"));
    ASSERT_EQ(tag.WriteToStream(stream), MP3ERR_None);
    EXPECT_EQ(stream.data().size(), qint64(tag.TagSize()));
    EXPECT_EQ(stream.data().mid(10, 14), frameV3("TIT2", latin1("neu")));
    EXPECT_EQ((stream.data().size() + 128) % 2048, 0);
}
