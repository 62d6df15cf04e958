#include "DecoderThread.h"

#include "PlaybackStream.h"
#include "ThreadName.h"

#include <algorithm>
#include <chrono>

namespace {
constexpr auto PlayingPoll = std::chrono::milliseconds(40);
constexpr auto IdlePoll = std::chrono::seconds(1);
} // namespace

DecoderThread::DecoderThread(AudioBackend& backend, std::function<bool()> afterPass)
    : backend_(backend), afterPass_(std::move(afterPass)), thread_([this] { run(); }) {}

DecoderThread::~DecoderThread() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wakeUp_.notify_all();
    thread_.join();
}

void DecoderThread::add(std::shared_ptr<PlaybackStream> stream) {
    {
        std::lock_guard lock(mutex_);
        stream->touch(++useCounter_);
        streams_.push_back(std::move(stream));
        woken_ = true;
    }
    wakeUp_.notify_all();
}

void DecoderThread::clear() {
    std::vector<std::shared_ptr<PlaybackStream>> old;
    {
        std::lock_guard lock(mutex_);
        old.swap(streams_);
    }
    // Wait for a pass in flight: afterwards the thread touches none of these streams (nor the device lock).
    std::lock_guard pass(passMutex_);
}

void DecoderThread::remove(PlaybackStream& stream) {
    std::shared_ptr<PlaybackStream> old;
    {
        std::lock_guard lock(mutex_);
        const auto found =
            std::find_if(streams_.begin(), streams_.end(),
                         [&](const std::shared_ptr<PlaybackStream>& s) { return s.get() == &stream; });
        if (found == streams_.end())
            return;
        old = std::move(*found);
        streams_.erase(found);
    }
    std::lock_guard pass(passMutex_);
}

void DecoderThread::use(PlaybackStream& stream) {
    {
        std::lock_guard lock(mutex_);
        stream.touch(++useCounter_);
        woken_ = true;
    }
    wakeUp_.notify_all();
}

void DecoderThread::wake() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    wakeUp_.notify_all();
}

void DecoderThread::run() {
    nameThisThread("kandolor-decode");
    std::vector<std::shared_ptr<PlaybackStream>> streams;
    std::unique_lock lock(mutex_);
    while (!quit_) {
        streams = streams_;
        const std::uint64_t recent = useCounter_ > KeepLoaded ? useCounter_ - KeepLoaded : 0;
        lock.unlock();
        std::unique_lock pass(passMutex_);
        bool worked = false;
        bool playing = false;
        // Playing streams first, then the others that are wanted; the rest are unloaded.
        for (const auto& stream : streams)
            if (stream->state() == AudioLibrary::Playing) {
                playing = true;
                worked |= stream->fill();
            }
        for (const auto& stream : streams) {
            const int state = stream->state();
            if (state == AudioLibrary::Playing)
                continue;
            const bool wanted =
                state == AudioLibrary::Paused || (!stream->ended() && stream->lastUse() > recent);
            if (wanted)
                worked |= stream->fill();
            else if (stream->loaded())
                stream->unload(backend_);
        }
        streams.clear();
        pass.unlock();
        const bool poll = playing || afterPass_();
        lock.lock();
        if (!worked && !woken_ && !quit_)
            wakeUp_.wait_for(lock, poll ? PlayingPoll : IdlePoll);
        woken_ = false;
    }
}
