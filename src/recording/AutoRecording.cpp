#include "AutoRecording.h"

namespace recording {

RecordButtons AutorecButtons(bool autorecChecked, bool recordingRequested) {
    if (autorecChecked)
        return {false, false, false};
    return {!recordingRequested, recordingRequested, true};
}

SongStartAction MeetingSongStarted(const MeetingSongState& state) {
    if (state.otherSource)
        return {false, 0};
    const int reset = state.dateiModified ? 0 : 1;
    if (!state.autorec)
        return {false, reset};
    if (state.checkBox1)
        return {true, reset};
    if (state.checkBox2)
        return {true, state.dateiModified ? 0 : 2};
    return {state.checkBox3, 0};
}

bool MeetingSongStoppedStartsRecording(const MeetingSongState& state) {
    return !state.otherSource && state.autorec && (state.checkBox1 || state.checkBox2);
}

} // namespace recording
