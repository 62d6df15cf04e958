#include "Id3TestData.h"
#include "id3/ByteStream.h"
#include "id3/MemoryStream.h"
#include "id3/TID3v2Frame.h"

#include <QSet>
#include <gtest/gtest.h>
#include <ostream>

using namespace id3test;

namespace {
// Reads a frame from bytes that begin with its identifier.
std::unique_ptr<TID3v2Frame> readFrame(const QByteArray& raw, int major) {
    const int idLength = major == 2 ? 3 : 4;
    auto frame = std::make_unique<TID3v2Frame>(raw.left(idLength), major);
    MemoryStream stream(raw);
    stream.seek(idLength);
    frame->ReadFromStream(stream, raw.size());
    return frame;
}
QByteArray written(TID3v2Frame& frame, bool unsynced = false) {
    MemoryStream out;
    if (unsynced)
        frame.WriteUnsyncedToStream(out);
    else
        frame.WriteToStream(out);
    return out.data();
}
} // namespace

struct RoundTripCase {
    const char* name;
    int major;
    QByteArray raw;
    bool parsable;
};
void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

class FrameRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(FrameRoundTrip, WrittenBackByteForByte) {
    const RoundTripCase& c = GetParam();
    auto frame = readFrame(c.raw, c.major);
    EXPECT_EQ(frame->Parsable(), c.parsable);
    EXPECT_EQ(written(*frame), c.raw);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FrameRoundTrip,
    ::testing::Values(
        RoundTripCase{"V3Text", 3, frameV3("TIT2", latin1("Gottes Wo")), true},
        RoundTripCase{"V2Text", 2, frameV2("TT2", latin1("Titel")), true},
        RoundTripCase{"V3Compressed", 3, frameV3("TIT2", qCompress(latin1("abc")), 0x40, 0x80), false},
        RoundTripCase{"V3Encrypted", 3, frameV3("TALB", bytes({1, 2, 3, 4}), 0, 0x40), false},
        RoundTripCase{"V3Grouped", 3, frameV3("TIT2", bytes({7}) + latin1("x"), 0, 0x20), true},
        RoundTripCase{"V4CompressedWithLength", 4,
                      frameV4("TIT2", bytes({0, 0, 0, 4}) + qCompress(latin1("abc")).mid(4), 0, 0x09), false},
        RoundTripCase{"V4GroupTooShort", 4, frameV4("TIT2", QByteArray(), 0, 0x40), false},
        RoundTripCase{"V4LengthTooShort", 4, frameV4("TIT2", bytes({0, 0, 1}), 0, 0x01), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Frame, DataLengthIsDroppedOnWrite) {
    auto frame = readFrame(frameV4("TIT2", bytes({3}) + bytes({0, 0, 0, 2}) + latin1("a"), 0, 0x41), 4);
    EXPECT_EQ(frame->GroupID(), 3);
    EXPECT_EQ(frame->Data(), latin1("a"));
    EXPECT_EQ(written(*frame), frameV4("TIT2", bytes({3}) + latin1("a"), 0, 0x40));
}

TEST(Frame, UnsynchronisedV4FrameIsReadAndRewrittenPlainOrUnsynced) {
    const QByteArray content = bytes({0, 'a', 0xFF, 0xE0, 0xFF});
    auto frame = readFrame(frameV4("TIT2", TID3v2Frame::Unsynchronise(content), 0, 0x02), 4);
    EXPECT_EQ(frame->Data(), content);
    EXPECT_EQ(written(*frame, true), frameV4("TIT2", TID3v2Frame::Unsynchronise(content), 0, 0x02));
    EXPECT_EQ(written(*frame), frameV4("TIT2", content));
    TID3v2Frame plain("TIT2", 4);
    plain.SetText(QStringLiteral("ab"));
    EXPECT_EQ(written(plain, true), frameV4("TIT2", latin1("ab")));
}

TEST(Frame, SizePastTheEndIsAReadError) {
    QByteArray raw = frameV3("TIT2", latin1("abc"));
    raw.chop(1);
    EXPECT_THROW(readFrame(raw, 3), StreamReadError);
    EXPECT_THROW(readFrame(QByteArray("TIT2\0\0", 6), 3), StreamReadError);
}

TEST(Frame, ContentFlagsClearedByNewTextKeepPreservationAndGrouping) {
    auto frame = readFrame(frameV3("TIT2", bytes({9}) + latin1("x"), 0xE0, 0x20), 3);
    frame->SetText(QStringLiteral("y"));
    EXPECT_EQ(written(*frame), frameV3("TIT2", bytes({9}) + latin1("y"), 0xC0, 0x20));
}

TEST(Frame, InvalidIdentifiersBecomePlaceholders) {
    EXPECT_EQ(TID3v2Frame("tit2", 3).IDString(), QByteArray("XXXX"));
    EXPECT_EQ(TID3v2Frame("TIT2", 2).IDString(), QByteArray("XXX"));
    EXPECT_EQ(TID3v2Frame("TT2", 7).Version(), FV_2);
    EXPECT_EQ(TID3v2Frame("TDRC", 4).ID(), IDv2_YEAR);
    EXPECT_EQ(TID3v2Frame("TYE", 2).ID(), IDv2_YEAR);
    EXPECT_EQ(TID3v2Frame("ZZZZ", 3).ID(), IDv2_UNKNOWN);
}

TEST(Frame, FrameIdTable) {
    ASSERT_EQ(FrameIdTable.size(), 91u);
    EXPECT_STREQ(FrameIdTable[IDv2_SIZE].V3, "TSIZ");
    EXPECT_STREQ(FrameIdTable[IDv2_UNKNOWN].V4, "XXXX");
    EXPECT_STREQ(FrameIdTable[1].V3, "XMP3");
    // Every identifier is unique within its version and has that version's length.
    for (int major : {2, 3, 4}) {
        QSet<QByteArray> seen;
        for (int i = 2; i < FrameIdCount; ++i) {
            const QByteArray id = FrameIdFor(static_cast<TFrameIDs>(i), major);
            EXPECT_EQ(id.size(), major == 2 ? 3 : 4) << id.constData();
            if (!id.startsWith('-'))
                EXPECT_FALSE(seen.contains(id)) << id.constData();
            seen.insert(id);
        }
    }
}

struct UnsyncCase {
    QByteArray plain;
    QByteArray unsynced;
};
void PrintTo(const UnsyncCase& c, std::ostream* os) {
    *os << c.plain.toHex(' ').constData();
}

class Unsynchronisation : public ::testing::TestWithParam<UnsyncCase> {};

TEST_P(Unsynchronisation, BothWays) {
    bool inserted = false;
    EXPECT_EQ(TID3v2Frame::Unsynchronise(GetParam().plain, &inserted), GetParam().unsynced);
    EXPECT_EQ(inserted, GetParam().plain != GetParam().unsynced);
    EXPECT_EQ(TID3v2Frame::Deunsynchronise(GetParam().unsynced), GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Unsynchronisation,
                         ::testing::Values(UnsyncCase{bytes({0xFF, 0xE0}), bytes({0xFF, 0, 0xE0})},
                                           UnsyncCase{bytes({0xFF, 0}), bytes({0xFF, 0, 0})},
                                           UnsyncCase{bytes({0x41, 0xFF}), bytes({0x41, 0xFF, 0})},
                                           UnsyncCase{bytes({0xFF, 0x41}), bytes({0xFF, 0x41})},
                                           UnsyncCase{bytes({0xFF, 0xFF, 0xFF}),
                                                      bytes({0xFF, 0, 0xFF, 0, 0xFF, 0})},
                                           UnsyncCase{QByteArray(), QByteArray()}));

TEST(Unsynchronisation, DeunsynchroniseKeepsAFinalByte) {
    EXPECT_EQ(TID3v2Frame::Deunsynchronise(bytes({0xFF, 0, 0xE0})), bytes({0xFF, 0xE0}));
    EXPECT_EQ(TID3v2Frame::Deunsynchronise(bytes({0x12, 0xFF})), bytes({0x12, 0xFF}));
}
