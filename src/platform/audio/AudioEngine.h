#pragma once

#include "AudioBackend.h"
#include "PlaybackMixer.h"
#include "Recorder.h"
#include "common/AudioLibrary.h"

#include <memory>

// The audio library on a device backend: file streams decoded ahead on a decoder thread and mixed in the
// playback callback, capture through a lock-free ring, encoder programs fed by writer threads.
class AudioEngine : public AudioLibrary {
public:
    explicit AudioEngine(std::unique_ptr<AudioBackend> backend);
    ~AudioEngine() override;
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    std::uint32_t GetVersion() override;
    int ErrorGetCode() override;
    bool Init(int device, std::uint32_t freq, std::uint32_t flags) override;
    bool Free() override;
    bool Stop() override;
    bool RecordInit(int device) override;
    bool RecordFree() override;
    std::optional<QString> RecordGetInputName(int input) override;
    std::int32_t RecordGetInput(int input) override;
    bool RecordSetInput(int input, std::uint32_t flags, float volume) override;
    AudioHandle RecordStart(std::uint32_t freq, std::uint32_t chans, std::uint32_t flags) override;
    AudioHandle StreamCreateFile(const QString& file) override;
    bool ChannelPlay(AudioHandle handle, bool restart) override;
    bool ChannelPause(AudioHandle handle) override;
    bool ChannelStop(AudioHandle handle) override;
    bool StreamFree(AudioHandle handle) override;
    double FileSeconds(const QString& file) override;
    int ChannelIsActive(AudioHandle handle) override;
    bool ChannelReadFailed(AudioHandle handle) override;
    std::int64_t ChannelGetLength(AudioHandle handle) override;
    std::int64_t ChannelGetPosition(AudioHandle handle) override;
    bool ChannelSetPosition(AudioHandle handle, std::int64_t pos) override;
    double ChannelBytes2Seconds(AudioHandle handle, std::int64_t bytes) override;
    std::int64_t ChannelSeconds2Bytes(AudioHandle handle, double seconds) override;
    std::int32_t ChannelGetLevel(AudioHandle handle) override;
    AudioHandle EncodeStart(AudioHandle channel, const QString& commandLine, std::uint32_t flags) override;
    std::int64_t ChannelGetDropped(AudioHandle channel) override;
    std::int64_t ChannelGetMissing(AudioHandle channel) override;
    bool DeviceMissing(int device) override;
    std::int64_t EncodeGetQueued(AudioHandle encoder) override;
    int EncodeIsActive(AudioHandle encoder) override;
    bool EncodeStop(AudioHandle encoder, EncoderExited exited) override;
    AudioHandle EncodeRestart(AudioHandle encoder, const QString& commandLine, EncoderExited exited) override;

    // Captured samples lost because the capture ring was full (0 unless the reader fell behind by a minute).
    std::uint64_t droppedCaptureSamples() const { return recorder_.droppedSamples(); }
    // The capture ring's most samples held at once, and its capacity.
    std::uint64_t captureRingPeak() const { return recorder_.ring().peakFill(); }
    std::uint64_t captureRingCapacity() const { return recorder_.ring().capacity(); }

private:
    AudioHandle newHandle() { return nextHandle_++; }

    std::unique_ptr<AudioBackend> backend_;
    PlaybackMixer mixer_;
    Recorder recorder_;
    AudioHandle nextHandle_ = 1;
};
