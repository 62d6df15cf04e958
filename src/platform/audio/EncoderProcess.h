#pragma once

#include "AudioBackend.h"

#include <QStringList>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// An encoder program fed a WAVE stream on its standard input by a writer thread of its own, so that a slow
// program never holds up capture. The program runs with a UTF-8 locale; its output goes nowhere.
class EncoderProcess {
public:
    // Starts `arguments` (program first, looked up on PATH); null with `error` set when it cannot be started.
    static std::unique_ptr<EncoderProcess> start(const QStringList& arguments, AudioFormat format,
                                                 int& error);
    ~EncoderProcess();
    EncoderProcess(const EncoderProcess&) = delete;
    EncoderProcess& operator=(const EncoderProcess&) = delete;

    // Queues samples for the program (any thread but the capture callback).
    void write(std::vector<std::int16_t> samples);
    // The program runs and takes what it is written (false once it has exited or stopped reading).
    bool taking() const { return !broken_.load() && !exited_.load(); }
    // Samples the program has taken (or that were dropped once it had gone), and those queued but not yet
    // taken.
    std::uint64_t taken() const { return taken_.load(); }
    std::uint64_t backlog() const { return queued_.load() - taken_.load(); }
    // Samples written into the program's input pipe (its file may not hold the last of them yet).
    std::uint64_t piped() const { return piped_.load(); }
    // Audio has been waiting for the program and it has taken nothing for `limit`.
    bool stalled(std::chrono::milliseconds limit) const;
    // Ends the program without waiting for it to take what is queued: its input is closed, and a program
    // that has not exited soon after is killed. finish() then returns quickly.
    void abort();
    // Closes the program's input once the queue has drained and waits for it to exit; true when it exited
    // normally with status 0. Later calls return the same result.
    bool finish();

private:
    EncoderProcess() = default;
    void run(QStringList arguments, AudioFormat format);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<std::int16_t>> queue_;
    bool started_ = false;
    bool startFailed_ = false;
    bool closing_ = false;
    bool done_ = false;
    bool succeeded_ = false;
    std::atomic<bool> broken_{false};
    std::atomic<std::uint64_t> queued_{0};
    std::atomic<std::uint64_t> taken_{0};
    std::atomic<std::uint64_t> piped_{0};
    // Steady-clock time (ns) when the program last took some input, or when audio began to wait for it.
    std::atomic<std::int64_t> lastProgress_{0};
    std::atomic<bool> aborted_{false};
    std::atomic<bool> exited_{false};
    std::thread thread_;
};
