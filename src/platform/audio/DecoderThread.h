#pragma once

#include "AudioBackend.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class PlaybackStream;

// Decodes ahead for every stream that may play soon: playing and paused streams, and the most recently used
// stopped ones. Other streams give up their decoder and buffers and get them back when they are used again,
// so streams that are never freed cost little. While no stream plays it sleeps until it is used.
class DecoderThread {
public:
    static constexpr std::uint64_t KeepLoaded = 4;

    // `afterPass` runs on the thread after each pass, outside every lock of this class; it returns true to
    // be called again soon even while nothing plays.
    DecoderThread(AudioBackend& backend, std::function<bool()> afterPass);
    ~DecoderThread();
    DecoderThread(const DecoderThread&) = delete;
    DecoderThread& operator=(const DecoderThread&) = delete;

    void add(std::shared_ptr<PlaybackStream> stream);
    // Forgets every stream (they are released on this thread or on the decoder thread, whichever holds the
    // last reference).
    void clear();
    // Forgets one stream, in the same way.
    void remove(PlaybackStream& stream);
    // Marks `stream` as just used and wakes the thread.
    void use(PlaybackStream& stream);
    void wake();

private:
    void run();

    AudioBackend& backend_;
    std::function<bool()> afterPass_;
    std::mutex mutex_;
    std::mutex passMutex_; // held by the thread while it works through its streams
    std::condition_variable wakeUp_;
    std::vector<std::shared_ptr<PlaybackStream>> streams_;
    std::uint64_t useCounter_ = 0;
    bool woken_ = false;
    bool quit_ = false;
    std::thread thread_;
};
