#pragma once

#include "AudioBackend.h"
#include "DecoderThread.h"
#include "common/AudioLibrary.h"

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class PlaybackStream;

// The output side: the playback device, the file streams and the mix of the playing ones.
// Control calls come from the API thread; render() runs on the device thread. When the backend asks for it,
// the decoder thread closes the device after a while without a playing stream, and the next play opens it.
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
    // Under deviceMutex_: opens the device again after a sleep.
    void wakeUp();
    // On the decoder thread: closes the device when nothing has played for long enough; true while that
    // time is still running.
    bool sleepWhenIdle();

    AudioBackend& backend_;
    // Held by every call that opens, closes or locks the device, so that the decoder thread's close of an
    // idle device never meets a lock or an open on another thread.
    std::mutex deviceMutex_;
    bool open_ = false;
    bool deviceDown_ = false; // lost and not opened again yet
    bool asleep_ = false;     // closed for want of sound
    double idleSince_ = -1;   // the devices' clock when the decoder thread first saw nothing playing
    // The devices' clock at the last render (the device thread writes it).
    std::atomic<double> lastRender_{0};
    std::chrono::steady_clock::time_point lastRecovery_{};
    AudioFormat format_;
    std::map<AudioHandle, std::shared_ptr<PlaybackStream>> streams_;
    // Under the playback lock.
    std::vector<PlaybackStream*> active_;
    std::vector<std::int32_t> mix_;
    std::vector<std::int16_t> scratch_;
    // Last: its thread calls back into the members above.
    DecoderThread decoder_;
};
