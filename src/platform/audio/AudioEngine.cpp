#include "AudioEngine.h"

#include "CommandLine.h"
#include "Decoder.h"
#include "PlaybackStream.h"
#include "SdlBackend.h"

#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
thread_local int lastError = AudioError::Ok;

// Records `error` for ErrorGetCode and passes `result` through.
template <typename T> T result(int error, T value) {
    lastError = error;
    return value;
}
bool succeed() {
    return result(AudioError::Ok, true);
}
bool fail(int error) {
    return result(error, false);
}

constexpr std::uint32_t Version = 0x02041100;

// The encoder's command line as program and arguments.
QStringList encoderArguments(const QString& commandLine) {
    QStringList arguments = splitCommandLine(commandLine);
    // The WAVE stream's length is unknown; told so, lame writes no length frame of 4294967295 ms.
    if (!arguments.isEmpty() && QFileInfo(arguments.first()).fileName() == QLatin1String("lame"))
        arguments.insert(1, QStringLiteral("--ignorelength"));
    return arguments;
}
// How long the end of the program waits for the devices to close.
constexpr auto CloseBound = std::chrono::milliseconds(1500);
} // namespace

AudioEngine::AudioEngine(std::unique_ptr<AudioBackend> backend)
    : backend_(std::move(backend)), mixer_(*backend_), recorder_(*backend_) {
    // Stream converters read the resampling hint whatever the backend.
    SdlBackend::applyHints();
}

AudioEngine::~AudioEngine() {
    recorder_.free();
    mixer_.close();
    // A close stuck in a sound server that does not answer is left behind with the backend it uses, so
    // that the program can end.
    recorder_.quitDevice();
    mixer_.quitDevice();
    const auto deadline = std::chrono::steady_clock::now() + CloseBound;
    const bool captureClosed = recorder_.shutdownDevice(deadline);
    const bool playbackClosed = mixer_.shutdownDevice(deadline);
    if (!captureClosed || !playbackClosed)
        (void)backend_.release();
}

std::uint32_t AudioEngine::GetVersion() {
    return result(AudioError::Ok, Version);
}

int AudioEngine::ErrorGetCode() {
    return lastError;
}

bool AudioEngine::Init(int device, std::uint32_t freq, std::uint32_t flags) {
    if (device != -1 && device != 1)
        return fail(AudioError::Device);
    if (mixer_.isOpen())
        return fail(AudioError::Already);
    if (freq == 0)
        freq = 44100;
    if (freq < 8000 || freq > 192000)
        return fail(AudioError::Freq);
    // The device is opened on its own thread (again and again while it is missing: DeviceMissing).
    mixer_.open(AudioFormat{static_cast<int>(freq), (flags & DeviceMono) ? 1 : 2});
    return succeed();
}

bool AudioEngine::Free() {
    if (!mixer_.isOpen())
        return fail(AudioError::Init);
    mixer_.close();
    return succeed();
}

bool AudioEngine::Stop() {
    if (!mixer_.isOpen())
        return fail(AudioError::Init);
    mixer_.pauseAll();
    return succeed();
}

bool AudioEngine::RecordInit(int device) {
    if (device != -1 && device != 0)
        return fail(AudioError::Device);
    const int error = recorder_.init();
    return error == AudioError::Ok ? succeed() : fail(error);
}

bool AudioEngine::RecordFree() {
    if (!recorder_.initialised())
        return fail(AudioError::Init);
    recorder_.free();
    return succeed();
}

std::optional<QString> AudioEngine::RecordGetInputName(int input) {
    if (!recorder_.initialised())
        return result<std::optional<QString>>(AudioError::Init, std::nullopt);
    std::optional<QString> name = recorder_.inputName(input);
    return result(name ? AudioError::Ok : AudioError::IllParam, name);
}

std::int32_t AudioEngine::RecordGetInput(int input) {
    if (!recorder_.initialised())
        return result<std::int32_t>(AudioError::Init, -1);
    const std::int32_t flags = recorder_.inputFlags(input);
    return result(flags < 0 ? AudioError::IllParam : AudioError::Ok, flags);
}

bool AudioEngine::RecordSetInput(int input, std::uint32_t flags, float volume) {
    if (!recorder_.initialised())
        return fail(AudioError::Init);
    return recorder_.setInput(input, flags, volume) ? succeed() : fail(AudioError::IllParam);
}

AudioHandle AudioEngine::RecordStart(std::uint32_t freq, std::uint32_t chans, std::uint32_t /*flags*/) {
    const AudioHandle handle = newHandle();
    const int error =
        recorder_.start(handle, AudioFormat{static_cast<int>(std::min<std::uint32_t>(freq, 1000000)),
                                            static_cast<int>(std::min<std::uint32_t>(chans, 64))});
    return result(error, error == AudioError::Ok ? handle : AudioHandle{0});
}

AudioHandle AudioEngine::StreamCreateFile(const QString& file) {
    if (!mixer_.isOpen())
        return result(AudioError::Init, AudioHandle{0});
    const AudioHandle handle = newHandle();
    int error = AudioError::Ok;
    return mixer_.create(handle, file, error) ? result(AudioError::Ok, handle)
                                              : result(error, AudioHandle{0});
}

bool AudioEngine::StreamFree(AudioHandle handle) {
    return mixer_.free(handle) ? succeed() : fail(AudioError::Handle);
}

double AudioEngine::FileSeconds(const QString& file) {
    int error = AudioError::Ok;
    const std::unique_ptr<Decoder> decoder = openDecoder(file, error);
    if (!decoder || decoder->rate() <= 0)
        return -1;
    return static_cast<double>(decoder->lengthFrames()) / decoder->rate();
}

bool AudioEngine::ChannelPlay(AudioHandle handle, bool restart) {
    if (PlaybackStream* stream = mixer_.find(handle)) {
        mixer_.play(*stream, restart);
        return succeed();
    }
    if (recorder_.hasChannel(handle))
        return recorder_.running(handle) ? succeed() : fail(AudioError::NotAvail);
    return fail(AudioError::Handle);
}

bool AudioEngine::ChannelPause(AudioHandle handle) {
    if (PlaybackStream* stream = mixer_.find(handle)) {
        if (stream->state() == Paused)
            return fail(AudioError::Already);
        if (stream->state() != Playing)
            return fail(AudioError::NoPlay);
        mixer_.pause(*stream);
        return succeed();
    }
    return fail(recorder_.hasChannel(handle) ? AudioError::NotAvail : AudioError::Handle);
}

bool AudioEngine::ChannelStop(AudioHandle handle) {
    if (PlaybackStream* stream = mixer_.find(handle)) {
        mixer_.stop(*stream);
        return succeed();
    }
    if (recorder_.hasChannel(handle)) {
        recorder_.stop(handle);
        return succeed();
    }
    return fail(AudioError::Handle);
}

int AudioEngine::ChannelIsActive(AudioHandle handle) {
    if (const PlaybackStream* stream = mixer_.find(handle)) {
        const int state = stream->state();
        const bool stalled = stream->stalled() || mixer_.deviceDown();
        return result(AudioError::Ok, state == Playing && stalled ? Stalled : state);
    }
    if (recorder_.hasChannel(handle)) {
        if (!recorder_.running(handle))
            return result(AudioError::Ok, Stopped);
        return result(AudioError::Ok, recorder_.deviceDown() ? Stalled : Playing);
    }
    return result(AudioError::Handle, Stopped);
}

bool AudioEngine::ChannelReadFailed(AudioHandle handle) {
    const PlaybackStream* stream = mixer_.find(handle);
    return result(stream ? AudioError::Ok : AudioError::Handle, stream != nullptr && stream->readFailed());
}

std::int64_t AudioEngine::ChannelGetLength(AudioHandle handle) {
    if (const PlaybackStream* stream = mixer_.find(handle))
        return result(AudioError::Ok, stream->lengthFrames() * stream->frameBytes());
    return result<std::int64_t>(recorder_.hasChannel(handle) ? AudioError::NotAvail : AudioError::Handle, -1);
}

std::int64_t AudioEngine::ChannelGetPosition(AudioHandle handle) {
    if (const PlaybackStream* stream = mixer_.find(handle))
        return result(AudioError::Ok, stream->positionFrames() * stream->frameBytes());
    if (recorder_.hasChannel(handle))
        return result(AudioError::Ok, recorder_.positionBytes(handle));
    return result<std::int64_t>(AudioError::Handle, -1);
}

bool AudioEngine::ChannelSetPosition(AudioHandle handle, std::int64_t pos) {
    PlaybackStream* stream = mixer_.find(handle);
    if (!stream)
        return fail(recorder_.hasChannel(handle) ? AudioError::NotAvail : AudioError::Handle);
    const std::int64_t frame = pos / stream->frameBytes();
    if (pos < 0 || frame > stream->lengthFrames())
        return fail(AudioError::Position);
    mixer_.seek(*stream, frame);
    return succeed();
}

double AudioEngine::ChannelBytes2Seconds(AudioHandle handle, std::int64_t bytes) {
    int bytesPerSecond = 0;
    if (const PlaybackStream* stream = mixer_.find(handle))
        bytesPerSecond = stream->rate() * stream->frameBytes();
    else if (recorder_.hasChannel(handle))
        bytesPerSecond = recorder_.bytesPerSecond(handle);
    if (bytesPerSecond <= 0)
        return result(AudioError::Handle, -1.0);
    return result(AudioError::Ok, static_cast<double>(bytes) / bytesPerSecond);
}

std::int64_t AudioEngine::ChannelSeconds2Bytes(AudioHandle handle, double seconds) {
    int rate = 0;
    int frameBytes = 0;
    if (const PlaybackStream* stream = mixer_.find(handle)) {
        rate = stream->rate();
        frameBytes = stream->frameBytes();
    } else if (recorder_.hasChannel(handle)) {
        frameBytes = 2;
        rate = recorder_.bytesPerSecond(handle) / 2;
    }
    if (rate <= 0 || !std::isfinite(seconds))
        return result<std::int64_t>(rate <= 0 ? AudioError::Handle : AudioError::IllParam, -1);
    // Whole frames; the small bias keeps values such as 30.1 s from losing a frame to rounding.
    const auto frames = static_cast<std::int64_t>(std::floor(seconds * rate + 1e-6));
    return result(AudioError::Ok, frames * frameBytes);
}

std::int32_t AudioEngine::ChannelGetLevel(AudioHandle handle) {
    if (recorder_.hasChannel(handle)) {
        const std::int32_t level = recorder_.level(handle);
        return result(level < 0 ? AudioError::NoPlay : AudioError::Ok, level);
    }
    return result<std::int32_t>(mixer_.find(handle) ? AudioError::NotAvail : AudioError::Handle, -1);
}

AudioHandle AudioEngine::EncodeStart(AudioHandle channel, const QString& commandLine,
                                     std::uint32_t /*flags*/) {
    if (!recorder_.hasChannel(channel))
        return result(AudioError::Handle, AudioHandle{0});
    const QStringList arguments = encoderArguments(commandLine);
    if (arguments.isEmpty())
        return result(AudioError::IllParam, AudioHandle{0});
    const AudioHandle handle = newHandle();
    const int error = recorder_.encodeStart(handle, channel, arguments);
    return result(error, error == AudioError::Ok ? handle : AudioHandle{0});
}

std::int64_t AudioEngine::ChannelGetDropped(AudioHandle channel) {
    if (!recorder_.hasChannel(channel))
        return result<std::int64_t>(AudioError::Handle, -1);
    return result(AudioError::Ok, static_cast<std::int64_t>(recorder_.droppedSamples(channel) * 2));
}

std::int64_t AudioEngine::ChannelGetMissing(AudioHandle channel) {
    if (!recorder_.hasChannel(channel))
        return result<std::int64_t>(AudioError::Handle, -1);
    const double bytes = recorder_.missingSeconds(channel) * recorder_.bytesPerSecond(channel);
    return result(AudioError::Ok, static_cast<std::int64_t>(std::max(0.0, bytes)));
}

bool AudioEngine::DeviceMissing(int device) {
    return result(AudioError::Ok,
                  device == RecordDevice ? recorder_.deviceMissing() : mixer_.deviceMissing());
}

std::int64_t AudioEngine::EncodeGetQueued(AudioHandle encoder) {
    if (!recorder_.hasEncoder(encoder))
        return result<std::int64_t>(AudioError::Handle, -1);
    return result(AudioError::Ok, static_cast<std::int64_t>(recorder_.encoderBacklog(encoder) * 2));
}

int AudioEngine::EncodeIsActive(AudioHandle encoder) {
    if (!recorder_.hasEncoder(encoder))
        return result(AudioError::Handle, Stopped);
    return result(AudioError::Ok, recorder_.encoderTaking(encoder) ? Playing : Stopped);
}

AudioHandle AudioEngine::EncodeRestart(AudioHandle encoder, const QString& commandLine,
                                       EncoderExited exited) {
    if (!recorder_.hasEncoder(encoder))
        return result(AudioError::Handle, AudioHandle{0});
    const QStringList arguments = encoderArguments(commandLine);
    if (arguments.isEmpty())
        return result(AudioError::IllParam, AudioHandle{0});
    const AudioHandle handle = newHandle();
    const int error = recorder_.encodeRestart(encoder, handle, arguments, std::move(exited));
    return result(error, error == AudioError::Ok ? handle : AudioHandle{0});
}

bool AudioEngine::EncodeStop(AudioHandle encoder, EncoderExited exited) {
    const int error = recorder_.encodeStop(encoder, std::move(exited));
    return error == AudioError::Ok ? succeed() : fail(error);
}
