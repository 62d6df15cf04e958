#pragma once

#include "recording/FinishJob.h"
#include "recording/RecordingFile.h"
#include "recording/RecordingSession.h"
#include "recording/RecordingStatus.h"

#include <QTimer>
#include <array>
#include <memory>
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
    // The encoder began writing `tempName` in `folder`: the recording is finished there whatever the
    // settings say meanwhile, and the program holds that file from now on.
    void recordingFileStarted(const QString& folder, const QString& tempName);
    // Shows in the status line that a stopped recording is still being written, until it is finished.
    void showFinishing();
    // Every stopped recording is finished: the status line no longer says that one is being written.
    void finishingDone();

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
    // Shows `message` once the current handler has returned (the recording tick goes on meanwhile).
    void tell(const QString& message);
    // A fault ends the recording at once (its encoder died, the disk is full): what was written is finished
    // and the operator told why.
    void stopForFault(const QString& message);
    // The recording's encoder has exited or stalled at `seconds` of recording: a full disk or a second
    // failure soon after a replacement stop the recording, otherwise a new encoder takes over. False when
    // the recording stopped.
    bool encoderFailed(double seconds);
    // Finishes the part written so far like a split and goes on with a new encoder in a new temporary
    // file; false when no new encoder starts.
    bool restartEncoder();
    // Fills the hand-over slots from the fields and the drive list for the finishing of the current file.
    void handOverFields();
    // The folder of the running recording is gone: it is made again (or the default folder taken), the
    // recording goes on there in a new file, and what was written so far is copied there.
    void folderVanished();
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
    // The temporary names of the parts finished earlier because their encoder failed, and the seconds of
    // recording at the last replacement (negative: none).
    QStringList earlierParts_;
    double restartedAt_ = -1;
    // The temporary file of the running recording; null while none runs.
    std::unique_ptr<recording::RecordingFile> file_;
    // Where the finishing of the running recording puts its file instead of its own folder, which is gone.
    QString rescueFolder_;
    // What the status line says until the stop when all else is well.
    QString notice_;
    QTimer PosTimer;
};
