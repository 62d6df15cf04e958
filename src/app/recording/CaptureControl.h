#pragma once

#include "common/AudioLibrary.h"
#include "recording/LevelControl.h"

#include <QTimer>

class TForm1;

// Recording devices, inputs and capture: start-up of the audio library, the input list and level control,
// start and stop of a recording with its encoder, the level steps of the recording tick, and the release of
// the devices at the end.
class CaptureControl {
public:
    explicit CaptureControl(TForm1& form);

    void InitRecording();
    void SelectInput();
    void ApplyInputLevel();
    void Button5Click();
    void Button6Click();
    void StartCapture();
    void StopCapture();
    void ReleaseAudio();
    // The level steps of the recording tick.
    void LevelTick();
    bool channelActive() const;
    // A recording runs whose encoder has exited or stopped taking its audio.
    bool encoderGone() const;
    // Device `device` (AudioLibrary::OutputDevice, RecordDevice) could not be opened: the operator is told
    // so; true then. The engine keeps trying on its own.
    bool tellIfDeviceMissing(int device);
    // Seconds during which the input of the recording was missing (up to its stop).
    double inputMissingSeconds() const;

    AudioHandle RecordChannel = 0;
    AudioHandle EncoderHandle = 0;
    recording::LevelMonitor levels;

private:
    void setRecordButtons(bool record, bool stop);
    // At start the output device is opened on the engine's thread: looked at for a few seconds, and the
    // operator told once when it is missing.
    void watchOutputAtStart();

    TForm1& form_;
    AudioLibrary& audio_;
    QTimer startCheck_;
    int startChecks_ = 0;
};
