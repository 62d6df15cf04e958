#pragma once

#include "recording/FinishJob.h"
#include "recording/RecordingSession.h"
#include "recording/RecordingStatus.h"

#include <QTimer>
#include <array>
#include <utility>

class QAction;

class TForm1;

// Record and stop controls, automatic recording around the songs, splitting and the 50 ms recording tick.
class RecordingControl {
public:
    explicit RecordingControl(TForm1& form);

    void bRecordClick();
    void RequestRecording();
    void bStopClick();
    // A start that failed: the controls return to idle, as before the request.
    void StartFailed();
    void BitBtn4Click();
    void autorecClick();
    void setSplitMinutes(int minutes);
    // Checks the split menu item of the minutes (100 = "Nein"); any other value checks none.
    void checkSplitItem(int minutes);
    void PosTimerTimer();
    // Stops the capture and the encoder and hands the fields over for the finishing of the file.
    void FinishRecording();

    QTimer& posTimer() { return PosTimer; }
    bool RecordingRequested() const { return session_.RecordingRequested; }
    void clearRequest() { session_.RecordingRequested = false; }

private:
    // The items of the split menu and their minutes.
    std::array<std::pair<QAction*, int>, 5> splitMenu() const;
    void showInputLost(bool lost);
    // Once per recording: the operator is told when the recording device could not be opened at all.
    void tellInputDeviceMissing();
    // At the stop: how long the input was missing in the recording, when it was.
    void tellInputMissingTime();
    // A fault ends the recording at once (its encoder died, the disk is full): what was written is finished
    // and the operator told why.
    void stopForFault(const QString& message);
    // Timer off, BitBtn4 "Aufnahme" with Tag 0.
    void stopControls();
    // The finishing's copy of the hand-over slots and of the settings it reads.
    recording::FinishJob finishJob() const;

    TForm1& form_;
    recording::RecordingSession session_;
    // The recording being stopped was ended by a fault that the operator is told of.
    bool interrupted_ = false;
    bool toldNoInputDevice_ = false;
    // The status line's inputs: the room left (checked every RoomCheckSeconds of recording) and silence.
    int minutesOfRoom_ = -1;
    double roomCheckedAt_ = -recording::RoomCheckSeconds;
    recording::SilenceWatch silence_;
    QTimer PosTimer;
};
