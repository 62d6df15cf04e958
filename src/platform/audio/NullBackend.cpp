#include "NullBackend.h"

#include "common/AudioLibrary.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {
constexpr std::int64_t BlockMicros = 10000;

std::uint64_t framesAt(std::int64_t micros, int rate) {
    return static_cast<std::uint64_t>(micros) * static_cast<std::uint64_t>(rate) / 1000000u;
}
} // namespace

NullBackend::NullBackend(Options options) : options_(std::move(options)) {}

void NullBackend::advance(double seconds) {
    const std::int64_t end = micros_ + static_cast<std::int64_t>(seconds * 1e6 + 0.5);
    while (micros_ < end) {
        settle();
        micros_ = std::min(end, micros_ + BlockMicros);
        renderBlock();
        captureBlock();
    }
}

// The devices may be opened and closed from other threads meanwhile: their state is read under
// devicesMutex_, which is let go while waiting for the mixer or the recorder.
void NullBackend::renderBlock() {
    std::unique_lock lock(devicesMutex_);
    PlaybackSource* playback = playback_;
    if (!playback || playbackLost_)
        return;
    const std::uint64_t due = framesAt(micros_ - playbackStartMicros_, playbackFormat_.rate);
    const auto channels = static_cast<size_t>(playbackFormat_.channels);
    if (playbackFrozen_) {
        playedFrames_ = renderedFrames_ = due;
        queue_.clear();
        return;
    }
    const std::uint64_t ahead = due + static_cast<std::uint64_t>(options_.playbackQueueFrames);
    const int frames = static_cast<int>(ahead - std::min(ahead, renderedFrames_));
    if (frames > 0) {
        lock.unlock();
        playback->waitUntilReady(frames);
        lock.lock();
        if (playback_ != playback)
            return;
        buffer_.resize(static_cast<size_t>(frames) * channels);
        {
            std::lock_guard renderLock(playbackMutex_);
            playback->render(buffer_.data(), frames);
        }
        queue_.insert(queue_.end(), buffer_.begin(), buffer_.end());
        renderedFrames_ = ahead;
    }
    const auto played =
        static_cast<std::ptrdiff_t>(std::min(queue_.size(), (due - playedFrames_) * channels));
    if (keepOutput_)
        output_.insert(output_.end(), queue_.begin(), queue_.begin() + played);
    queue_.erase(queue_.begin(), queue_.begin() + played);
    playedFrames_ = due;
}

void NullBackend::captureBlock() {
    std::unique_lock lock(devicesMutex_);
    CaptureSink* capture = capture_.load();
    if (!capture || captureLost_)
        return;
    const std::uint64_t due = framesAt(micros_ - captureStartMicros_, captureFormat_.rate);
    const int frames = static_cast<int>(due - capturedFrames_);
    if (frames <= 0)
        return;
    if (captureFrozen_) {
        signalFrame_ += static_cast<std::uint64_t>(frames);
        capturedFrames_ = due;
        return;
    }
    lock.unlock();
    capture->waitForRoom(frames);
    lock.lock();
    if (capture_.load() != capture)
        return;
    buffer_.resize(static_cast<size_t>(frames) * static_cast<size_t>(captureFormat_.channels));
    size_t i = 0;
    for (int f = 0; f < frames; ++f, ++signalFrame_)
        for (int c = 0; c < captureFormat_.channels; ++c)
            buffer_[i++] = signal_ ? signal_(signalFrame_, c) : 0;
    capture->captured(buffer_.data(), frames);
    capturedFrames_ = due;
}

double NullBackend::seconds() const {
    return static_cast<double>(micros_) / 1e6;
}

void NullBackend::setInputSignal(Signal signal) {
    signal_ = std::move(signal);
}

void NullBackend::keepOutput(bool keep) {
    keepOutput_ = keep;
    output_.clear();
}

std::vector<std::int16_t> NullBackend::output() const {
    return output_;
}

void NullBackend::watchDevice(std::function<bool()> settled) {
    std::lock_guard lock(watchMutex_);
    watched_.push_back(std::move(settled));
}

void NullBackend::settle() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
        bool settled = heldCalls() > 0;
        if (!settled) {
            std::lock_guard lock(watchMutex_);
            settled = std::all_of(watched_.begin(), watched_.end(), [](const auto& f) { return f(); });
        }
        if (settled || std::chrono::steady_clock::now() > deadline)
            return;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

void NullBackend::setFailing(bool playback, bool capture) {
    std::lock_guard lock(devicesMutex_);
    options_.playbackFails = playback;
    options_.captureFails = capture;
}

void NullBackend::holdDeviceCalls(bool hold) {
    std::unique_lock lock(gateMutex_);
    held_ = hold;
    gateChanged_.notify_all();
    // Let go: the calls have left the gate when this returns, so that settle() waits for them to finish.
    if (!hold)
        gateChanged_.wait_for(lock, std::chrono::seconds(2), [this] { return waiting_ == 0; });
}

int NullBackend::heldCalls() const {
    std::lock_guard lock(gateMutex_);
    return waiting_;
}

void NullBackend::passGate() {
    std::unique_lock lock(gateMutex_);
    if (!held_)
        return;
    ++waiting_;
    gateChanged_.wait(lock, [this] { return !held_; });
    --waiting_;
    gateChanged_.notify_all();
}

int NullBackend::openPlayback(AudioFormat format, PlaybackSource& source) {
    passGate();
    std::lock_guard devicesLock(devicesMutex_);
    if (options_.playbackFails)
        return AudioError::Device;
    playbackFormat_ = format;
    playbackStartMicros_ = micros_;
    ++playbackOpens_;
    // A device opened anew plays nothing of what another one had queued.
    playedFrames_ = 0;
    renderedFrames_ = 0;
    queue_.clear();
    playbackLost_ = false;
    queueSeconds_ = static_cast<double>(options_.playbackQueueFrames) / format.rate;
    std::lock_guard lock(playbackMutex_);
    playback_ = &source;
    source.deviceStarted();
    return AudioError::Ok;
}

int NullBackend::renewPlayback(AudioFormat format, PlaybackSource& source) {
    // The new device simply takes the old one's place; if it cannot be opened, the old one goes on.
    return openPlayback(format, source);
}

void NullBackend::closePlayback() {
    passGate();
    std::lock_guard devicesLock(devicesMutex_);
    std::lock_guard lock(playbackMutex_);
    playback_ = nullptr;
}

int NullBackend::captureDevices(QStringList& names) {
    std::lock_guard lock(devicesMutex_);
    if (options_.captureFails)
        return AudioError::Device;
    names = options_.captureDevices;
    return AudioError::Ok;
}

int NullBackend::openCapture(const QString& name, AudioFormat format, CaptureSink& sink) {
    passGate();
    std::lock_guard lock(devicesMutex_);
    if (options_.captureFails || (!name.isEmpty() && !options_.captureDevices.contains(name)))
        return AudioError::Device;
    captureFormat_ = format;
    captureDevice_ = name;
    captureStartMicros_ = micros_;
    ++captureOpens_;
    capturedFrames_ = 0;
    captureLost_ = false;
    capture_.store(&sink);
    return AudioError::Ok;
}

void NullBackend::closeCapture() {
    passGate();
    std::lock_guard lock(devicesMutex_);
    capture_.store(nullptr);
}

void NullBackend::setCaptureDevices(const QStringList& names) {
    std::lock_guard lock(devicesMutex_);
    options_.captureDevices = names;
}

QString NullBackend::captureDevice() const {
    std::lock_guard lock(devicesMutex_);
    return captureDevice_;
}
