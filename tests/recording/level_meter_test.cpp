#include "recording/LevelBar.h"
#include "recording/LevelControl.h"

#include <gtest/gtest.h>

#include <vector>

using namespace recording;

namespace {

constexpr int W = 91; // default LevelWarnPixels
constexpr int P = 114;

using C = LevelColour;

// Colours of columns from..to-1.
std::vector<C> span(const LevelBar& bar, int from, int to) {
    return {bar.columns().begin() + from, bar.columns().begin() + to};
}
std::vector<C> same(int from, int to, C colour) {
    return std::vector<C>(static_cast<std::size_t>(to - from), colour);
}

// Runs the level steps of one tick as the recording timer does.
struct Meter {
    LevelMonitor monitor;
    LevelBar bar;
    int position = 60;
    bool autoReduction = true;
    void tick(std::int32_t channelLevel) {
        const LevelMonitor::Step s = monitor.Tick(channelLevel, position, autoReduction);
        bar.Draw(s.level, s.meterPeak, W, P);
        if (s.lowerVolume)
            position -= 1;
    }
};

TEST(LevelMeter, FullScaleColoursAndPeakMarker) {
    EXPECT_EQ(LevelPixels(32768), 130);
    EXPECT_EQ(LevelPixels(25001), 99);
    EXPECT_EQ(LevelPixels(12500), 50);  // 49.5 to the even neighbour
    EXPECT_EQ(LevelPixels(37500), 148); // 148.5 likewise

    Meter m;
    m.tick(32768);
    m.tick(32768);
    EXPECT_EQ(span(m.bar, 0, W), same(0, W, C::Green));
    EXPECT_EQ(m.bar.column(W), C::White); // the thresholds' own columns are never painted by the bar
    EXPECT_EQ(span(m.bar, W + 1, P), same(W + 1, P, C::Yellow));
    EXPECT_EQ(m.bar.column(P), C::White);
    EXPECT_EQ(span(m.bar, P + 1, 130), same(P + 1, 130, C::Red));

    // The marker of a full-scale peak is columns 128 and 129: the draw leaves them alone.
    const std::vector<LevelFill> silence = DrawLevelMeter(0, 32768, W, P);
    const std::vector<LevelFill> expected{{0, 128, C::White}, {92, 94, C::Yellow}, {115, 116, C::Red}};
    EXPECT_EQ(silence, expected);
}

TEST(LevelMeter, SilenceAfterALoudPassageHoldsThePeakForTheWindow) {
    Meter m;
    for (int t = 1; t <= 5; ++t)
        m.tick(32768);
    std::vector<C> whiteBar = same(0, 130, C::White);
    whiteBar[92] = whiteBar[93] = C::Yellow;
    whiteBar[115] = C::Red;
    // Ticks 6..21 of the 21-tick window still draw the loud peak: only its marker columns stay red.
    for (int t = 6; t <= PeakHoldWindow; ++t) {
        m.tick(0);
        std::vector<C> withMarker = whiteBar;
        withMarker[128] = withMarker[129] = C::Red;
        ASSERT_EQ(span(m.bar, 0, 130), withMarker) << "tick " << t;
    }
    m.tick(0); // the window has ended: the marker is gone
    EXPECT_EQ(span(m.bar, 0, 130), whiteBar);
}

TEST(LevelMeter, MidLevelBarAndNoLevelAtAll) {
    LevelBar bar;
    bar.Draw(25001, 25001, W, P); // bar to 99: green, then yellow beyond the warning tick
    EXPECT_EQ(span(bar, 0, W), same(0, W, C::Green));
    EXPECT_EQ(span(bar, W + 1, 99), same(W + 1, 99, C::Yellow));
    EXPECT_EQ(span(bar, 99, 130)[0], C::White);
    EXPECT_EQ(DrawLevelMeter(0, 0, W, P),
              (std::vector<LevelFill>{{0, 130, C::White}, {92, 94, C::Yellow}, {115, 116, C::Red}}));
}

struct ReductionCase {
    const char* name;
    std::vector<std::int32_t> levels;
    int startPosition;
    bool autoReduction;
    int endPosition;
};

class AutoReductionTest : public ::testing::TestWithParam<ReductionCase> {};

TEST_P(AutoReductionTest, LowersByOneForEveryTwoLoudTicks) {
    const ReductionCase& c = GetParam();
    Meter m;
    m.position = c.startPosition;
    m.autoReduction = c.autoReduction;
    for (const std::int32_t level : c.levels)
        m.tick(level);
    EXPECT_EQ(m.position, c.endPosition);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoReductionTest,
    ::testing::Values(ReductionCase{"TwoTicks26000", {26000, 26000}, 60, true, 59},
                      ReductionCase{"OneTick26000", {26000}, 60, true, 60},
                      ReductionCase{"FourTicks", {26000, 26000, 26000, 26000}, 60, true, 58},
                      ReductionCase{"Interrupted", {26000, 100, 26000, 100, 26000}, 60, true, 60},
                      ReductionCase{"Exactly25000", {25000, 25000, 25000, 25000}, 60, true, 60},
                      ReductionCase{"Level25001", {25001, 25001}, 60, true, 59},
                      ReductionCase{"At40", {32768, 32768, 32768, 32768}, 40, true, 40},
                      ReductionCase{"StopsAt40", {32768, 32768, 32768, 32768, 32768, 32768}, 41, true, 40},
                      ReductionCase{"Off", {32768, 32768}, 60, false, 60},
                      ReductionCase{
                          "HighBitsIgnored", {0x7FFF0000 | 26000, 0x12340000 | 26000}, 60, true, 59},
                      ReductionCase{"MinusOneIsSilence", {-1, -1}, 60, true, 60}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LevelControl, StepButtonsAndVolume) {
    EXPECT_EQ(VolumeStepDown(40), 39); // the "-" button goes below the automatic limit
    EXPECT_EQ(VolumeStepDown(0), 0);
    EXPECT_EQ(VolumeStepUp(99), 100);
    EXPECT_EQ(VolumeStepUp(100), 100);
    EXPECT_FLOAT_EQ(InputVolumeOf(59), 0.59f);
}

} // namespace
