#include "PlaybackMixer.h"

#include "PlaybackStream.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {
// Device frames mixed at a time; larger requests are mixed in pieces.
constexpr int MixFrames = 4096;
// How long a device about to be opened waits for the streams to have its first buffer decoded.
constexpr auto FirstBufferBound = std::chrono::milliseconds(100);
} // namespace

PlaybackMixer::PlaybackMixer(AudioBackend& backend)
    : backend_(backend), device_("kandolor-output", backend, playbackDevice()),
      decoder_(backend, [this] { return sleepWhenIdle(); }) {}

PlaybackMixer::~PlaybackMixer() {
    close();
}

DeviceKeeper::Device PlaybackMixer::playbackDevice() {
    // Only the close may still run when the device's thread was left to itself: it uses the backend alone.
    AudioBackend& backend = backend_;
    // A device renders its first buffer as soon as it is opened: a stream that has just been started has
    // that much decoded by then, or it would start with a gap.
    return {[this, &backend](const QString&, AudioFormat format) {
                waitForStreams(MixFrames, FirstBufferBound);
                return backend.openPlayback(format, *this);
            },
            [&backend] { backend.closePlayback(); }, [&backend] { return backend.playbackLost(); },
            [this, &backend](const QString&, AudioFormat format) {
                waitForStreams(MixFrames, FirstBufferBound);
                const int error = backend.renewPlayback(format, *this);
                if (error != AudioError::Ok) {
                    // The old device goes on, and plays what waited for the new one.
                    PlaybackLock lock(backend);
                    renewing_ = false;
                }
                return error;
            }};
}

void PlaybackMixer::open(AudioFormat format) {
    {
        // A device closed just before may still be rendering.
        PlaybackLock lock(backend_);
        format_ = format;
        mix_.assign(static_cast<size_t>(MixFrames) * format.channels, 0);
        scratch_.assign(static_cast<size_t>(MixFrames) * format.channels, 0);
        active_.reserve(16);
        renewing_ = false;
    }
    {
        std::lock_guard idle(idleMutex_);
        open_ = true;
        asleep_ = false;
        idleSince_ = -1;
    }
    device_.open(QString(), format);
}

void PlaybackMixer::close() {
    decoder_.clear();
    device_.close();
    {
        std::lock_guard idle(idleMutex_);
        open_ = false;
        asleep_ = false;
    }
    {
        // The device may render until its thread has closed it: it finds nothing to play.
        PlaybackLock lock(backend_);
        active_.clear();
        renewing_ = false;
    }
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
        std::lock_guard idle(idleMutex_);
        bool renew = false;
        {
            PlaybackLock lock(backend_);
            if (restart || stream.ended())
                stream.seek(0);
            stream.setState(AudioLibrary::Playing);
            renew = !asleep_ && !renewing_ && active_.empty() && onlySilenceQueued();
            renewing_ = renewing_ || renew;
            activate(stream);
        }
        // The first buffer of the device opened by its thread already holds the stream.
        if (asleep_)
            device_.open(QString(), format_);
        else if (renew && !device_.renew()) {
            PlaybackLock lock(backend_);
            renewing_ = false;
        }
        asleep_ = false;
        idleSince_ = -1;
    }
    decoder_.use(stream);
}

bool PlaybackMixer::onlySilenceQueued() const {
    // Under the playback lock.
    const double queued = backend_.playbackQueueSeconds();
    return queued > 0 && device_.isOpen() && !device_.down() &&
           backend_.clockSeconds() - lastSoundAt_ > queued;
}

void PlaybackMixer::deviceStarted() {
    // Under the playback lock.
    renewing_ = false;
}

bool PlaybackMixer::sleepWhenIdle() {
    const double idleSeconds = backend_.playbackIdleSeconds();
    if (idleSeconds <= 0)
        return false;
    std::lock_guard idleLock(idleMutex_);
    if (!open_ || asleep_ || !device_.isOpen() || device_.down())
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
    device_.close();
    asleep_ = true;
    idleSince_ = -1;
    return false;
}

void PlaybackMixer::pause(PlaybackStream& stream) {
    PlaybackLock lock(backend_);
    stream.setState(AudioLibrary::Paused);
    deactivate(stream);
}

void PlaybackMixer::stop(PlaybackStream& stream) {
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
        PlaybackLock lock(backend_);
        stream.seek(frame);
    }
    decoder_.use(stream);
}

void PlaybackMixer::pauseAll() {
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
    device_.active();
    const int channels = format_.channels;
    if (renewing_) {
        // The streams start on the new device.
        std::fill_n(out, static_cast<size_t>(frames) * static_cast<size_t>(channels), 0);
        return;
    }
    if (!active_.empty())
        lastSoundAt_ = backend_.clockSeconds();
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
    waitForStreams(frames, std::chrono::seconds(5));
}

void PlaybackMixer::waitForStreams(int frames, std::chrono::steady_clock::duration bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
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
