#include "DeviceKeeper.h"

#include "ThreadName.h"
#include "common/AudioLibrary.h"

#include <utility>

namespace {
// How often the thread looks at its device, and how often it tries again to open one that failed or went.
constexpr auto CheckInterval = std::chrono::milliseconds(100);
constexpr auto RetryInterval = std::chrono::seconds(1);
constexpr auto DefaultShutdownBound = std::chrono::seconds(2);
} // namespace

DeviceKeeper::DeviceKeeper(const char* threadName, AudioBackend& backend, Device device)
    : shared_(std::make_shared<Shared>(backend, std::move(device))),
      thread_(&DeviceKeeper::run, shared_, threadName) {
    std::weak_ptr<Shared> weak = shared_;
    backend.watchDevice([weak] {
        const std::shared_ptr<Shared> s = weak.lock();
        if (!s)
            return true;
        std::lock_guard lock(s->mutex);
        return s->finished || (s->request == s->handled && !s->busy);
    });
}

DeviceKeeper::~DeviceKeeper() {
    shutdown(std::chrono::steady_clock::now() + DefaultShutdownBound);
}

bool DeviceKeeper::open(const QString& name, AudioFormat format) {
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->want && name == shared_->name && format.rate == shared_->format.rate &&
            format.channels == shared_->format.channels)
            return false;
        shared_->want = true;
        shared_->name = name;
        shared_->format = format;
        ++shared_->request;
        shared_->wanted.store(true);
        // A device just asked for has until FrozenSeconds from now to deliver.
        shared_->lastActive.store(shared_->backend.clockSeconds());
    }
    shared_->changed.notify_all();
    return true;
}

void DeviceKeeper::close() {
    {
        std::lock_guard lock(shared_->mutex);
        if (!shared_->want)
            return;
        shared_->want = false;
        ++shared_->request;
        shared_->wanted.store(false);
    }
    shared_->changed.notify_all();
}

bool DeviceKeeper::renew() {
    {
        std::lock_guard lock(shared_->mutex);
        if (!shared_->want)
            return false;
        shared_->renew = true;
        ++shared_->request;
    }
    shared_->changed.notify_all();
    return true;
}

void DeviceKeeper::active() {
    Shared& s = *shared_;
    const double now = s.backend.clockSeconds();
    s.lastActive.store(now, std::memory_order_relaxed);
    if (s.awaiting.load(std::memory_order_relaxed) && s.awaiting.exchange(false))
        s.backAt.store(now);
}

bool DeviceKeeper::wanted() const {
    return shared_->wanted.load();
}

bool DeviceKeeper::Shared::frozen(double now) const {
    return now - lastActive.load() > FrozenSeconds;
}

bool DeviceKeeper::down() const {
    const Shared& s = *shared_;
    return s.wanted.load() &&
           (s.missing.load() || s.lost.load() || s.awaiting.load() || s.frozen(s.backend.clockSeconds()));
}

double DeviceKeeper::missingSeconds() const {
    Shared& s = *shared_;
    std::lock_guard lock(s.mutex);
    double seconds = s.missingTotal;
    if (s.downSince >= 0) {
        const double back = s.backAt.load();
        seconds += (back >= s.downSince ? back : s.backend.clockSeconds()) - s.downSince;
    }
    return seconds;
}

void DeviceKeeper::Shared::beginOutage() {
    // Under mutex. The outage began with the last block delivered (a frozen device is seen only later).
    if (downSince < 0)
        downSince = std::min(lastActive.load(), backend.clockSeconds());
    backAt.store(-1);
    awaiting.store(true);
}

void DeviceKeeper::Shared::endOutage(double at) {
    // Under mutex.
    if (downSince >= 0)
        missingTotal += std::max(0.0, at - downSince);
    downSince = -1;
}

void DeviceKeeper::quit() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->quit = true;
    }
    shared_->changed.notify_all();
}

bool DeviceKeeper::shutdown(std::chrono::steady_clock::time_point deadline) {
    if (!thread_.joinable())
        return true;
    quit();
    std::unique_lock lock(shared_->mutex);
    if (!shared_->changed.wait_until(lock, deadline, [this] { return shared_->finished; })) {
        lock.unlock();
        thread_.detach();
        return false;
    }
    lock.unlock();
    thread_.join();
    return true;
}

void DeviceKeeper::run(std::shared_ptr<Shared> shared, const char* threadName) {
    nameThisThread(threadName);
    Shared& s = *shared;
    bool open = false;
    QString openName;
    AudioFormat openFormat;
    auto lastAttempt = std::chrono::steady_clock::time_point{};
    const auto closeDevice = [&] {
        s.open.store(false);
        open = false;
        s.device.close();
    };
    std::unique_lock lock(s.mutex);
    for (;;) {
        s.changed.wait_for(lock, CheckInterval, [&] { return s.quit || s.request != s.handled; });
        if (s.quit)
            break;
        const bool want = s.want;
        const QString name = s.name;
        const AudioFormat format = s.format;
        bool attempt = s.request != s.handled;
        const bool renew = std::exchange(s.renew, false);
        s.handled = s.request;
        const double back = s.backAt.load();
        if (s.downSince >= 0 && back >= s.downSince)
            s.endOutage(back);
        s.busy = true;
        lock.unlock();

        const auto wall = std::chrono::steady_clock::now();
        if (!want) {
            if (open)
                closeDevice();
            s.missing.store(false);
            s.lost.store(false);
            s.awaiting.store(false);
            lock.lock();
            s.endOutage(s.backend.clockSeconds());
            s.busy = false;
            continue;
        }
        if (open &&
            (name != openName || format.rate != openFormat.rate || format.channels != openFormat.channels))
            closeDevice();
        if (open) {
            const bool lost = s.device.lost();
            s.lost.store(lost);
            if ((lost || s.frozen(s.backend.clockSeconds())) && wall - lastAttempt >= RetryInterval) {
                {
                    std::lock_guard outage(s.mutex);
                    s.beginOutage();
                }
                closeDevice();
                attempt = true;
            }
        }
        if (open && renew && s.device.renew && s.device.renew(name, format) == AudioError::Ok) {
            // Opened anew: it has until FrozenSeconds from now to deliver.
            s.lastActive.store(s.backend.clockSeconds());
            s.sessions.fetch_add(1);
        }
        if (!open && (attempt || wall - lastAttempt >= RetryInterval)) {
            lastAttempt = wall;
            if (s.missing.load() || s.awaiting.load())
                s.lastActive.store(s.backend.clockSeconds());
            open = s.device.open(name, format) == AudioError::Ok;
            s.lost.store(false);
            s.missing.store(!open);
            if (open) {
                openName = name;
                openFormat = format;
                s.sessions.fetch_add(1);
                s.open.store(true);
            } else {
                std::lock_guard outage(s.mutex);
                s.beginOutage();
            }
        }
        lock.lock();
        s.busy = false;
    }
    lock.unlock();
    if (open)
        closeDevice();
    lock.lock();
    s.finished = true;
    s.changed.notify_all();
}
