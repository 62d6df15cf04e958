#pragma once

#include "RecordingClock.h"

#include <QString>

namespace recording {

// The record/stop state of the recording group without its widgets: RecordingRequested, whether PosTimer
// runs, BitBtn4's Tag and the blink counter. The controller asks it what to do and carries that out:
//
//   bRecordClick:   if (session.RecordClick(channelActive)) StartCapture(); plus BitBtn4 caption "Stop",
//                   enable PosTimer and the label rec
//   bStopClick:     session.StopClick(); BitBtn4 caption "Aufnahme", disable PosTimer; FinishRecording
//                   (which calls session.RecordingFinished()); hide rec; clear the level bar
//   PosTimerTimer:  d = session.TimeStep(seconds of RecordChannel, SplitMinutes);
//                   if (d.split) { FinishRecording(); if (session.RequestRecording(active)) StartCapture(); }
//                   lpos := d.lpos; the level steps; then session.BlinkStep()
//
// States: Idle (nothing requested, timer off, Tag 0) and Recording (requested, timer on, Tag 1). A start that
// fails returns to Idle (the controller's StartFailed: StopClick and RecordingFinished).
class RecordingSession {
public:
    // bRecordClick: resets the blink counter, starts the timer, sets BitBtn4's Tag to 1 and requests the
    // recording. True when StartCapture is to run.
    bool RecordClick(bool channelActive);

    // RequestRecording: RecordingRequested := True; true when StartCapture is to run (no active channel).
    bool RequestRecording(bool channelActive);

    // bStopClick's own state: timer off, BitBtn4's Tag 0. RecordingRequested falls with FinishRecording.
    void StopClick();

    // Step 1 of FinishRecording: RecordingRequested := False.
    void RecordingFinished() { RecordingRequested = false; }

    // BitBtn4Click: with Tag not 0 it runs bStop's click, otherwise bRecord's.
    enum class BigButton { Stop, Record };
    BigButton BitBtn4Click() const { return BitBtn4Tag != 0 ? BigButton::Stop : BigButton::Record; }

    // The time and split steps of a tick, from the seconds the library gives for the channel's position.
    struct TimeDecision {
        int seconds;  // whole seconds of the file (of the one that just ended when split)
        bool split;   // finish the file and request the next one, in this tick
        QString lpos; // text of the elapsed time label, H:MM:SS
    };
    TimeDecision TimeStep(double librarySeconds, int splitMinutes) const;

    // The blink steps of a tick.
    Blink BlinkStep() { return blink_.Tick(); }
    int BlinkTicks() const { return blink_.BlinkTicks; }

    bool RecordingRequested = false;
    bool PosTimerOn = false;
    int BitBtn4Tag = 0;

private:
    BlinkCounter blink_;
};

} // namespace recording
