#pragma once

#include "common/AudioLibrary.h"
#include "recording/LevelControl.h"

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

    AudioHandle RecordChannel = 0;
    AudioHandle EncoderHandle = 0;
    recording::LevelMonitor levels;

private:
    void setRecordButtons(bool record, bool stop);

    TForm1& form_;
    AudioLibrary& audio_;
};
