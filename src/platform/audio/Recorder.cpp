#include "Recorder.h"

#include "ThreadName.h"

#include <algorithm>
#include <chrono>

namespace {
// The ring holds what the encoders have not taken yet: about 6 minutes at the recording format (22050 Hz
// mono), so that a stalled encoder loses nothing for 5 minutes; beyond that new samples are dropped and
// counted.
constexpr std::uint64_t RingSamples = std::uint64_t{1} << 23;
// What an encoder's queue holds at most beyond what its program has taken: the rest stays in the ring.
constexpr std::uint64_t QueueSamples = 22050;
// A stopped encoder whose program takes nothing for this long is given up.
constexpr auto StopTimeout = std::chrono::seconds(30);
constexpr auto WaitForRoomTimeout = std::chrono::seconds(10);
} // namespace

Recorder::Recorder(AudioBackend& backend)
    : backend_(backend), ring_(RingSamples), device_("kandolor-input", backend, captureDevice()),
      router_([this] { route(); }) {}

DeviceKeeper::Device Recorder::captureDevice() {
    AudioBackend& backend = backend_;
    // Only the close may still run when the device's thread was left to itself: it uses the backend alone.
    return {[this, &backend](const QString& name, AudioFormat format) {
                deviceChannels_.store(format.channels);
                keepRate_.store(format.rate * format.channels);
                return backend.openCapture(name, format, *this);
            },
            [&backend] { backend.closeCapture(); }, [&backend] { return backend.captureLost(); }};
}

Recorder::~Recorder() {
    free();
    {
        std::lock_guard lock(feedsMutex_);
        quit_ = true;
    }
    feedsChanged_.notify_all();
    router_.join();
}

int Recorder::init() {
    if (initialised_)
        return AudioError::Already;
    // Without any device now (no sound server yet) the default input is there: its device is opened once it
    // appears.
    QStringList names;
    if (backend_.captureDevices(names) != AudioError::Ok)
        names.clear();
    inputs_.reset(names);
    gain_.store(inputs_.gain());
    initialised_ = true;
    return AudioError::Ok;
}

void Recorder::free() {
    std::vector<AudioHandle> encoders;
    {
        std::lock_guard lock(feedsMutex_);
        for (const auto& feed : feeds_)
            encoders.push_back(feed->handle);
    }
    for (const auto& [handle, channel] : channels_)
        stop(handle);
    for (AudioHandle encoder : encoders)
        encodeStop(encoder, {});
    joinFinishers(true);
    device_.close();
    continueFrom_ = NoEnd;
    channels_.clear();
    inputs_.clear();
    initialised_ = false;
}

bool Recorder::setInput(int input, std::uint32_t flags, float volume) {
    if (!inputs_.set(input, flags, volume))
        return false;
    gain_.store(inputs_.gain());
    // Another input chosen while the device is wanted: its thread switches devices, the ring (and any
    // channel) goes on.
    if (device_.wanted() && device_.open(inputs_.device(), deviceFormat_))
        continueFrom_ = NoEnd;
    return true;
}

int Recorder::start(AudioHandle handle, AudioFormat format) {
    if (!initialised_)
        return AudioError::Init;
    if (format.channels < 1 || format.channels > 2)
        return AudioError::Format;
    if (format.rate < 1000 || format.rate > 192000)
        return AudioError::Freq;
    if (running_ != 0)
        return AudioError::Already;
    // The device is opened on its own thread; until it delivers, the channel waits for it (deviceDown()).
    deviceFormat_ = format;
    const bool reopened = device_.open(inputs_.device(), format);
    const bool continues =
        !reopened && continueFrom_ != NoEnd && device_.isOpen() && device_.sessions() == continueSession_;
    auto channel = std::make_unique<Channel>();
    channel->format = format;
    const std::uint64_t now = ring_.written();
    const auto keep = static_cast<std::uint64_t>(ContinueSeconds * format.rate * format.channels);
    channel->start = continues && now - continueFrom_ <= keep ? continueFrom_ : now;
    continueFrom_ = NoEnd;
    channel->missingBefore = device_.missingSeconds();
    channel->droppedBefore = ring_.dropped();
    channels_[handle] = std::move(channel);
    running_ = handle;
    level_.store(0);
    return AudioError::Ok;
}

const Recorder::Channel* Recorder::find(AudioHandle channel) const {
    const auto it = channels_.find(channel);
    return it == channels_.end() ? nullptr : it->second.get();
}

bool Recorder::running(AudioHandle channel) const {
    return channel != 0 && channel == running_;
}

bool Recorder::deviceDown() const {
    return device_.down();
}

void Recorder::stop(AudioHandle channel) {
    const auto it = channels_.find(channel);
    if (it == channels_.end() || it->second->end.load() != NoEnd)
        return;
    // Under the feeds' lock the router is not between reading a feed's end and moving past it, so the end
    // taken here is exactly where the old file stops and a continuing channel begins.
    std::lock_guard lock(feedsMutex_);
    const std::uint64_t end = ring_.written();
    it->second->end.store(end);
    it->second->dropped = ring_.dropped() - it->second->droppedBefore;
    it->second->missing = device_.missingSeconds() - it->second->missingBefore;
    if (running_ == channel)
        running_ = 0;
    if (device_.isOpen()) {
        continueFrom_ = end;
        continueSession_ = device_.sessions();
    }
    for (const auto& feed : feeds_)
        if (feed->channel == channel && feed->end.load() > end)
            feed->end.store(end);
}

std::uint64_t Recorder::droppedSamples(AudioHandle channel) const {
    const Channel* entry = find(channel);
    if (!entry)
        return 0;
    return entry->end.load() != NoEnd ? entry->dropped : ring_.dropped() - entry->droppedBefore;
}

double Recorder::missingSeconds(AudioHandle channel) const {
    const Channel* entry = find(channel);
    if (!entry)
        return 0;
    return entry->missing >= 0 ? entry->missing : device_.missingSeconds() - entry->missingBefore;
}

std::int64_t Recorder::positionBytes(AudioHandle channel) const {
    const Channel* entry = find(channel);
    if (!entry)
        return -1;
    const std::uint64_t end = std::min(entry->end.load(), ring_.written());
    return static_cast<std::int64_t>(end - std::min(end, entry->start)) * 2;
}

int Recorder::bytesPerSecond(AudioHandle channel) const {
    const Channel* entry = find(channel);
    return entry ? entry->format.rate * entry->format.channels * 2 : 0;
}

std::int32_t Recorder::level(AudioHandle channel) const {
    return running(channel) ? level_.load() : -1;
}

std::shared_ptr<Recorder::Feed> Recorder::makeFeed(AudioHandle handle, AudioHandle channel,
                                                   const Channel& entry,
                                                   std::unique_ptr<EncoderProcess> process) const {
    auto feed = std::make_shared<Feed>();
    feed->handle = handle;
    feed->channel = channel;
    feed->process = std::move(process);
    feed->channels = entry.format.channels;
    feed->refeed = static_cast<std::uint64_t>(RefeedSeconds * entry.format.rate) *
                   static_cast<std::uint64_t>(entry.format.channels);
    feed->end.store(entry.end.load());
    return feed;
}

int Recorder::encodeStart(AudioHandle handle, AudioHandle channel, const QStringList& arguments) {
    const Channel* entry = find(channel);
    if (!entry)
        return AudioError::Handle;
    if (entry->end.load() != NoEnd)
        return AudioError::NoPlay;
    int error = AudioError::Ok;
    std::unique_ptr<EncoderProcess> process = EncoderProcess::start(arguments, entry->format, error);
    if (!process)
        return error;
    std::shared_ptr<Feed> feed = makeFeed(handle, channel, *entry, std::move(process));
    {
        std::lock_guard lock(feedsMutex_);
        // The encoder gets the channel from its first sample (the ring still holds it).
        feed->start = std::max(entry->start, ring_.released());
        feed->next.store(feed->start);
        feeds_.push_back(feed);
    }
    wakeRouter();
    return AudioError::Ok;
}

int Recorder::encodeRestart(AudioHandle encoder, AudioHandle handle, const QStringList& arguments,
                            AudioLibrary::EncoderExited exited) {
    const std::shared_ptr<Feed> old = findFeed(encoder);
    if (!old || old->stopping.load())
        return AudioError::Handle;
    const Channel* entry = find(old->channel);
    if (!entry)
        return AudioError::Handle;
    int error = AudioError::Ok;
    std::unique_ptr<EncoderProcess> process = EncoderProcess::start(arguments, entry->format, error);
    if (!process)
        return error;
    std::shared_ptr<Feed> feed = makeFeed(handle, old->channel, *entry, std::move(process));
    {
        // Under the lock the router has kept the ring from the old program's refeed point on.
        std::lock_guard lock(feedsMutex_);
        old->stopping.store(true);
        feed->start = std::max(refeedFrom(*old), ring_.released());
        feed->next.store(feed->start);
        feed->end.store(old->end.load());
        old->replaced = true;
        old->end.store(old->next.load());
        feeds_.push_back(feed);
    }
    old->process->abort();
    startFinisher(old, std::move(exited));
    wakeRouter();
    return AudioError::Ok;
}

std::uint64_t Recorder::refeedFrom(const Feed& feed) const {
    std::uint64_t from = feed.start + feed.process->piped();
    from = from > feed.start + feed.refeed ? from - feed.refeed : feed.start;
    // Whole frames only.
    return from - (from - feed.start) % static_cast<std::uint64_t>(feed.channels);
}

std::shared_ptr<Recorder::Feed> Recorder::findFeed(AudioHandle encoder) const {
    std::lock_guard lock(feedsMutex_);
    for (const auto& feed : feeds_)
        if (feed->handle == encoder)
            return feed;
    return nullptr;
}

bool Recorder::hasEncoder(AudioHandle encoder) const {
    return findFeed(encoder) != nullptr;
}

bool Recorder::encoderTaking(AudioHandle encoder) const {
    const std::shared_ptr<Feed> feed = findFeed(encoder);
    return feed && feed->process->taking() && !feed->process->stalled(std::chrono::seconds(StallSeconds));
}

int Recorder::encodeStop(AudioHandle encoder, AudioLibrary::EncoderExited exited) {
    std::shared_ptr<Feed> feed = findFeed(encoder);
    if (!feed || feed->stopping.exchange(true))
        return AudioError::Handle;
    const std::uint64_t now = ring_.written();
    if (feed->end.load() > now)
        feed->end.store(now);
    wakeRouter();
    startFinisher(std::move(feed), std::move(exited));
    return AudioError::Ok;
}

void Recorder::startFinisher(std::shared_ptr<Feed> feed, AudioLibrary::EncoderExited exited) {
    joinFinishers(false);
    auto done = std::make_shared<std::atomic<bool>>(false);
    finishers_.push_back({std::thread([this, feed = std::move(feed), exited = std::move(exited), done] {
                              finishFeed(feed, exited);
                              done->store(true);
                          }),
                          done});
}

void Recorder::finishFeed(const std::shared_ptr<Feed>& feed, const AudioLibrary::EncoderExited& exited) {
    // However long the program takes, it gets all its audio as long as it takes some now and then.
    bool fed = false;
    {
        std::unique_lock lock(feedsMutex_);
        std::uint64_t taken = feed->process->taken();
        auto lastProgress = std::chrono::steady_clock::now();
        for (;;) {
            fed = feed->next.load() >= feed->end.load();
            if (fed || !feed->process->taking())
                break;
            feedsChanged_.wait_for(lock, std::chrono::milliseconds(100));
            if (feed->process->taken() != taken) {
                taken = feed->process->taken();
                lastProgress = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - lastProgress > StopTimeout) {
                break;
            }
        }
        feeds_.erase(std::remove(feeds_.begin(), feeds_.end(), feed), feeds_.end());
    }
    const bool ok = feed->process->finish();
    if (exited)
        exited(!fed || feed->replaced ? AudioError::Timeout : ok ? AudioError::Ok : AudioError::Unknown);
}

std::uint64_t Recorder::encoderBacklog(AudioHandle encoder) const {
    const std::shared_ptr<Feed> feed = findFeed(encoder);
    if (!feed)
        return 0;
    const std::uint64_t upTo = std::min(ring_.written(), feed->end.load());
    const std::uint64_t taken = feed->start + feed->process->taken();
    return upTo > taken ? upTo - taken : 0;
}

void Recorder::joinFinishers(bool all) {
    for (auto it = finishers_.begin(); it != finishers_.end();) {
        if (all || it->done->load()) {
            it->thread.join();
            it = finishers_.erase(it);
        } else {
            ++it;
        }
    }
}

void Recorder::captured(const std::int16_t* in, int frames) {
    const int channels = deviceChannels_.load(std::memory_order_relaxed);
    const int peak =
        ring_.write(in, static_cast<std::uint64_t>(frames) * static_cast<std::uint64_t>(channels), channels,
                    gain_.load(std::memory_order_relaxed));
    level_.store(peak, std::memory_order_relaxed);
    device_.active();
}

void Recorder::waitForRoom(int frames) {
    const auto needed =
        static_cast<std::uint64_t>(frames) * static_cast<std::uint64_t>(deviceChannels_.load());
    const auto deadline = std::chrono::steady_clock::now() + WaitForRoomTimeout;
    while (ring_.room() < needed && std::chrono::steady_clock::now() < deadline) {
        wakeRouter();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

void Recorder::wakeRouter() {
    {
        std::lock_guard lock(feedsMutex_);
        wake_ = true;
    }
    feedsChanged_.notify_all();
}

void Recorder::route() {
    nameThisThread("kandolor-route");
    std::unique_lock lock(feedsMutex_);
    bool behind = false; // an encoder was left with more to take
    while (!quit_) {
        // Encoders are fed every 100 ms (a block of what the device delivered meanwhile), every 10 ms while
        // one is behind; without any, the ring only needs releasing now and then.
        const auto interval = std::chrono::milliseconds(feeds_.empty() ? 500 : behind ? 10 : 100);
        feedsChanged_.wait_for(lock, interval, [this] { return wake_ || quit_; });
        wake_ = false;

        // Keep what a channel continuing the last one would begin with.
        const std::uint64_t written = ring_.written();
        const auto keep = static_cast<std::uint64_t>(ContinueSeconds * keepRate_.load());
        std::uint64_t release = written > keep ? written - keep : 0;
        // Under the lock: a stop cannot move a feed's end while the feed is moved up to it.
        behind = false;
        for (const auto& feed : feeds_) {
            const std::uint64_t next = feed->next.load();
            const std::uint64_t to = std::min(written, feed->end.load());
            // What the program has not taken stays in the ring, where a full ring counts what is lost.
            if (to > next && feed->process->backlog() < QueueSamples) {
                const std::uint64_t upTo = std::min(to, next + QueueSamples);
                std::vector<std::int16_t> block(upTo - next);
                ring_.copy(next, upTo, block.data());
                feed->process->write(std::move(block));
                feed->next.store(upTo);
            }
            behind = behind || feed->next.load() < to;
            // A running encoder's program may fail: what its file may lack stays for a new one.
            if (!feed->stopping.load())
                release = std::min(release, refeedFrom(*feed));
            else if (feed->next.load() < feed->end.load())
                release = std::min(release, feed->next.load());
        }
        ring_.release(std::min(release, written));
        feedsChanged_.notify_all();
    }
}
