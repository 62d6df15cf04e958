#pragma once

#include "AudioBackend.h"
#include "DecoderThread.h"
#include "common/AudioLibrary.h"

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <vector>

class PlaybackStream;

// The output side: the playback device, the file streams and the mix of the playing ones.
// Control calls come from the API thread; render() runs on the device thread.
class PlaybackMixer : public PlaybackSource {
public:
    explicit PlaybackMixer(AudioBackend& backend);
    ~PlaybackMixer() override;

    // Opens the device; an AudioError code.
    int open(AudioFormat format);
    // Closes the device and frees every stream.
    void close();
    bool isOpen() const { return open_; }
    // Opens the device again when it has gone (at most once a second); streams go on where they stood.
    void recover();

    // Opens `path` as stream `handle`; sets `error` and returns null on failure.
    std::shared_ptr<PlaybackStream> create(AudioHandle handle, const QString& path, int& error);
    PlaybackStream* find(AudioHandle handle) const;

    void play(PlaybackStream& stream, bool restart);
    void pause(PlaybackStream& stream);
    void stop(PlaybackStream& stream);
    // Stops and releases stream `handle`; false when there is none.
    bool free(AudioHandle handle);
    void seek(PlaybackStream& stream, std::int64_t frame);
    // Pauses every playing stream.
    void pauseAll();

    void render(std::int16_t* out, int frames) override;
    void waitUntilReady(int frames) override;

private:
    void activate(PlaybackStream& stream);
    void deactivate(PlaybackStream& stream);

    AudioBackend& backend_;
    DecoderThread decoder_;
    bool open_ = false;
    bool deviceDown_ = false; // lost and not opened again yet
    // The devices' clock at the last render (the device thread writes it).
    std::atomic<double> lastRender_{0};
    std::chrono::steady_clock::time_point lastRecovery_{};
    AudioFormat format_;
    std::map<AudioHandle, std::shared_ptr<PlaybackStream>> streams_;
    // Under the playback lock.
    std::vector<PlaybackStream*> active_;
    std::vector<std::int32_t> mix_;
    std::vector<std::int16_t> scratch_;
};
