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
    double playbackQueueSeconds() const override;
    int renewPlayback(AudioFormat format, PlaybackSource& source) override;
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
    // Under startMutex_: starts SDL's audio subsystem, anew when the last opens failed and no device is
    // open (SDL may have settled on another driver while the sound server was not there yet).
    bool ensureStarted();
    // Opens a device under startMutex_ (SDL's opens are not made from two threads at once); 0 on failure.
    std::uint32_t openDevice(const char* name, bool capture, const void* wanted);
    // Closes a device outside every lock of this class: a close may hang in a sound server that does not
    // answer, and must hold up nothing but its caller.
    void closeDevice(std::uint32_t device);
    // Opens a playback device (paused) whose callback is that of slot `slot`; 0 on failure.
    std::uint32_t openPlaybackDevice(AudioFormat format, int slot);
    // Makes slot `slot`'s device the one that renders `source`, and starts it.
    void startPlayback(std::uint32_t device, int slot, AudioFormat format, PlaybackSource& source);
    static void playbackCallback(void* slot, std::uint8_t* stream, int length);
    static void captureCallback(void* self, std::uint8_t* stream, int length);

    // The playback and the capture device are each opened and closed by one thread of their own; opens
    // (and the start of the subsystem) are made under startMutex_, closes under no lock.
    std::mutex startMutex_;
    bool started_ = false;
    bool restart_ = false; // an open failed: start the subsystem anew before the next one
    std::atomic<int> openDevices_{0};
    std::atomic<std::uint32_t> playbackDevice_{0};
    std::atomic<std::uint32_t> captureDevice_{0};
    // A playback device's callback and whether it renders: while a new device takes the place of the old one,
    // both are open, and only the new one's callback renders (the old one plays silence until it is closed).
    struct PlaybackSlot {
        SdlBackend* backend;
        int index;
    };
    PlaybackSlot playbackSlots_[2] = {{this, 0}, {this, 1}};
    // Excludes render() while held (the mixer's changes, and the release of the source at a close).
    std::mutex renderMutex_;
    PlaybackSource* source_ = nullptr;
    int playbackSlot_ = 0; // the slot that renders; changed by the playback device's thread only
    int playbackFrameBytes_ = 4;
    std::atomic<int> playbackRate_{44100};
    // Read by the capture callback under SDL's device lock.
    CaptureSink* sink_ = nullptr;
    int captureFrameBytes_ = 2;
};
