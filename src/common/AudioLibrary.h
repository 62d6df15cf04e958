#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// Handle of a stream, a recording channel or an encoder; 0 = failure / none.
using AudioHandle = std::uint32_t;

// Error codes reported by AudioLibrary::ErrorGetCode().
namespace AudioError {
constexpr int Unknown = -1;
constexpr int Ok = 0;
constexpr int Mem = 1;
constexpr int FileOpen = 2;
constexpr int Driver = 3;
constexpr int Handle = 5;
constexpr int Format = 6;
constexpr int Position = 7;
constexpr int Init = 8;
constexpr int Start = 9;
constexpr int Already = 14;
constexpr int NoChan = 18;
constexpr int IllType = 19;
constexpr int IllParam = 20;
constexpr int Device = 23;
constexpr int NoPlay = 24;
constexpr int Freq = 25;
constexpr int NotFile = 27;
constexpr int Empty = 31;
constexpr int Create = 33;
constexpr int NotAvail = 37;
constexpr int Decode = 38;
constexpr int Timeout = 40;
constexpr int FileForm = 41;
} // namespace AudioError

// The sound library: playback of audio files, capture from the recording device, MP3 encoding of the capture.
// Called from the user-interface thread only; the library plays, decodes and captures on threads of its own.
class AudioLibrary {
public:
    // ChannelIsActive results.
    static constexpr int Stopped = 0;
    static constexpr int Playing = 1;
    static constexpr int Stalled = 2;
    static constexpr int Paused = 3;
    // Init flag: mono output.
    static constexpr std::uint32_t DeviceMono = 2;
    // RecordGetInput / RecordSetInput flags.
    static constexpr std::uint32_t InputOff = 0x10000;
    static constexpr std::uint32_t InputOn = 0x20000;
    // DeviceMissing devices.
    static constexpr int OutputDevice = 0;
    static constexpr int RecordDevice = 1;
    // EncodeStart flag: the command line is UTF-16 text.
    static constexpr std::uint32_t EncodeUnicode = 0x80000000u;

    virtual ~AudioLibrary() = default;

    // Library version; the high 16 bits are major and minor version, 0x0204.
    virtual std::uint32_t GetVersion() = 0;
    // Error code of the last call made on the calling thread (AudioError, 0 = success).
    virtual int ErrorGetCode() = 0;

    // Opens output device `device` (-1 = system default) at `freq` Hz; flags DeviceMono for one channel.
    virtual bool Init(int device, std::uint32_t freq, std::uint32_t flags) = 0;
    // Closes the output device and frees every stream (their handles become invalid).
    virtual bool Free() = 0;
    // Stops all output; false with AudioError::Init when the output device is not open.
    virtual bool Stop() = 0;
    // Devices are opened and closed on the library's own threads, never in a call: Init and RecordStart
    // succeed without a device, streams are made and played meanwhile, and a recording waits for its input
    // (Stalled). True while device `device` (OutputDevice after Init, RecordDevice once a recording wanted
    // it) could not be opened, as before the sound server has started; the library keeps trying.
    virtual bool DeviceMissing(int device) = 0;

    // Opens recording device `device` (-1 = system default).
    virtual bool RecordInit(int device) = 0;
    // Ends every recording channel and encoder (encoders finish their files) and closes the recording device.
    virtual bool RecordFree() = 0;
    // Name of recording input `input` (0, 1, 2 …); none after the last input.
    virtual std::optional<QString> RecordGetInputName(int input) = 0;
    // Flags of input `input` (InputOff set = switched off); -1 on error.
    virtual std::int32_t RecordGetInput(int input) = 0;
    // Switches input `input` on (InputOn) or off (InputOff) and sets its volume 0..1 (-1 keeps it); -1 =
    // master.
    virtual bool RecordSetInput(int input, std::uint32_t flags, float volume) = 0;
    // Starts capturing 16-bit PCM at `freq` Hz with `chans` channels; recording channel handle, 0 on failure.
    virtual AudioHandle RecordStart(std::uint32_t freq, std::uint32_t chans, std::uint32_t flags) = 0;

    // Opens an audio file (MP3, WAV, OGG, FLAC) as a stopped stream at position 0; 0 when it cannot be
    // opened.
    virtual AudioHandle StreamCreateFile(const QString& file) = 0;
    // Plays (or resumes) a channel; a stream that has ended plays again from its start, as does `restart`.
    virtual bool ChannelPlay(AudioHandle handle, bool restart) = 0;
    // Pauses a playing channel, keeping its position.
    virtual bool ChannelPause(AudioHandle handle) = 0;
    // Stops a channel (a stream keeps its position; a recording channel ends for good).
    virtual bool ChannelStop(AudioHandle handle) = 0;
    // Stops a file stream and releases it; its handle is invalid afterwards.
    virtual bool StreamFree(AudioHandle handle) = 0;
    // The exact length of an audio file in seconds, -1 when it cannot be opened. Opens no stream; safe to
    // call from any thread.
    virtual double FileSeconds(const QString& file) = 0;
    // Stopped (also ended streams; invalid handles too, with error Handle), Playing, Stalled (a stream
    // waiting for data, a recording waiting for its device to come back) or Paused.
    virtual int ChannelIsActive(AudioHandle handle) = 0;
    // True when a stream ended early because its file could not be read on (damaged while it played, gone,
    // its volume unmounted); false once it is played or positioned again, and for any other handle.
    virtual bool ChannelReadFailed(AudioHandle handle) = 0;
    // Length in bytes of 16-bit PCM in the stream's own rate and channels; -1 on error.
    virtual std::int64_t ChannelGetLength(AudioHandle handle) = 0;
    // Position in bytes as for the length (ended stream: its length; recording: bytes captured); -1 on error.
    virtual std::int64_t ChannelGetPosition(AudioHandle handle) = 0;
    // Moves a stream to byte `pos` (0..length, rounded down to a whole frame).
    virtual bool ChannelSetPosition(AudioHandle handle, std::int64_t pos) = 0;
    // Bytes of the channel's format to seconds; -1 on error.
    virtual double ChannelBytes2Seconds(AudioHandle handle, std::int64_t bytes) = 0;
    // Seconds to bytes of the channel's format, whole frames; -1 on error.
    virtual std::int64_t ChannelSeconds2Bytes(AudioHandle handle, double seconds) = 0;
    // Peak of the newest captured block in the low 16 bits (0..32768); -1 on error or when not recording.
    virtual std::int32_t ChannelGetLevel(AudioHandle handle) = 0;

    // Starts the encoder program given by `commandLine` (split into arguments at blanks outside double
    // quotes, no shell) and feeds it the channel's audio as a WAVE stream on its standard input; 0 on
    // failure.
    virtual AudioHandle EncodeStart(AudioHandle channel, const QString& commandLine, std::uint32_t flags) = 0;
    // Bytes of a recording channel's audio lost because its encoders could not take them in time (counted up
    // to its stop); -1 for an unknown channel.
    virtual std::int64_t ChannelGetDropped(AudioHandle channel) = 0;
    // Bytes of a recording channel's time during which its input was missing (the device gone, hanging or not
    // there yet), counted up to its stop; -1 for an unknown channel.
    virtual std::int64_t ChannelGetMissing(AudioHandle channel) = 0;
    // Bytes of the channel's audio that the encoder's program has not taken yet; -1 for an unknown encoder.
    virtual std::int64_t EncodeGetQueued(AudioHandle encoder) = 0;
    // Playing while the encoder's program takes its audio; Stopped once it has exited or stopped taking it,
    // and for an unknown handle (error Handle).
    virtual int EncodeIsActive(AudioHandle encoder) = 0;
    // Told once, on an engine thread, when a stopped encoder's program has exited: 0 when it took all its
    // audio and exited with status 0, else the error code (Timeout: the audio could not all be fed).
    using EncoderExited = std::function<void(int error)>;
    // Ends the encoder's input once all audio up to now (or up to the channel's stop) is written, and
    // returns at once: false (Handle) for an unknown encoder, which gets no `exited` call.
    virtual bool EncodeStop(AudioHandle encoder, EncoderExited exited) = 0;
    // Replaces an encoder whose program has exited or stalled (EncodeIsActive Stopped while its channel
    // runs): starts `commandLine` as a new encoder on the same channel, fed from the oldest sample the old
    // program's file may lack (a few seconds overlap, no gap), and ends the old program at once (killed when
    // it does not exit), which tells `exited` as a stop would. The new encoder's handle; 0 on failure, with
    // the old encoder left as it was.
    virtual AudioHandle EncodeRestart(AudioHandle encoder, const QString& commandLine,
                                      EncoderExited exited) = 0;
};
