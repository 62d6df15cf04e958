#pragma once

#include "AudioLibrary.h"

class TForm1;

// Recording devices and capture: start-up of the audio library, the input list, start and stop of a
// recording with its encoder, and the release of the devices at the end.
class Recorder {
public:
    explicit Recorder(TForm1& form);

    void InitRecording();
    void ReleaseAudio();

    AudioHandle RecordChannel = 0;
    AudioHandle EncoderHandle = 0;
    bool RecordingRequested = false;

private:
    TForm1& form_;
    AudioLibrary& audio_;
};
