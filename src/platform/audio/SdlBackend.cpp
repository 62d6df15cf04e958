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

int SdlBackend::openPlayback(AudioFormat format, PlaybackSource& source) {
    SDL_AudioSpec wanted{};
    wanted.freq = format.rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = PlaybackBufferFrames;
    wanted.callback = &SdlBackend::playbackCallback;
    wanted.userdata = this;
    {
        std::lock_guard render(renderMutex_);
        source_ = &source;
        playbackFrameBytes_ = 2 * format.channels;
    }
    const std::uint32_t device = openDevice(nullptr, false, &wanted);
    if (device == 0)
        return AudioError::Device;
    playbackDevice_ = device;
    SDL_PauseAudioDevice(device, 0);
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

void SdlBackend::playbackCallback(void* self, std::uint8_t* stream, int length) {
    auto* backend = static_cast<SdlBackend*>(self);
    std::lock_guard render(backend->renderMutex_);
    if (backend->source_)
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
