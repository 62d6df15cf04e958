#pragma once

namespace recording {

// Enabled states of the three record controls.
struct RecordButtons {
    bool bRecord;
    bool bStop;
    bool BitBtn4;
    bool operator==(const RecordButtons&) const = default;
};

// autorecClick: with Auto-Rec checked all three are disabled (playback records); otherwise BitBtn4 is
// enabled and bRecord/bStop show whether a recording was requested.
RecordButtons AutorecButtons(bool autorecChecked, bool recordingRequested);

// The state of the meeting slots that the calls from playback look at.
struct MeetingSongState {
    bool otherSource; // RadioButton4: another source plays, recording is never touched
    bool autorec;     // Auto-Rec checked
    bool checkBox1;   // slot check boxes (the song still to be played)
    bool checkBox2;
    bool checkBox3;
    bool dateiModified; // the file name field was typed into
};

// What playback makes the recording do when a meeting song starts playing (not on resume): stop the
// recording (bStopClick) and then reset the fields to part 1 or 2 (0 = no reset).
struct SongStartAction {
    bool stop;
    int resetPart;
    bool operator==(const SongStartAction&) const = default;
};
SongStartAction MeetingSongStarted(const MeetingSongState& state);

// Whether the end of a meeting song (stopped or ended, before its check box is cleared) starts a recording
// (bRecordClick): with Auto-Rec after slot 1 or slot 2.
bool MeetingSongStoppedStartsRecording(const MeetingSongState& state);

} // namespace recording
