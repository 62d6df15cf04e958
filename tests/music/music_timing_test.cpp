#include "music/MusicTiming.h"
#include "music/RandomPool.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace music;

namespace {
DateTime at(int hours, int minutes, double seconds = 0) {
    return timeOfDay(hours, minutes) + seconds / SecondsPerDay;
}
} // namespace

TEST(RandomPool, TheExampleOfThreeSongs) {
    RandomPool pool(3);
    EXPECT_EQ(pool.RandomSongPool(), "01,02,03,");
    EXPECT_EQ(pool.DrawEntry(2), 2);
    EXPECT_EQ(pool.RandomSongPool(), "01,03,");
    EXPECT_TRUE(pool.Remove(3));
    EXPECT_EQ(pool.RandomSongPool(), "01,");
    EXPECT_EQ(pool.RandomPoolCount(), 1);
    // A number not in the pool changes nothing, also the first one once it is gone.
    EXPECT_FALSE(pool.Remove(3));
    EXPECT_TRUE(pool.Remove(1));
    EXPECT_FALSE(pool.Remove(1));
    EXPECT_EQ(pool.RandomPoolCount(), 0);
}

TEST(RandomPool, NeverDriftsAndDrawsEverySongOncePerRound) {
    QRandomGenerator random(42);
    RandomPool pool(300);
    QSet<int> round;
    for (int pick = 0; pick < 1000; ++pick) {
        if (pick % 7 == 0)
            pool.Remove(static_cast<int>(random.bounded(1, 301)));
        const int before = pool.RandomPoolCount();
        const int song = pool.Draw(random);
        ASSERT_GE(song, 1);
        ASSERT_LE(song, 300);
        if (before == 0)
            round.clear();
        EXPECT_FALSE(round.contains(song)) << "song " << song << " twice in one round";
        round.insert(song);
        EXPECT_EQ(pool.RandomPoolCount(), pool.RandomSongPool().count(','));
    }
    EXPECT_EQ(RandomPool(0).RandomPoolCount(), 0);
    RandomPool none(0);
    EXPECT_EQ(none.Draw(random), 0);
    EXPECT_TRUE(RandomPool(135).RandomSongPool().startsWith("01,02,03,04,05,06,07,08,09,0A,"));
    EXPECT_TRUE(RandomPool(256).RandomSongPool().endsWith("FF,100,"));
}

TEST(MusicTiming, BestFitLeavesTheSmallestRest) {
    const auto table = [](int n) { return SongDuration(n); };
    EXPECT_EQ(BestFit(200, 135, table), 13) << "199 s before the 192 s of song 24";
    EXPECT_EQ(BestFit(3, 135, table), std::nullopt);
    EXPECT_EQ(BestFit(240, 135, table), std::nullopt);
    EXPECT_EQ(BestFit(0, 135, table), std::nullopt);
    // Measured lengths win, and songs beyond the table count when measured.
    const auto measured = [](int n) { return n == 200 ? 198 : n == 13 ? 150 : SongDuration(n); };
    EXPECT_EQ(BestFit(200, 250, measured), 200);
    EXPECT_EQ(BestFit(85, 135, table), 20) << "84 s, the shortest song";
    const auto twins = [](int n) { return n == 5 || n == 7 ? 100 : 0; };
    EXPECT_EQ(BestFit(101, 10, twins), 5) << "the lower number wins a tie";
}

TEST(MusicTiming, TheListStartsSoThatItEndsAtTheMeeting) {
    const int total = CountdownTotalSeconds({150, 160, 170});
    EXPECT_EQ(total, 500);
    const DateTime meeting = at(19, 30);
    EXPECT_EQ(ListMomentOf(at(19, 21, 39.9), meeting, total), ListMoment::Before);
    EXPECT_EQ(ListMomentOf(at(19, 21, 40.1), meeting, total), ListMoment::Start);
    EXPECT_EQ(ListMomentOf(at(19, 21, 41.6), meeting, total), ListMoment::Start);
    EXPECT_EQ(ListMomentOf(at(19, 21, 41.8), meeting, total), ListMoment::Past);
    EXPECT_EQ(SecondsUntilListStart(meeting, at(19, 18, 20), total), 200);
    const auto remaining = [&](double seconds) {
        return meeting - (at(19, 21, seconds) + total / SecondsPerDay);
    };
    EXPECT_FALSE(CountdownIsRed(remaining(30.4)));
    EXPECT_TRUE(CountdownIsRed(remaining(30.6)));
    EXPECT_EQ(CountdownTotalSeconds({0, 0, 0}), 20);
    // A list of an hour and more.
    EXPECT_EQ(ListMomentOf(at(18, 29, 40.5), meeting, CountdownTotalSeconds({1800, 1200, 600})),
              ListMoment::Start);
}

TEST(MusicTiming, ShutdownCountdownEndsAtZero) {
    const DateTime delay = 20 / (24.0 * 60);
    EXPECT_EQ(ShutdownCountdownText(delay, 0), "00:20:00");
    EXPECT_EQ(ShutdownCountdownText(delay, delay / 2), "00:10:00");
    EXPECT_EQ(ShutdownCountdownText(delay, 0.4 / SecondsPerDay), "00:19:59") << "19:59.6 left";
    EXPECT_EQ(ShutdownCountdownText(delay, delay - 0.9 / SecondsPerDay), "00:00:00");
    EXPECT_EQ(ShutdownCountdownText(delay, delay + 30 / SecondsPerDay), "00:00:00");
}
