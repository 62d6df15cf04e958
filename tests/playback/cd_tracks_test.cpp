#include "playback/CdTracks.h"
#include "playback/ShortPath.h"

#include <gtest/gtest.h>

using namespace playback;

TEST(CdTracks, TheTrackNumberComesFromThePathsLastPartOnly) {
    EXPECT_EQ(CdTrackNumberOf("/dev/sr0/Track07.cda"), 7);
    EXPECT_EQ(CdTrackNumberOf("/media/Track99/disc.cue/Track12.cda"), 12);
    EXPECT_EQ(CdTrackNumberOf("/media/Track99/Lied.cda"), std::nullopt);
    EXPECT_EQ(CdTrackNumberOf("/dev/sr0/Track7.cda"), std::nullopt);
    EXPECT_TRUE(IsCdTrackPath("/dev/sr0/Track07.cda"));
    EXPECT_FALSE(IsCdTrackPath("/dev/sr0/Track07.CDA"));
    EXPECT_FALSE(IsCdTrackPath("/media/x.cda/Lied.mp3"));
    EXPECT_EQ(CdTrackPath("/dev/sr0", 5), "/dev/sr0/Track05.cda");
    EXPECT_EQ(NameBeforeFirstDot("/dev/sr0/Track07.cda"), "Track07");
    EXPECT_EQ(NameBeforeFirstDot("/home/a.b/Lied.live.mp3"), "Lied");
}

TEST(CdTracks, PositionsAndLengthsOnTheDisc) {
    EXPECT_EQ(CdStartPosition({12, 50, 30}, 75), (Msf{14, 5, 30}));
    EXPECT_EQ(CdStartPosition({0, 2, 0}, 0), (Msf{0, 2, 0}));
    EXPECT_EQ(CdStartPosition({3, 59, 74}, 3601), (Msf{64, 0, 74}));
    EXPECT_EQ(CdTrackLengthValue({4, 31, 40}), 271040);
    EXPECT_EQ(CdLengthText({4, 31, 40}), "04:31");
    EXPECT_EQ(CdElapsedSeconds({14, 5, 10}, {12, 50, 30}), 75) << "frames are not counted";
}

TEST(ShortPath, FoldersGiveWayFromTheFrontAndTheFileNameStays) {
    const auto within = [](int n) { return [n](const QString& s) { return s.size() <= n; }; };
    const QString path = "/home/max/Musik/Chor/Lied.mp3";
    EXPECT_EQ(ShortenPath(path, within(100)), path);
    EXPECT_EQ(ShortenPath(path, within(26)), "/.../Musik/Chor/Lied.mp3");
    EXPECT_EQ(ShortenPath(path, within(20)), "/.../Chor/Lied.mp3");
    EXPECT_EQ(ShortenPath(path, within(5)), ".../Lied.mp3");
}
