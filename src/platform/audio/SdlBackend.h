#pragma once

#include "AudioBackend.h"

#include <atomic>
#include <cstdint>
#include <mutex>

// The system's audio devices through SDL's audio subsystem: one playback device whose callback runs the
// mixer, one capture device whose callback hands the samples to the recorder.
class SdlBackend : public AudioBackend {
public:
    SdlBackend();
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    int openPlayback(AudioFormat format, PlaybackSource& source) override;
    void closePlayback() override;
    bool playbackLost() override;
    double playbackIdleSeconds() const override;
    void lockPlayback() override;
    void unlockPlayback() override;
    int captureDevices(QStringList& names) override;
    int openCapture(const QString& name, AudioFormat format, CaptureSink& sink) override;
    void closeCapture() override;
    bool captureLost() override;
    double clockSeconds() const override;

    // Hints every SDL audio user here needs, set before SDL's audio subsystem starts.
    static void applyHints();

private:
    bool ensureStarted();
    static void playbackCallback(void* self, std::uint8_t* stream, int length);
    static void captureCallback(void* self, std::uint8_t* stream, int length);

    void closeCaptureDevice();

    // Every open and close of a device, from whichever thread, is made under this lock; the device ids are
    // read without it by the status and lock calls.
    std::mutex devicesMutex_;
    bool started_ = false;
    std::atomic<std::uint32_t> playbackDevice_{0};
    std::atomic<std::uint32_t> captureDevice_{0};
    PlaybackSource* source_ = nullptr;
    int playbackFrameBytes_ = 4;
    CaptureSink* sink_ = nullptr;
    int captureFrameBytes_ = 2;
};
