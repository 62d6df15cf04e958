#include "PlaybackMixer.h"

#include "PlaybackStream.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {
// Device frames mixed at a time; larger requests are mixed in pieces.
constexpr int MixFrames = 4096;
constexpr double FrozenSeconds = 2.0;
} // namespace

PlaybackMixer::PlaybackMixer(AudioBackend& backend)
    : backend_(backend), decoder_(backend, [this] { return sleepWhenIdle(); }) {}

PlaybackMixer::~PlaybackMixer() {
    close();
}

int PlaybackMixer::open(AudioFormat format) {
    std::lock_guard device(deviceMutex_);
    format_ = format;
    mix_.assign(static_cast<size_t>(MixFrames) * format.channels, 0);
    scratch_.assign(static_cast<size_t>(MixFrames) * format.channels, 0);
    active_.reserve(16);
    lastRender_.store(backend_.clockSeconds());
    const int error = backend_.openPlayback(format, *this);
    open_ = error == AudioError::Ok;
    asleep_ = false;
    idleSince_ = -1;
    return error;
}

void PlaybackMixer::recover() {
    std::lock_guard device(deviceMutex_);
    if (asleep_)
        return;
    // A device that claims to run but has asked for nothing for 2 s of the devices' clock has gone too.
    const bool frozen = backend_.clockSeconds() - lastRender_.load() > FrozenSeconds;
    if (!open_ || (!deviceDown_ && !backend_.playbackLost() && !frozen))
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastRecovery_ < std::chrono::seconds(1))
        return;
    lastRecovery_ = now;
    const auto hold = decoder_.holdPasses();
    if (!deviceDown_)
        backend_.closePlayback();
    lastRender_.store(backend_.clockSeconds());
    deviceDown_ = backend_.openPlayback(format_, *this) != AudioError::Ok;
}

void PlaybackMixer::close() {
    decoder_.clear();
    std::lock_guard device(deviceMutex_);
    if (open_ && !deviceDown_ && !asleep_)
        backend_.closePlayback();
    open_ = false;
    deviceDown_ = false;
    asleep_ = false;
    active_.clear();
    streams_.clear();
}

std::shared_ptr<PlaybackStream> PlaybackMixer::create(AudioHandle handle, const QString& path, int& error) {
    std::unique_ptr<Decoder> decoder = openDecoder(path, error);
    if (!decoder)
        return nullptr;
    auto stream = std::make_shared<PlaybackStream>(handle, path, std::move(decoder), format_);
    if (!stream->valid()) {
        error = AudioError::Format;
        return nullptr;
    }
    streams_[handle] = stream;
    decoder_.add(stream);
    return stream;
}

PlaybackStream* PlaybackMixer::find(AudioHandle handle) const {
    const auto it = streams_.find(handle);
    return it == streams_.end() ? nullptr : it->second.get();
}

void PlaybackMixer::play(PlaybackStream& stream, bool restart) {
    {
        std::lock_guard device(deviceMutex_);
        {
            PlaybackLock lock(backend_);
            if (restart || stream.ended())
                stream.seek(0);
            stream.setState(AudioLibrary::Playing);
            activate(stream);
        }
        // The first buffer of the opened device already holds the stream.
        if (asleep_)
            wakeUp();
        idleSince_ = -1;
    }
    decoder_.use(stream);
}

void PlaybackMixer::wakeUp() {
    const auto hold = decoder_.holdPasses();
    asleep_ = false;
    lastRender_.store(backend_.clockSeconds());
    deviceDown_ = backend_.openPlayback(format_, *this) != AudioError::Ok;
}

bool PlaybackMixer::sleepWhenIdle() {
    const double idleSeconds = backend_.playbackIdleSeconds();
    if (idleSeconds <= 0)
        return false;
    std::lock_guard device(deviceMutex_);
    if (!open_ || deviceDown_ || asleep_)
        return false;
    bool idle = false;
    {
        PlaybackLock lock(backend_);
        idle = active_.empty();
    }
    const double now = backend_.clockSeconds();
    if (!idle || idleSince_ < 0 || now < idleSince_) {
        idleSince_ = idle ? now : -1;
        return idle;
    }
    if (now - idleSince_ < idleSeconds)
        return true;
    backend_.closePlayback();
    asleep_ = true;
    idleSince_ = -1;
    return false;
}

void PlaybackMixer::pause(PlaybackStream& stream) {
    std::lock_guard device(deviceMutex_);
    PlaybackLock lock(backend_);
    stream.setState(AudioLibrary::Paused);
    deactivate(stream);
}

void PlaybackMixer::stop(PlaybackStream& stream) {
    std::lock_guard device(deviceMutex_);
    PlaybackLock lock(backend_);
    stream.setState(AudioLibrary::Stopped);
    deactivate(stream);
}

bool PlaybackMixer::free(AudioHandle handle) {
    const auto found = streams_.find(handle);
    if (found == streams_.end())
        return false;
    stop(*found->second);
    decoder_.remove(*found->second);
    streams_.erase(found);
    return true;
}

void PlaybackMixer::seek(PlaybackStream& stream, std::int64_t frame) {
    {
        std::lock_guard device(deviceMutex_);
        PlaybackLock lock(backend_);
        stream.seek(frame);
    }
    decoder_.use(stream);
}

void PlaybackMixer::pauseAll() {
    std::lock_guard device(deviceMutex_);
    PlaybackLock lock(backend_);
    for (PlaybackStream* stream : active_)
        stream->setState(AudioLibrary::Paused);
    active_.clear();
}

void PlaybackMixer::activate(PlaybackStream& stream) {
    if (std::find(active_.begin(), active_.end(), &stream) == active_.end())
        active_.push_back(&stream);
}

void PlaybackMixer::deactivate(PlaybackStream& stream) {
    active_.erase(std::remove(active_.begin(), active_.end(), &stream), active_.end());
}

void PlaybackMixer::render(std::int16_t* out, int frames) {
    lastRender_.store(backend_.clockSeconds(), std::memory_order_relaxed);
    const int channels = format_.channels;
    while (frames > 0) {
        const int count = std::min(frames, MixFrames);
        const int samples = count * channels;
        std::fill_n(mix_.begin(), samples, 0);
        for (size_t i = 0; i < active_.size();) {
            if (active_[i]->mix(mix_.data(), count, scratch_.data()))
                ++i;
            else
                active_.erase(active_.begin() + static_cast<std::ptrdiff_t>(i));
        }
        for (int i = 0; i < samples; ++i)
            out[i] = static_cast<std::int16_t>(std::clamp(mix_[static_cast<size_t>(i)], -32768, 32767));
        out += samples;
        frames -= count;
    }
}

void PlaybackMixer::waitUntilReady(int frames) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        {
            PlaybackLock lock(backend_);
            if (std::all_of(active_.begin(), active_.end(),
                            [frames](const PlaybackStream* stream) { return stream->ready(frames); }))
                return;
        }
        decoder_.wake();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}
