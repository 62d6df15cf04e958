#include "EncoderProcess.h"

#include "CommandLine.h"
#include "ReadOnlyFile.h"
#include "ThreadName.h"
#include "common/AudioLibrary.h"

#include <QProcess>
#include <QtEndian>
#include <bit>
#include <chrono>

namespace {
constexpr int StartTimeoutMs = 10000;
// A program that takes nothing for this long is given up (a pause of 20 s at a stop is still waited out;
// while recording, the recorder replaces a program that stalls far sooner).
constexpr int WriteTimeoutMs = 25000;
constexpr int ExitTimeoutMs = 30000;
constexpr int StalledExitTimeoutMs = 2000;
// How often a write that waits for the program looks whether it is to give up.
constexpr int PollMs = 100;

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

std::unique_ptr<EncoderProcess> EncoderProcess::start(const QStringList& arguments, AudioFormat format,
                                                      int& error) {
    if (arguments.isEmpty()) {
        error = AudioError::IllParam;
        return nullptr;
    }
    std::unique_ptr<EncoderProcess> encoder(new EncoderProcess);
    EncoderProcess* self = encoder.get();
    encoder->thread_ = std::thread([self, arguments, format] { self->run(arguments, format); });
    std::unique_lock lock(encoder->mutex_);
    encoder->changed_.wait(lock, [self] { return self->started_ || self->startFailed_; });
    if (encoder->startFailed_) {
        lock.unlock();
        encoder->thread_.join();
        error = AudioError::FileOpen;
        return nullptr;
    }
    error = AudioError::Ok;
    return encoder;
}

EncoderProcess::~EncoderProcess() {
    finish();
    if (thread_.joinable())
        thread_.join();
}

void EncoderProcess::write(std::vector<std::int16_t> samples) {
    {
        std::lock_guard lock(mutex_);
        if (closing_ || done_)
            return;
        // Audio begins to wait for the program: a stall is counted from here.
        if (queued_.load() == piped_.load())
            lastProgress_.store(nowNs());
        queued_.fetch_add(samples.size());
        queue_.push_back(std::move(samples));
    }
    changed_.notify_all();
}

bool EncoderProcess::stalled(std::chrono::milliseconds limit) const {
    return queued_.load() > piped_.load() &&
           nowNs() - lastProgress_.load() > std::chrono::nanoseconds(limit).count();
}

void EncoderProcess::abort() {
    {
        std::lock_guard lock(mutex_);
        aborted_.store(true);
        closing_ = true;
        queue_.clear();
    }
    changed_.notify_all();
}

bool EncoderProcess::finish() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
    std::lock_guard lock(mutex_);
    return succeeded_;
}

void EncoderProcess::run(QStringList arguments, AudioFormat format) {
    nameThisThread("kandolor-encode");
    // The process object lives and dies on this thread; it needs no event loop for the waitFor calls.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setProgram(arguments.takeFirst());
    process.setArguments(arguments);
    process.setChildProcessModifier(markDescriptorsCloseOnExec);
    process.start(QIODevice::WriteOnly);
    const bool started = process.waitForStarted(StartTimeoutMs);
    {
        std::lock_guard lock(mutex_);
        started_ = started;
        startFailed_ = !started;
    }
    changed_.notify_all();
    if (!started)
        return;

    // Writes `size` bytes into the program's input; the samples of `audio` data are counted as piped as
    // they leave for the pipe.
    auto send = [&](const char* data, qint64 size, bool audio) {
        if (broken_.load() || aborted_.load())
            return;
        if (process.state() != QProcess::Running) {
            broken_.store(true); // the program has exited
            return;
        }
        process.write(data, size);
        qint64 counted = 0;
        std::int64_t movedAt = nowNs();
        for (;;) {
            const qint64 inPipe = size - process.bytesToWrite();
            if (inPipe > counted) {
                if (audio)
                    piped_.fetch_add(static_cast<std::uint64_t>(inPipe / 2 - counted / 2));
                counted = inPipe;
                movedAt = nowNs();
                lastProgress_.store(movedAt);
            }
            if (counted == size || aborted_.load())
                return;
            if (nowNs() - movedAt > std::int64_t{WriteTimeoutMs} * 1000000) {
                broken_.store(true); // the program has stopped reading
                return;
            }
            if (!process.waitForBytesWritten(PollMs) &&
                (process.state() != QProcess::Running || process.error() != QProcess::Timedout)) {
                broken_.store(true); // the program has gone
                return;
            }
        }
    };
    const QByteArray header = waveHeader(format.rate, format.channels);
    send(header.constData(), header.size(), false);
    for (;;) {
        std::vector<std::int16_t> block;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return !queue_.empty() || closing_; });
            if (queue_.empty())
                break; // closing, and everything queued has been written
            block = std::move(queue_.front());
            queue_.pop_front();
        }
        if constexpr (std::endian::native == std::endian::big)
            for (std::int16_t& sample : block)
                sample = qToLittleEndian(sample);
        send(reinterpret_cast<const char*>(block.data()), static_cast<qint64>(block.size() * 2), true);
        taken_.fetch_add(block.size());
    }
    process.closeWriteChannel();
    // A program that stopped taking its input, or that is given up, is not waited for long.
    if (!process.waitForFinished(broken_.load() || aborted_.load() ? StalledExitTimeoutMs : ExitTimeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
    }
    exited_.store(true);
    const bool ok = !broken_.load() && !aborted_.load() && process.exitStatus() == QProcess::NormalExit &&
                    process.exitCode() == 0;
    std::lock_guard lock(mutex_);
    succeeded_ = ok;
    done_ = true;
}
