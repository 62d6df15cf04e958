#include "app/music/SongLengths.h"

#include "common/AudioLibrary.h"

#include <QThread>

SongLengths::SongLengths(AudioLibrary& audio) : audio_(audio) {}

SongLengths::~SongLengths() {
    stop_ = true;
    if (worker_)
        worker_->wait();
}

void SongLengths::measure(const std::vector<std::pair<int, QString>>& songs) {
    if (worker_ && worker_->isRunning())
        return;
    std::vector<std::pair<int, QString>> todo;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [number, path] : songs) {
            if (const auto known = byFile_.find(path); known != byFile_.end())
                seconds_[number] = known->second;
            else
                todo.emplace_back(number, path);
        }
    }
    if (todo.empty())
        return;
    worker_.reset(QThread::create([this, todo] {
        for (const auto& [number, path] : todo) {
            if (stop_)
                return;
            const double length = audio_.FileSeconds(path);
            std::lock_guard lock(mutex_);
            const int whole = length > 0 ? static_cast<int>(length) : 0;
            byFile_[path] = whole;
            seconds_[number] = whole;
        }
    }));
    worker_->start(QThread::LowestPriority);
}

int SongLengths::seconds(int number) const {
    std::lock_guard lock(mutex_);
    const auto found = seconds_.find(number);
    return found == seconds_.end() ? 0 : found->second;
}

std::size_t SongLengths::measured() const {
    std::lock_guard lock(mutex_);
    return seconds_.size();
}
