#pragma once

#include "AudioBackend.h"
#include "CaptureInputs.h"
#include "DeviceKeeper.h"
#include "EncoderProcess.h"
#include "SampleRing.h"
#include "common/AudioLibrary.h"

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The capture side: the capture device, recording channels and the encoders fed from them.
// The capture callback only applies the input gain, notes the block's peak and appends to a lock-free ring;
// a router thread copies each encoder's range out of the ring into the encoder's queue. The device keeps
// running after a channel stops, so a channel started soon after begins with the sample after the last one
// of the stopped channel: a split loses nothing.
class Recorder : public CaptureSink {
public:
    // How long after a stop a new channel still continues the stopped one (and the ring keeps the samples):
    // long enough for a split, short enough that a later start does not take in much from before it.
    static constexpr double ContinueSeconds = 3.0;
    // What an encoder's file may lack of what was written into its input: the pipe (64 KiB, 1.5 s at 22050
    // Hz mono) and the program's own input and output buffers. The ring keeps it, and a new encoder in
    // place of a failed one begins this far back: a short overlap rather than a gap.
    static constexpr double RefeedSeconds = 5.0;
    // An encoder that takes nothing for this long while audio waits for it counts as stalled.
    static constexpr int StallSeconds = 5;

    explicit Recorder(AudioBackend& backend);
    ~Recorder() override;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Lists the inputs; an AudioError code.
    int init();
    // Stops every channel, finishes every encoder and closes the device (on the device's thread).
    void free();
    // Ends the device's thread (quitDevice() asks it to, without waiting); false when its close did not
    // return by `deadline` (see DeviceKeeper).
    void quitDevice() { device_.quit(); }
    bool shutdownDevice(std::chrono::steady_clock::time_point deadline) { return device_.shutdown(deadline); }
    // The open device could not be opened (it is tried again and again).
    bool deviceMissing() const { return device_.missing(); }
    bool initialised() const { return initialised_; }

    std::optional<QString> inputName(int input) const { return inputs_.name(input); }
    std::int32_t inputFlags(int input) const { return inputs_.flags(input); }
    bool setInput(int input, std::uint32_t flags, float volume);

    // Starts channel `handle`; an AudioError code.
    int start(AudioHandle handle, AudioFormat format);
    bool hasChannel(AudioHandle channel) const { return channels_.count(channel) != 0; }
    bool running(AudioHandle channel) const;
    // The capture device has gone and is not back yet (a running channel waits for it).
    bool deviceDown() const;
    void stop(AudioHandle channel);
    std::int64_t positionBytes(AudioHandle channel) const;
    int bytesPerSecond(AudioHandle channel) const;
    // Peak of the newest block, -1 when the channel is not running.
    std::int32_t level(AudioHandle channel) const;

    // Starts encoder `handle` for `channel`; an AudioError code.
    int encodeStart(AudioHandle handle, AudioHandle channel, const QStringList& arguments);
    bool hasEncoder(AudioHandle encoder) const;
    // The encoder's program runs and takes its audio (it has not exited, and has not left audio waiting
    // for StallSeconds).
    bool encoderTaking(AudioHandle encoder) const;
    // Feeds everything up to now (or to the channel's stop) and finishes the encoder on a thread of its own,
    // which tells `exited` the result; an AudioError code at once (Handle: unknown encoder, no call).
    int encodeStop(AudioHandle encoder, AudioLibrary::EncoderExited exited);
    // Starts encoder `handle` in place of `encoder` on the same channel, fed from the oldest sample the old
    // program's file may lack (RefeedSeconds before the end of what went into its pipe); the old program is
    // ended at once (killed when it does not exit) on a thread of its own, which tells `exited` (Timeout).
    // An AudioError code; on failure the old encoder is left as it was.
    int encodeRestart(AudioHandle encoder, AudioHandle handle, const QStringList& arguments,
                      AudioLibrary::EncoderExited exited);

    // Seconds during which `channel`'s input was missing (up to its stop, or up to now).
    double missingSeconds(AudioHandle channel) const;
    // Samples lost because the ring was full, in all and during `channel` (up to its stop).
    std::uint64_t droppedSamples() const { return ring_.dropped(); }
    const SampleRing& ring() const { return ring_; }
    std::uint64_t droppedSamples(AudioHandle channel) const;
    // Samples of `encoder`'s channel that its program has not taken yet.
    std::uint64_t encoderBacklog(AudioHandle encoder) const;

    void captured(const std::int16_t* in, int frames) override;
    void waitForRoom(int frames) override;

private:
    static constexpr std::uint64_t NoEnd = ~std::uint64_t{0};

    struct Channel {
        AudioFormat format;
        std::uint64_t start = 0;
        std::atomic<std::uint64_t> end{NoEnd};
        // The ring's drop counter at the start, and the samples lost up to the stop (API thread only).
        std::uint64_t droppedBefore = 0;
        std::uint64_t dropped = 0;
        // The device's missing time at the start, and during the channel up to its stop (API thread only).
        double missingBefore = 0;
        double missing = -1;
    };
    struct Feed {
        AudioHandle handle = 0;
        AudioHandle channel = 0;
        std::unique_ptr<EncoderProcess> process;
        std::atomic<std::uint64_t> next{0};
        std::atomic<std::uint64_t> end{NoEnd};
        std::atomic<bool> stopping{false};
        bool replaced = false;    // ended for a new encoder (under feedsMutex_)
        std::uint64_t start = 0;  // ring index of the program's first sample
        std::uint64_t refeed = 0; // RefeedSeconds in samples
        int channels = 1;
    };

    // Waits until the feed has everything up to its end, finishes its program and tells `exited`.
    void finishFeed(const std::shared_ptr<Feed>& feed, const AudioLibrary::EncoderExited& exited);
    // Runs finishFeed on a thread of its own.
    void startFinisher(std::shared_ptr<Feed> feed, AudioLibrary::EncoderExited exited);
    // Joins the finishing threads that are done (all of them with `all`, waiting for the others).
    void joinFinishers(bool all);
    // The oldest sample of `feed`'s channel that its program's file may lack (under feedsMutex_).
    std::uint64_t refeedFrom(const Feed& feed) const;
    std::shared_ptr<Feed> makeFeed(AudioHandle handle, AudioHandle channel, const Channel& entry,
                                   std::unique_ptr<EncoderProcess> process) const;

    DeviceKeeper::Device captureDevice();
    const Channel* find(AudioHandle channel) const;
    std::shared_ptr<Feed> findFeed(AudioHandle encoder) const;
    void route();
    void wakeRouter();

    AudioBackend& backend_;
    CaptureInputs inputs_;
    bool initialised_ = false;
    SampleRing ring_;
    std::atomic<float> gain_{1.0f};
    std::atomic<int> level_{0};
    std::atomic<int> deviceChannels_{1};
    // Samples per second of the open device (what the ring keeps for a continuing channel is reckoned in).
    std::atomic<int> keepRate_{22050};
    // Opens and closes the capture device on its own thread (after the members its callback uses).
    DeviceKeeper device_;

    // API thread only: the format last asked of the device, and where a channel started soon after the last
    // stop continues (while the device stays open in the same session).
    AudioFormat deviceFormat_;
    std::uint64_t continueFrom_ = NoEnd;
    std::uint64_t continueSession_ = 0;

    // API thread only.
    std::map<AudioHandle, std::unique_ptr<Channel>> channels_;
    AudioHandle running_ = 0;

    // Shared with the router.
    mutable std::mutex feedsMutex_;
    std::condition_variable feedsChanged_;
    std::vector<std::shared_ptr<Feed>> feeds_;
    bool wake_ = false;
    bool quit_ = false;
    std::thread router_;

    // Threads finishing stopped encoders (API thread only), each with its done flag.
    struct Finisher {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Finisher> finishers_;
};
