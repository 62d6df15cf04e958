#include "SdlBackend.h"

#include "common/AudioLibrary.h"

#include <SDL2/SDL.h>
#include <chrono>

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
    closeCapture();
    closePlayback();
    std::lock_guard lock(devicesMutex_);
    if (started_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlBackend::ensureStarted() {
    // Called under devicesMutex_.
    if (!started_)
        started_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    return started_;
}

int SdlBackend::openPlayback(AudioFormat format, PlaybackSource& source) {
    std::lock_guard lock(devicesMutex_);
    if (!ensureStarted())
        return AudioError::Driver;
    SDL_AudioSpec wanted{};
    wanted.freq = format.rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = PlaybackBufferFrames;
    wanted.callback = &SdlBackend::playbackCallback;
    wanted.userdata = this;
    source_ = &source;
    playbackFrameBytes_ = 2 * format.channels;
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts to whatever the device really uses.
    playbackDevice_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (playbackDevice_ == 0) {
        source_ = nullptr;
        return AudioError::Device;
    }
    SDL_PauseAudioDevice(playbackDevice_, 0);
    return AudioError::Ok;
}

void SdlBackend::closePlayback() {
    std::lock_guard lock(devicesMutex_);
    if (playbackDevice_ != 0)
        SDL_CloseAudioDevice(playbackDevice_);
    playbackDevice_ = 0;
    source_ = nullptr;
}

bool SdlBackend::playbackLost() {
    return playbackDevice_ != 0 && SDL_GetAudioDeviceStatus(playbackDevice_) == SDL_AUDIO_STOPPED;
}

double SdlBackend::playbackIdleSeconds() const {
    return PlaybackIdleSeconds;
}

void SdlBackend::lockPlayback() {
    if (playbackDevice_ != 0)
        SDL_LockAudioDevice(playbackDevice_);
}

void SdlBackend::unlockPlayback() {
    if (playbackDevice_ != 0)
        SDL_UnlockAudioDevice(playbackDevice_);
}

int SdlBackend::captureDevices(QStringList& names) {
    std::lock_guard lock(devicesMutex_);
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
    std::lock_guard lock(devicesMutex_);
    if (!ensureStarted())
        return AudioError::Driver;
    closeCaptureDevice();
    SDL_AudioSpec wanted{};
    wanted.freq = format.rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = CaptureBufferFrames;
    wanted.callback = &SdlBackend::captureCallback;
    wanted.userdata = this;
    sink_ = &sink;
    captureFrameBytes_ = 2 * format.channels;
    SDL_AudioSpec obtained{};
    // No name: the system's default source, followed when it changes.
    const QByteArray deviceName = name.toUtf8();
    captureDevice_ =
        SDL_OpenAudioDevice(name.isEmpty() ? nullptr : deviceName.constData(), 1, &wanted, &obtained, 0);
    if (captureDevice_ == 0) {
        sink_ = nullptr;
        return AudioError::Device;
    }
    SDL_PauseAudioDevice(captureDevice_, 0);
    return AudioError::Ok;
}

void SdlBackend::closeCapture() {
    std::lock_guard lock(devicesMutex_);
    closeCaptureDevice();
}

void SdlBackend::closeCaptureDevice() {
    if (captureDevice_ != 0)
        SDL_CloseAudioDevice(captureDevice_);
    captureDevice_ = 0;
    sink_ = nullptr;
}

bool SdlBackend::captureLost() {
    // A removed device stops (and would go on delivering silence).
    return captureDevice_ != 0 && SDL_GetAudioDeviceStatus(captureDevice_) == SDL_AUDIO_STOPPED;
}

void SdlBackend::playbackCallback(void* self, std::uint8_t* stream, int length) {
    auto* backend = static_cast<SdlBackend*>(self);
    backend->source_->render(reinterpret_cast<std::int16_t*>(stream), length / backend->playbackFrameBytes_);
}

void SdlBackend::captureCallback(void* self, std::uint8_t* stream, int length) {
    auto* backend = static_cast<SdlBackend*>(self);
    backend->sink_->captured(reinterpret_cast<const std::int16_t*>(stream),
                             length / backend->captureFrameBytes_);
}

double SdlBackend::clockSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
