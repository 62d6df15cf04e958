#pragma once

#include "AudioBackend.h"
#include "DecoderThread.h"
#include "DeviceKeeper.h"
#include "common/AudioLibrary.h"

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class PlaybackStream;

// The output side: the playback device, the file streams and the mix of the playing ones.
// Control calls come from the API thread; render() runs on the device thread. The device is opened and closed
// on a thread of its own, which also opens it again when it goes; no control call waits for it. When the
// backend asks for it, the decoder thread has the device closed after a while without a playing stream, and
// the next play has it opened (its first buffer already holds the stream). A play on an open device that
// holds nothing but silence queued has a new device put in its place, so the stream is not heard behind that
// silence.
class PlaybackMixer : public PlaybackSource {
public:
    explicit PlaybackMixer(AudioBackend& backend);
    ~PlaybackMixer() override;

    // Starts the mixer in `format` and has the device opened; streams can be made and played at once.
    void open(AudioFormat format);
    // Has the device closed and frees every stream.
    void close();
    // Started (whether the device is there or not).
    bool isOpen() const { return open_; }
    // The device could not be opened (it is tried again and again).
    bool deviceMissing() const { return device_.missing(); }
    // The device is wanted and not working (missing, lost, frozen).
    bool deviceDown() const { return device_.down(); }
    // Ends the device's thread (quitDevice() asks it to, without waiting); false when its close did not
    // return by `deadline` (see DeviceKeeper).
    void quitDevice() { device_.quit(); }
    bool shutdownDevice(std::chrono::steady_clock::time_point deadline) { return device_.shutdown(deadline); }

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
    void deviceStarted() override;

private:
    void activate(PlaybackStream& stream);
    void deactivate(PlaybackStream& stream);
    // On the decoder thread: has the device closed when nothing has played for long enough; true while that
    // time is still running.
    bool sleepWhenIdle();
    // Waits until every playing stream can give `frames` frames without starving, or `bound` has passed.
    void waitForStreams(int frames, std::chrono::steady_clock::duration bound);
    // The open device holds nothing but silence queued (a new one would drop only that).
    bool onlySilenceQueued() const;
    DeviceKeeper::Device playbackDevice();

    AudioBackend& backend_;
    // The idle state shared by the API and the decoder thread (never held across a device call).
    std::mutex idleMutex_;
    bool open_ = false;     // API thread
    bool asleep_ = false;   // closed for want of sound
    double idleSince_ = -1; // the devices' clock when the decoder thread first saw nothing playing
    AudioFormat format_;
    std::map<AudioHandle, std::shared_ptr<PlaybackStream>> streams_;
    // Under the playback lock.
    std::vector<PlaybackStream*> active_;
    std::vector<std::int32_t> mix_;
    std::vector<std::int16_t> scratch_;
    double lastSoundAt_ = -1e300; // the devices' clock at the last render() with a playing stream
    bool renewing_ = false;       // a new device is asked for: until it starts, the old one takes silence
    // Opens and closes the device on its own thread; its callback uses the members above.
    DeviceKeeper device_;
    // Last: its thread calls back into the members above.
    DecoderThread decoder_;
};
