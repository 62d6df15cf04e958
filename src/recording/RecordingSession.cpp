#include "RecordingSession.h"

namespace recording {

bool RecordingSession::RecordClick(bool channelActive) {
    blink_.Reset();
    PosTimerOn = true;
    BitBtn4Tag = 1;
    return RequestRecording(channelActive);
}

bool RecordingSession::RequestRecording(bool channelActive) {
    RecordingRequested = true;
    return !channelActive;
}

void RecordingSession::StopClick() {
    PosTimerOn = false;
    BitBtn4Tag = 0;
}

RecordingSession::TimeDecision RecordingSession::TimeStep(double librarySeconds, int splitMinutes) const {
    const int seconds = ElapsedSeconds(librarySeconds);
    return {seconds, SplitDue(seconds, splitMinutes), ElapsedText(seconds)};
}

} // namespace recording
