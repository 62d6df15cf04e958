#include "RecordingFile.h"

#include "common/FileSystem.h"

#include <atomic>
#include <thread>

namespace recording {

struct RecordingFile::Sync {
    std::atomic<bool> running{false};
};

RecordingFile::RecordingFile(FileSystem& files, QString folder, QString tempName)
    : files_(files), folder_(std::move(folder)), tempName_(std::move(tempName)),
      sync_(std::make_shared<Sync>()) {}

RecordingFile::~RecordingFile() = default;

bool RecordingFile::tick(double seconds) {
    if (!held_) {
        held_ = files_.hold(folder_ + tempName_);
        syncedAt_ = seconds;
        return false;
    }
    if (seconds >= syncedAt_ && seconds - syncedAt_ < SyncSeconds)
        return false;
    syncedAt_ = seconds;
    if (!held_->isAt(folder_ + tempName_))
        return true;
    if (sync_->running.exchange(true))
        return false; // the disk has not finished the last one: no pile of waiting threads
    // The thread owns what it uses, so that neither the window nor this object waits for it.
    std::thread([file = held_, sync = sync_] {
        file->syncData();
        sync->running = false;
    }).detach();
    return false;
}

} // namespace recording
