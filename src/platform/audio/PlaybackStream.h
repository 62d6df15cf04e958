#pragma once

#include "AudioBackend.h"
#include "Decoder.h"
#include "common/AudioLibrary.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

struct _SDL_AudioStream;

// One file stream: its decoder, a ring of decoded chunks (decoder thread → mixer) and its converter to the
// device format. Three sides touch it:
// - the API thread changes state, position and generation only while holding the playback lock;
// - the decoder thread fills chunks (fill) and loads or unloads the decoder (no lock but for unload);
// - the mixer reads chunks in mix(), always under the playback lock.
// A seek starts a new generation; chunks of older generations are skipped by the mixer.
class PlaybackStream {
public:
    static constexpr int ChunkFrames = 4096;
    static constexpr int ChunkCount = 16;

    PlaybackStream(AudioHandle handle, QString path, std::unique_ptr<Decoder> decoder, AudioFormat device);
    ~PlaybackStream();
    PlaybackStream(const PlaybackStream&) = delete;
    PlaybackStream& operator=(const PlaybackStream&) = delete;

    AudioHandle handle() const { return handle_; }
    int rate() const { return rate_; }
    int channels() const { return channels_; }
    int frameBytes() const { return 2 * channels_; }
    std::int64_t lengthFrames() const { return length_; }
    bool valid() const { return converter_ != nullptr; }

    // Any thread.
    int state() const { return state_.load(std::memory_order_acquire); }
    bool stalled() const { return stalled_.load(std::memory_order_acquire); }
    bool ended() const { return ended_.load(std::memory_order_acquire); }
    // The file could not be read on (damaged, gone, its volume unmounted): the stream ends where it stands.
    bool readFailed() const { return readFailed_.load(std::memory_order_acquire); }
    std::int64_t positionFrames() const { return position_.load(std::memory_order_acquire); }
    std::uint64_t lastUse() const { return lastUse_.load(std::memory_order_relaxed); }
    void touch(std::uint64_t use) { lastUse_.store(use, std::memory_order_relaxed); }

    // Under the playback lock.
    void setState(int state) { state_.store(state, std::memory_order_release); }
    void seek(std::int64_t frame);
    // Adds `frames` device frames of this stream to `mix`; returns false when the stream has just ended.
    bool mix(std::int32_t* mix, int frames, std::int16_t* scratch);
    // Whether `frames` device frames can be mixed without starving.
    bool ready(int frames) const;

    // Decoder thread. fill() decodes one chunk when there is room; true when it did work.
    bool fill();
    bool loaded() const { return decoder_ != nullptr; }
    // Releases decoder and buffers of a stream that is not playing; false when it is playing.
    bool unload(AudioBackend& backend);

private:
    struct Chunk {
        std::int64_t start = 0;
        int frames = 0;
        std::uint32_t generation = 0;
        bool last = false;
    };

    bool reload();
    void publish(std::int64_t start, int frames, bool last);

    const AudioHandle handle_;
    const QString path_;
    const int rate_;
    const int channels_;
    const std::int64_t length_;
    const AudioFormat device_;

    std::atomic<int> state_{AudioLibrary::Stopped};
    std::atomic<bool> stalled_{false};
    std::atomic<bool> ended_{false};
    std::atomic<bool> readFailed_{false};
    std::atomic<std::int64_t> position_{0};
    std::atomic<std::uint64_t> lastUse_{0};
    std::atomic<std::uint32_t> generation_{1};
    std::atomic<std::int64_t> generationStart_{0};

    Chunk chunks_[ChunkCount];
    std::vector<std::int16_t> samples_;
    std::atomic<std::uint32_t> written_{0};
    std::atomic<std::uint32_t> consumed_{0};

    // Decoder thread only.
    std::unique_ptr<Decoder> decoder_;
    std::uint32_t decodedGeneration_ = 0;
    std::uint32_t failedGeneration_ = 0;
    std::int64_t nextFrame_ = 0;
    bool atEnd_ = false;

    // Mixer side (under the playback lock).
    _SDL_AudioStream* converter_ = nullptr;
    int chunkOffset_ = 0;
    bool sourceDone_ = false;
    std::int64_t base_ = 0;   // source frame at the last converter reset
    std::int64_t handed_ = 0; // source frames handed to the converter, as a position
    std::int64_t output_ = 0; // device frames taken from the converter since the reset
};
