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
// A program that takes nothing for this long has stalled (a pause of 20 s is still waited out).
constexpr int WriteTimeoutMs = 25000;
constexpr int ExitTimeoutMs = 30000;
constexpr int StalledExitTimeoutMs = 2000;
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
        queued_.fetch_add(samples.size());
        queue_.push_back(std::move(samples));
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

    auto send = [&](const char* data, qint64 size) {
        if (broken_.load())
            return;
        if (process.state() != QProcess::Running) {
            broken_.store(true); // the program has exited
            return;
        }
        process.write(data, size);
        while (process.bytesToWrite() > 0)
            if (!process.waitForBytesWritten(WriteTimeoutMs)) {
                broken_.store(true); // the program has gone or stopped reading
                return;
            }
    };
    const QByteArray header = waveHeader(format.rate, format.channels);
    send(header.constData(), header.size());
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
        send(reinterpret_cast<const char*>(block.data()), static_cast<qint64>(block.size() * 2));
        taken_.fetch_add(block.size());
    }
    process.closeWriteChannel();
    // A program that stopped taking its input is not waited for long.
    if (!process.waitForFinished(broken_.load() ? StalledExitTimeoutMs : ExitTimeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
    }
    exited_.store(true);
    const bool ok =
        !broken_.load() && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    std::lock_guard lock(mutex_);
    succeeded_ = ok;
    done_ = true;
}
