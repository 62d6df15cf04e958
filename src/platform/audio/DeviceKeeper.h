#pragma once

#include "AudioBackend.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Opens and closes one device on a thread of its own, so that no caller ever waits for the sound server:
// callers say what they want (open as a name in a format, or closed) and read what the thread publishes.
// The thread opens the device again when it is lost, stops delivering or could not be opened, and counts
// the time during which the device was wanted but delivered nothing.
class DeviceKeeper {
public:
    // The device's own operations, called on the keeper's thread only.
    struct Device {
        std::function<int(const QString& name, AudioFormat format)> open; // an AudioError code
        std::function<void()> close;
        std::function<bool()> lost;
        // Puts a new device in place of the open one (an AudioError code; on failure the old one goes on).
        std::function<int(const QString& name, AudioFormat format)> renew = {};
    };

    DeviceKeeper(const char* threadName, AudioBackend& backend, Device device);
    // Shuts down (bounded, see shutdown()).
    ~DeviceKeeper();
    DeviceKeeper(const DeviceKeeper&) = delete;
    DeviceKeeper& operator=(const DeviceKeeper&) = delete;

    // Wants the device open as `name` in `format`; another name or format opens it anew. False when that was
    // already wanted.
    bool open(const QString& name, AudioFormat format);
    // Wants the device closed.
    void close();
    // Wants the open device replaced by a new one (Device::renew); nothing happens when it is not open by
    // then, or is opened anew anyway. False when the device is not wanted.
    bool renew();
    // Device thread: a block was delivered or rendered.
    void active();

    bool wanted() const;
    // Opened by the thread (and not closed since).
    bool isOpen() const { return shared_->open.load(); }
    // Wanted but not working: the last attempt to open it failed, it was lost, it has delivered nothing for
    // FrozenSeconds, or it was opened again and has not delivered since.
    bool down() const;
    // Wanted, and the last attempt to open it failed (no such device, no sound server).
    bool missing() const { return shared_->missing.load(); }
    // Counts the opens: a change means the device was opened anew (what was before it does not continue).
    std::uint64_t sessions() const { return shared_->sessions.load(); }
    // Seconds on the devices' clock during which the device was down while wanted, up to now.
    double missingSeconds() const;

    // Tells the thread to close the device and end (without waiting).
    void quit();
    // Closes the device and ends the thread. False when that did not happen by `deadline` (a close stuck in
    // a sound server that does not answer): the thread is left to itself, with its own state, and the
    // backend must then be kept alive (never destroyed) for it.
    bool shutdown(std::chrono::steady_clock::time_point deadline);

    // A device that delivers nothing for this long (on the devices' clock) counts as gone.
    static constexpr double FrozenSeconds = 2.0;

private:
    // What the caller and the thread share; the thread keeps it alive when it is left to itself.
    struct Shared {
        AudioBackend& backend;
        Device device;
        std::mutex mutex; // never held across a device operation
        std::condition_variable changed;
        bool want = false;
        QString name;
        AudioFormat format;
        std::uint64_t request = 0; // counts the wishes
        std::uint64_t handled = 0; // the last wish the thread has taken up
        bool renew = false;        // a new device is wanted in place of the open one
        bool busy = false;         // the thread is working on the device
        bool quit = false;
        bool finished = false;
        std::atomic<bool> wanted{false};
        // Published by the thread (and active()).
        std::atomic<bool> open{false};
        std::atomic<bool> missing{false};
        std::atomic<bool> lost{false};
        std::atomic<bool> awaiting{false}; // reopened after a fault, nothing delivered since
        std::atomic<double> lastActive{0};
        std::atomic<double> backAt{-1}; // first delivery after a fault
        std::atomic<std::uint64_t> sessions{0};
        // The outage in progress (-1: none) and the ones before it, under mutex.
        double downSince = -1;
        double missingTotal = 0;

        explicit Shared(AudioBackend& b, Device d) : backend(b), device(std::move(d)) {}
        void beginOutage();
        void endOutage(double at);
        bool frozen(double now) const;
    };
    static void run(std::shared_ptr<Shared> shared, const char* threadName);

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};
