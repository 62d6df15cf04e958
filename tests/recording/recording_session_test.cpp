#include "recording/AutoRecording.h"
#include "recording/RecordingSession.h"

#include <gtest/gtest.h>

using namespace recording;

namespace {

TEST(ElapsedTime, TextAndSeconds) {
    EXPECT_EQ(ElapsedText(0), "0:00:00");
    EXPECT_EQ(ElapsedText(307), "0:05:07");
    EXPECT_EQ(ElapsedText(65 * 60), "1:05:00");
    EXPECT_EQ(ElapsedText(10 * 3600 + 59), "10:00:59");
    EXPECT_EQ(ElapsedSeconds(-1.0), 0);
    EXPECT_EQ(ElapsedSeconds(599.99), 599);
}

struct SplitCase {
    int splitMinutes;
    double seconds;
    bool split;
};

class SplitTimingTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTimingTest, SplitsWhenTheMinuteReachesSplitMinutes) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(RecordingSession().TimeStep(c.seconds, c.splitMinutes).split, c.split);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitTimingTest,
                         ::testing::Values(SplitCase{10, 599.99, false}, SplitCase{10, 600.0, true},
                                           SplitCase{10, 659.0, true}, SplitCase{40, 2400.0, true},
                                           SplitCase{40, 2399.0, false}, SplitCase{100, 3599.0, false},
                                           // 0 and 1 mean no splitting (shown and saved as such)
                                           SplitCase{0, 0.0, false}, SplitCase{0, 30.0, false},
                                           SplitCase{1, 60.0, false}));

TEST(SplitTiming, TheSplitTickShowsTheEndedFileTheNextOneStartsAtZero) {
    RecordingSession session;
    const RecordingSession::TimeDecision atSplit = session.TimeStep(600.02, 10);
    EXPECT_TRUE(atSplit.split);
    EXPECT_EQ(atSplit.lpos, "0:10:00");
    EXPECT_TRUE(session.RequestRecording(false)); // the old channel has stopped: a new capture starts
    const RecordingSession::TimeDecision next = session.TimeStep(0.03, 10);
    EXPECT_FALSE(next.split);
    EXPECT_EQ(next.lpos, "0:00:00");
}

TEST(Blink, VisibleAndHiddenForEighteenTicksEach) {
    RecordingSession session;
    session.RecordClick(false);
    std::vector<std::pair<int, Blink>> changes;
    for (int t = 1; t <= 72; ++t) {
        const Blink b = session.BlinkStep();
        if (b != Blink::None)
            changes.emplace_back(t, b);
    }
    const std::vector<std::pair<int, Blink>> expected{
        {18, Blink::Show}, {36, Blink::Hide}, {54, Blink::Show}, {72, Blink::Hide}};
    EXPECT_EQ(changes, expected);
}

TEST(RecordingSession, BigButtonStartsAndStops) {
    RecordingSession s;
    EXPECT_EQ(s.BitBtn4Click(), RecordingSession::BigButton::Record);
    EXPECT_TRUE(s.RecordClick(false));
    EXPECT_TRUE(s.RecordingRequested && s.PosTimerOn);
    EXPECT_EQ(s.BitBtn4Click(), RecordingSession::BigButton::Stop);
    EXPECT_FALSE(s.RequestRecording(true)); // a request while a recording runs starts nothing
    s.StopClick();
    s.RecordingFinished();
    EXPECT_FALSE(s.RecordingRequested || s.PosTimerOn);
    EXPECT_EQ(s.BitBtn4Click(), RecordingSession::BigButton::Record);
}

TEST(AutoRecording, ButtonsFollowAutorecAndTheRequest) {
    EXPECT_EQ(AutorecButtons(true, true), (RecordButtons{false, false, false}));
    EXPECT_EQ(AutorecButtons(false, true), (RecordButtons{false, true, true}));
    EXPECT_EQ(AutorecButtons(false, false), (RecordButtons{true, false, true}));
}

// A weekend meeting with Auto-Rec, songs in slots 1, 2 and 3; playback clears a slot after its song
// stopped.
TEST(AutoRecording, WeekendMeetingFromOpeningToClosingSong) {
    MeetingSongState meeting{false, true, true, true, true, false};
    EXPECT_EQ(MeetingSongStarted(meeting), (SongStartAction{true, 1})); // song 1: stop, part 1 defaults
    EXPECT_TRUE(MeetingSongStoppedStartsRecording(meeting));            // part 1 records
    meeting.checkBox1 = false;
    EXPECT_EQ(MeetingSongStarted(meeting), (SongStartAction{true, 2})); // song 2 finishes part 1
    EXPECT_TRUE(MeetingSongStoppedStartsRecording(meeting));            // part 2 records
    meeting.checkBox2 = false;
    EXPECT_EQ(MeetingSongStarted(meeting), (SongStartAction{true, 0})); // closing song finishes part 2
    EXPECT_FALSE(MeetingSongStoppedStartsRecording(meeting));           // nothing after it
    meeting.checkBox3 = false;
    EXPECT_EQ(MeetingSongStarted(meeting), (SongStartAction{false, 0}));
}

TEST(AutoRecording, TypedNameOtherSourceAndManualMode) {
    const MeetingSongState typedDuringTalk{false, true, false, true, true, true};
    EXPECT_EQ(MeetingSongStarted(typedDuringTalk), (SongStartAction{true, 0})); // part 2 keeps the typed name
    const MeetingSongState other{true, true, true, true, true, false};
    EXPECT_EQ(MeetingSongStarted(other), (SongStartAction{false, 0}));
    EXPECT_FALSE(MeetingSongStoppedStartsRecording(other));
    const MeetingSongState manual{false, false, true, true, true, false};
    EXPECT_EQ(MeetingSongStarted(manual), (SongStartAction{false, 1}));
    EXPECT_FALSE(MeetingSongStoppedStartsRecording(manual));
}

} // namespace
