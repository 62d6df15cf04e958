#pragma once

#include "AudioBackend.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

// Devices without hardware, driven by a virtual clock that the owner advances: advance() renders the output
// and captures the input signal for that much virtual time at once, waiting (bounded) for the decoder and the
// capture reader so that nothing starves or overflows however fast time runs.
class NullBackend : public AudioBackend {
public:
    struct Options {
        QStringList captureDevices{QStringLiteral("Null input")};
        bool playbackFails = false;
        bool captureFails = false;
        double playbackIdleSeconds = 0;
        // Frames the playback device renders ahead of what it plays, as a sound server holds them queued.
        int playbackQueueFrames = 0;
    };
    // Value of captured frame `frame` (counted since the capture device was first opened) in channel
    // `channel`.
    using Signal = std::function<std::int16_t(std::uint64_t frame, int channel)>;

    explicit NullBackend(Options options);

    // Runs the devices for `seconds` of virtual time, in blocks of 10 ms.
    void advance(double seconds);
    double seconds() const;
    void setInputSignal(Signal signal);
    // Keeps every output frame played from now on (output()); with a queue, a frame is played that long after
    // it was rendered, and what is queued when the device closes is never played.
    void keepOutput(bool keep);
    std::vector<std::int16_t> output() const;
    AudioFormat playbackFormat() const { return playbackFormat_; }
    bool playbackOpen() const {
        std::lock_guard lock(devicesMutex_);
        return playback_ != nullptr;
    }
    bool captureOpen() const { return capture_ != nullptr; }
    // Capture devices come and go; the open one is named by captureDevice() (empty: the default).
    void setCaptureDevices(const QStringList& names);
    QString captureDevice() const;
    // The capture device disappears (as when unplugged) until it is opened again.
    void loseCapture() { captureLost_ = true; }
    // The open capture device delivers nothing while frozen, though it claims to run (a sound server that
    // hangs); the time goes on and what it would have captured is lost.
    void freezeCapture(bool frozen) { captureFrozen_ = frozen; }
    // How often a capture device was opened.
    int captureOpens() const { return captureOpens_.load(); }
    // The open playback device asks for nothing while frozen, though it claims to run.
    void freezePlayback(bool frozen) { playbackFrozen_ = frozen; }
    int playbackOpens() const { return playbackOpens_.load(); }
    // The playback device disappears until it is opened again.
    void losePlayback() { playbackLost_ = true; }
    // Opening devices fails (no sound server yet) or works again.
    void setFailing(bool playback, bool capture);
    // While held, every open and close of a device waits until let go, as in a sound server that hangs; the
    // call that lets go returns once they have gone on.
    void holdDeviceCalls(bool hold);
    // Opens and closes waiting now.
    int heldCalls() const;
    // Waits (bounded) until the devices' threads have done what was asked of them, unless a call is held;
    // advance() does so before every block.
    void settle();

    int openPlayback(AudioFormat format, PlaybackSource& source) override;
    void closePlayback() override;
    bool playbackLost() override { return playbackLost_; }
    double playbackIdleSeconds() const override { return options_.playbackIdleSeconds; }
    double playbackQueueSeconds() const override { return queueSeconds_.load(); }
    int renewPlayback(AudioFormat format, PlaybackSource& source) override;
    void lockPlayback() override { playbackMutex_.lock(); }
    void unlockPlayback() override { playbackMutex_.unlock(); }
    int captureDevices(QStringList& names) override;
    int openCapture(const QString& name, AudioFormat format, CaptureSink& sink) override;
    void closeCapture() override;
    bool captureLost() override { return captureLost_; }
    void watchDevice(std::function<bool()> settled) override;
    double clockSeconds() const override { return seconds(); }

private:
    void renderBlock();
    void passGate();
    void captureBlock();

    // Every device's state; advance() lets go of it while it waits for the mixer or the recorder.
    mutable std::mutex devicesMutex_;
    Options options_;
    std::atomic<std::int64_t> micros_{0};
    std::mutex playbackMutex_;
    PlaybackSource* playback_ = nullptr;
    AudioFormat playbackFormat_;
    std::int64_t playbackStartMicros_ = 0;
    std::uint64_t playedFrames_ = 0;
    std::uint64_t renderedFrames_ = 0;
    std::vector<std::int16_t> queue_; // rendered, not yet played
    std::atomic<double> queueSeconds_{0};
    std::atomic<CaptureSink*> capture_{nullptr};
    QString captureDevice_;
    AudioFormat captureFormat_;
    std::int64_t captureStartMicros_ = 0;
    std::uint64_t capturedFrames_ = 0;
    std::uint64_t signalFrame_ = 0;
    std::atomic<bool> captureLost_{false};
    std::atomic<bool> captureFrozen_{false};
    std::atomic<bool> playbackFrozen_{false};
    std::atomic<int> playbackOpens_{0};
    std::atomic<int> captureOpens_{0};
    std::atomic<bool> playbackLost_{false};
    Signal signal_;
    bool keepOutput_ = false;
    std::vector<std::int16_t> output_;
    std::vector<std::int16_t> buffer_;
    std::mutex watchMutex_;
    std::vector<std::function<bool()>> watched_;
    mutable std::mutex gateMutex_;
    std::condition_variable gateChanged_;
    bool held_ = false;
    int waiting_ = 0;
};
