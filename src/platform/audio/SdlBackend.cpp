#include "SdlBackend.h"

#include "common/AudioLibrary.h"

#include <SDL2/SDL.h>
#include <chrono>
#include <cstring>

namespace {
constexpr Uint16 PlaybackBufferFrames = 4096; // about 93 ms: no underruns on a busy machine
constexpr Uint16 CaptureBufferFrames = 1024;
// Closed after this long without sound, the device costs nothing until the next play, which then starts at
// once instead of behind a buffer of silence.
constexpr double PlaybackIdleSeconds = 2.0;
// A rendered buffer is handed to the sound server, which holds about one more before it: after three
// buffers' time it has been heard.
constexpr int QueuedBuffers = 3;
} // namespace

void SdlBackend::applyHints() {
    // The default resampler corrupts non-integer ratios; signals stay with the application.
    SDL_SetHint(SDL_HINT_AUDIO_RESAMPLING_MODE, "medium");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}

SdlBackend::SdlBackend() {
    applyHints();
}

SdlBackend::~SdlBackend() {
    // The owner destroys the backend only after both devices' threads have ended (else it keeps it).
    closeCapture();
    closePlayback();
    std::lock_guard lock(startMutex_);
    if (started_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlBackend::ensureStarted() {
    if (started_ && restart_ && openDevices_.load() == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        started_ = false;
    }
    if (!started_)
        started_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    restart_ = !started_;
    return started_;
}

std::uint32_t SdlBackend::openDevice(const char* name, bool capture, const void* wanted) {
    std::lock_guard lock(startMutex_);
    if (!ensureStarted())
        return 0;
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts to whatever the device really uses.
    const SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(name, capture ? 1 : 0, static_cast<const SDL_AudioSpec*>(wanted), &obtained, 0);
    if (device == 0)
        restart_ = true;
    else
        ++openDevices_;
    return device;
}

void SdlBackend::closeDevice(std::uint32_t device) {
    SDL_CloseAudioDevice(device);
    --openDevices_;
}

std::uint32_t SdlBackend::openPlaybackDevice(AudioFormat format, int slot) {
    SDL_AudioSpec wanted{};
    wanted.freq = format.rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = PlaybackBufferFrames;
    wanted.callback = &SdlBackend::playbackCallback;
    wanted.userdata = &playbackSlots_[slot];
    return openDevice(nullptr, false, &wanted);
}

void SdlBackend::startPlayback(std::uint32_t device, int slot, AudioFormat format, PlaybackSource& source) {
    {
        std::lock_guard render(renderMutex_);
        source_ = &source;
        playbackSlot_ = slot;
        playbackFrameBytes_ = 2 * format.channels;
        source.deviceStarted();
    }
    playbackRate_ = format.rate;
    playbackDevice_ = device;
    SDL_PauseAudioDevice(device, 0);
}

int SdlBackend::openPlayback(AudioFormat format, PlaybackSource& source) {
    const int slot = playbackSlot_;
    const std::uint32_t device = openPlaybackDevice(format, slot);
    if (device == 0)
        return AudioError::Device;
    startPlayback(device, slot, format, source);
    return AudioError::Ok;
}

int SdlBackend::renewPlayback(AudioFormat format, PlaybackSource& source) {
    const int slot = 1 - playbackSlot_;
    const std::uint32_t device = openPlaybackDevice(format, slot);
    if (device == 0)
        return AudioError::Device;
    const std::uint32_t old = playbackDevice_;
    startPlayback(device, slot, format, source);
    // The old device's callback plays silence from here, however long its close takes.
    if (old != 0)
        closeDevice(old);
    return AudioError::Ok;
}

void SdlBackend::closePlayback() {
    const std::uint32_t device = playbackDevice_.exchange(0);
    {
        // From here the callback renders silence, however long the close takes.
        std::lock_guard render(renderMutex_);
        source_ = nullptr;
    }
    if (device != 0)
        closeDevice(device);
}

bool SdlBackend::playbackLost() {
    const std::uint32_t device = playbackDevice_;
    return device != 0 && SDL_GetAudioDeviceStatus(device) == SDL_AUDIO_STOPPED;
}

double SdlBackend::playbackIdleSeconds() const {
    return PlaybackIdleSeconds;
}

double SdlBackend::playbackQueueSeconds() const {
    return static_cast<double>(QueuedBuffers * PlaybackBufferFrames) / playbackRate_.load();
}

void SdlBackend::lockPlayback() {
    renderMutex_.lock();
}

void SdlBackend::unlockPlayback() {
    renderMutex_.unlock();
}

int SdlBackend::captureDevices(QStringList& names) {
    std::lock_guard lock(startMutex_);
    if (!ensureStarted())
        return AudioError::Driver;
    const int count = SDL_GetNumAudioDevices(1);
    if (count <= 0)
        return AudioError::Device;
    names.clear();
    for (int i = 0; i < count; ++i)
        if (const char* name = SDL_GetAudioDeviceName(i, 1))
            names.append(QString::fromUtf8(name));
    return AudioError::Ok;
}

int SdlBackend::openCapture(const QString& name, AudioFormat format, CaptureSink& sink) {
    SDL_AudioSpec wanted{};
    wanted.freq = format.rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = CaptureBufferFrames;
    wanted.callback = &SdlBackend::captureCallback;
    wanted.userdata = this;
    sink_ = &sink;
    captureFrameBytes_ = 2 * format.channels;
    // No name: the system's default source, followed when it changes.
    const QByteArray deviceName = name.toUtf8();
    const std::uint32_t device = openDevice(name.isEmpty() ? nullptr : deviceName.constData(), true, &wanted);
    if (device == 0)
        return AudioError::Device;
    captureDevice_ = device;
    SDL_PauseAudioDevice(device, 0);
    return AudioError::Ok;
}

void SdlBackend::closeCapture() {
    const std::uint32_t device = captureDevice_.exchange(0);
    if (device == 0)
        return;
    // From here the callback hands nothing over, however long the close takes.
    SDL_LockAudioDevice(device);
    sink_ = nullptr;
    SDL_UnlockAudioDevice(device);
    closeDevice(device);
}

bool SdlBackend::captureLost() {
    // A removed device stops (and would go on delivering silence).
    const std::uint32_t device = captureDevice_;
    return device != 0 && SDL_GetAudioDeviceStatus(device) == SDL_AUDIO_STOPPED;
}

void SdlBackend::playbackCallback(void* slot, std::uint8_t* stream, int length) {
    const auto* playbackSlot = static_cast<const PlaybackSlot*>(slot);
    SdlBackend* backend = playbackSlot->backend;
    std::lock_guard render(backend->renderMutex_);
    if (backend->source_ && backend->playbackSlot_ == playbackSlot->index)
        backend->source_->render(reinterpret_cast<std::int16_t*>(stream),
                                 length / backend->playbackFrameBytes_);
    else
        std::memset(stream, 0, static_cast<size_t>(length));
}

void SdlBackend::captureCallback(void* self, std::uint8_t* stream, int length) {
    auto* backend = static_cast<SdlBackend*>(self);
    if (backend->sink_)
        backend->sink_->captured(reinterpret_cast<const std::int16_t*>(stream),
                                 length / backend->captureFrameBytes_);
}

double SdlBackend::clockSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
