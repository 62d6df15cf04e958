#include "platform/CdMediaDevice.h"
#include "platform/audio/AudioFactory.h"
#include "platform/audio/CdTrackDecoder.h"
#include "support/CdImage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Tracks 1-7 audio, 8 data. Track 3 is 4:31:40 long; track 7 starts at sector 57630, disc position 12:50:30.
constexpr int Track3Sectors = (4 * 60 + 31) * 75 + 40;
constexpr int OtherSectors = 7453;
constexpr int Track7Start = Track3Sectors + 5 * OtherSectors;
constexpr int Track7Sectors = 200 * 75;
constexpr int DataSectors = 1000;
// Disc position 14:05:30 (75 s into track 7) is sector 63255; ten seconds around it carry the pattern.
constexpr int MarkSector = (14 * 60 + 5) * 75 + 30 - 150;
const CdImage::Range AroundMark{MarkSector - 150, 750};
// And the first second of track 7.
const CdImage::Range Track7Opening{Track7Start, 75};

std::vector<CdImage::Track> discTracks() {
    std::vector<CdImage::Track> tracks;
    int start = 0;
    for (int number = 1; number <= 8; ++number) {
        const int sectors = number == 3   ? Track3Sectors
                            : number == 7 ? Track7Sectors
                            : number == 8 ? DataSectors
                                          : OtherSectors;
        tracks.push_back({start, sectors, number != 8});
        start += sectors;
    }
    return tracks;
}

// Frames of the image from frame `frameInSector` of `sector` on, as the output would carry them.
std::vector<std::int16_t> imageSamples(int sector, int frameInSector, std::int64_t frames) {
    std::vector<std::int16_t> samples;
    for (std::int64_t i = 0; i < frames; ++i) {
        const std::int64_t frame = frameInSector + i;
        for (int channel = 0; channel < 2; ++channel)
            samples.push_back(CdImage::sample(sector + static_cast<int>(frame / 588),
                                              static_cast<int>(frame % 588), channel));
    }
    return samples;
}

std::vector<std::int16_t> slice(const std::vector<std::int16_t>& samples, size_t from, size_t count) {
    from = std::min(from, samples.size());
    count = std::min(count, samples.size() - from);
    return {samples.begin() + static_cast<std::ptrdiff_t>(from),
            samples.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

int sectorsOf(Msf msf) {
    return (msf.minutes * 60 + msf.seconds) * 75 + msf.frames;
}

class CdMediaDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<QTemporaryDir>();
        // "Track" in a folder of the device's path is no track name.
        const QString folder = dir_->filePath(QStringLiteral("Track99"));
        QDir().mkpath(folder);
        QString error;
        disc_ =
            CdImage::write(folder, QStringLiteral("disc"), discTracks(), {Track7Opening, AroundMark}, error);
        ASSERT_FALSE(disc_.isEmpty()) << error.toStdString();
        dataDisc_ = CdImage::write(dir_->path(), QStringLiteral("data"), {{0, 3000, false}}, {}, error);
        ASSERT_FALSE(dataDisc_.isEmpty()) << error.toStdString();
    }
    static void TearDownTestSuite() { dir_.reset(); }

    void SetUp() override {
        audio_ = createNullAudioLibrary();
        ASSERT_TRUE(audio_.library->Init(-1, 44100, 0));
        // The image's samples come out unconverted.
        ASSERT_EQ(device().playbackFormat().rate, 44100);
        ASSERT_EQ(device().playbackFormat().channels, 2);
        media_ = std::make_unique<CdMediaDevice>(*audio_.library, [this] { return devices_; });
    }
    void TearDown() override { media_.reset(); }

    NullBackend& device() { return *audio_.backend; }
    static QString trackPath(const QString& device, int number) {
        return device + QStringLiteral("/Track%1.cda").arg(number, 2, 10, QLatin1Char('0'));
    }

    static std::unique_ptr<QTemporaryDir> dir_;
    static QString disc_;
    static QString dataDisc_;
    NullAudioLibrary audio_;
    QStringList devices_;
    std::unique_ptr<CdMediaDevice> media_;
};
std::unique_ptr<QTemporaryDir> CdMediaDeviceTest::dir_;
QString CdMediaDeviceTest::disc_;
QString CdMediaDeviceTest::dataDisc_;

TEST_F(CdMediaDeviceTest, ListsOnlyTheDevicesWithAudioTracksWithTheirStartsAndLengths) {
    devices_ = {dir_->filePath(QStringLiteral("none.cue")), dataDisc_, dir_->path(), disc_};
    const std::vector<AudioDisc> discs = media_->audioDiscs();
    ASSERT_EQ(discs.size(), 1u);
    EXPECT_EQ(discs[0].device, disc_);
    const std::vector<CdTrack>& tracks = discs[0].tracks;
    ASSERT_EQ(tracks.size(), 7u); // the data track is left out
    for (size_t i = 0; i < tracks.size(); ++i)
        EXPECT_EQ(tracks[i].number, static_cast<int>(i) + 1);
    EXPECT_EQ(tracks[0].start, (Msf{0, 2, 0})); // the lead-in
    EXPECT_EQ(tracks[0].length, (Msf{1, 39, 28}));
    EXPECT_EQ(tracks[2].start, (Msf{3, 20, 56}));
    EXPECT_EQ(tracks[2].length, (Msf{4, 31, 40}));
    EXPECT_EQ(tracks[3].start, (Msf{7, 52, 21}));
    EXPECT_EQ(tracks[6].start, (Msf{12, 50, 30}));
    EXPECT_EQ(tracks[6].length, (Msf{3, 20, 0}));
}

TEST_F(CdMediaDeviceTest, OpensTheTrackItsPathNamesInTheLastPart) {
    EXPECT_EQ(media_->open(trackPath(disc_, 7)), QString());
    ASSERT_TRUE(media_->track(7));
    EXPECT_EQ(media_->track(7)->start, (Msf{12, 50, 30}));
    EXPECT_EQ(media_->track(7)->length, (Msf{3, 20, 0}));
    EXPECT_EQ(media_->track(3)->length, (Msf{4, 31, 40}));
    EXPECT_FALSE(media_->track(8)); // data
    EXPECT_FALSE(media_->track(99));
    EXPECT_EQ(media_->position(), (Msf{12, 50, 30}));
}

TEST_F(CdMediaDeviceTest, PlaysTheImageFromTheDiscPositionAndStops) {
    ASSERT_EQ(media_->open(trackPath(disc_, 7)), QString());
    device().keepOutput(true);
    media_->play({14, 5, 30});
    device().advance(2.0);
    EXPECT_NEAR(sectorsOf(media_->position()), sectorsOf({14, 7, 30}), 1);
    device().advance(1.0);
    EXPECT_NEAR(sectorsOf(media_->position()), sectorsOf({14, 8, 30}), 1);

    media_->stop();
    const Msf stopped = media_->position();
    const size_t played = device().output().size();
    device().advance(1.0);
    EXPECT_EQ(media_->position(), stopped);
    const std::vector<std::int16_t> out = device().output();
    ASSERT_GE(played, 2u * 44100 * 3);
    EXPECT_EQ(slice(out, 0, 2 * 44100 * 3), imageSamples(MarkSector, 0, 44100 * 3));
    // Silence once stopped.
    EXPECT_EQ(slice(out, played, 2 * 44100), std::vector<std::int16_t>(2 * 44100, 0));
}

TEST_F(CdMediaDeviceTest, APositionBeforeTheTrackPlaysItFromItsStart) {
    ASSERT_EQ(media_->open(trackPath(disc_, 7)), QString());
    media_->play({14, 5, 30});
    device().advance(0.5);
    media_->stop();
    device().keepOutput(true);
    media_->play({12, 0, 0});
    device().advance(0.5);
    EXPECT_EQ(slice(device().output(), 0, 2 * 22050), imageSamples(Track7Start, 0, 22050));
}

TEST_F(CdMediaDeviceTest, OpeningAnotherTrackEndsTheOneThatPlays) {
    ASSERT_EQ(media_->open(trackPath(disc_, 7)), QString());
    media_->play({14, 5, 30});
    device().advance(0.5);
    ASSERT_EQ(media_->open(trackPath(disc_, 2)), QString()); // silent, and not played
    device().keepOutput(true);
    device().advance(0.5);
    EXPECT_EQ(device().output(), std::vector<std::int16_t>(2 * 22050, 0));
    EXPECT_EQ(media_->position(), media_->track(2)->start);
}

TEST_F(CdMediaDeviceTest, SaysInGermanWhyATrackCannotBeOpened) {
    QFile notADisc(dir_->filePath(QStringLiteral("notes.cue")));
    ASSERT_TRUE(notADisc.open(QIODevice::WriteOnly));
    notADisc.write("kein Abbild\n");
    notADisc.close();
    const QString missing = dir_->filePath(QStringLiteral("gone.cue"));
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {trackPath(missing, 1), QStringLiteral("nicht gefunden")},
        {trackPath(notADisc.fileName(), 1), QStringLiteral("keine CD im Laufwerk")},
        {trackPath(disc_, 9), QStringLiteral("Spur 9 gibt es auf dieser CD nicht")},
        {trackPath(disc_, 8), QStringLiteral("Spur 8 ist keine Audiospur")},
        {disc_ + QStringLiteral("/track07.cda"), QStringLiteral("TrackNN.cda")},
    };
    for (const auto& c : cases) {
        // An open track is closed by the next open, whether it succeeds or not.
        ASSERT_EQ(media_->open(trackPath(disc_, 7)), QString());
        const QString message = media_->open(c.path);
        EXPECT_TRUE(message.startsWith(QStringLiteral("Die Audio-CD-Spur kann nicht geöffnet werden:")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(c.path)) << message.toStdString();
        EXPECT_TRUE(message.contains(c.reason)) << message.toStdString();
        EXPECT_FALSE(media_->track(7));
        media_->play({14, 5, 30});
        device().advance(0.1);
        media_->stop();
        EXPECT_EQ(media_->position(), Msf{});
    }
}

TEST_F(CdMediaDeviceTest, TheEngineKnowsATracksLengthAndOnlyOfAudioTracks) {
    AudioLibrary& audio = *audio_.library;
    EXPECT_DOUBLE_EQ(audio.FileSeconds(trackPath(disc_, 3)), Track3Sectors / 75.0);
    EXPECT_DOUBLE_EQ(audio.FileSeconds(trackPath(disc_, 7)), 200.0);
    EXPECT_EQ(audio.FileSeconds(trackPath(disc_, 8)), -1);
    EXPECT_EQ(audio.FileSeconds(trackPath(disc_, 9)), -1);
    EXPECT_EQ(audio.FileSeconds(disc_ + QStringLiteral("/Track07.cdax")), -1);
    const AudioHandle stream = audio.StreamCreateFile(trackPath(disc_, 3));
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(audio.ChannelGetLength(stream), std::int64_t{Track3Sectors} * 2352);
}

TEST(CdTrackDecoderTest, ReadsFromAnyFrameAcrossSectorBoundaries) {
    QTemporaryDir dir;
    QString error;
    const QString cue =
        CdImage::write(dir.path(), QStringLiteral("disc"), {{0, 100}, {100, 300}}, {{100, 300}}, error);
    ASSERT_FALSE(cue.isEmpty()) << error.toStdString();
    int code = -1;
    const std::unique_ptr<CdTrackDecoder> decoder = CdTrackDecoder::open(cue, 2, code);
    ASSERT_TRUE(decoder);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(decoder->lengthFrames(), 300 * 588);

    // From the middle of track sector 10 on, in pieces that end anywhere within a sector.
    ASSERT_TRUE(decoder->seek(10 * 588 + 300));
    std::vector<std::int16_t> read;
    for (const int piece : {1, 287, 588, 5000, 20000, 13}) {
        std::vector<std::int16_t> buffer(static_cast<size_t>(piece) * 2);
        std::int64_t got = 0;
        while (got < piece) {
            const std::int64_t n = decoder->read(buffer.data() + got * 2, piece - got);
            ASSERT_GT(n, 0);
            got += n;
        }
        read.insert(read.end(), buffer.begin(), buffer.end());
    }
    EXPECT_EQ(read, imageSamples(110, 300, static_cast<std::int64_t>(read.size()) / 2));

    // The end of the track is the end of the reading.
    ASSERT_TRUE(decoder->seek(300 * 588 - 5));
    std::vector<std::int16_t> tail(20);
    EXPECT_EQ(decoder->read(tail.data(), 10), 5);
    EXPECT_EQ(slice(tail, 0, 10), imageSamples(399, 583, 5));
    EXPECT_EQ(decoder->read(tail.data(), 10), 0);
    EXPECT_FALSE(decoder->seek(300 * 588 + 1));
}

TEST(CdTrackDecoderTest, RefusesMissingDiscsTracksAndDataTracks) {
    QTemporaryDir dir;
    QString error;
    const QString cue =
        CdImage::write(dir.path(), QStringLiteral("mixed"), {{0, 100, false}, {100, 100}}, {}, error);
    ASSERT_FALSE(cue.isEmpty()) << error.toStdString();
    int code = 0;
    EXPECT_FALSE(CdTrackDecoder::open(dir.filePath(QStringLiteral("none.cue")), 1, code));
    EXPECT_EQ(code, AudioError::FileOpen);
    EXPECT_FALSE(CdTrackDecoder::open(cue, 3, code));
    EXPECT_EQ(code, AudioError::FileOpen);
    EXPECT_FALSE(CdTrackDecoder::open(cue, 1, code));
    EXPECT_EQ(code, AudioError::FileForm);
    EXPECT_TRUE(CdTrackDecoder::open(cue, 2, code));
    EXPECT_EQ(code, AudioError::Ok);
}

} // namespace
