#include "FakeFileSystem.h"

#include <chrono>

namespace {

class CountedFile : public HeldFile {
public:
    CountedFile(std::shared_ptr<HeldFile> real, std::shared_ptr<FakeFileSystem::Counts> counts)
        : real_(std::move(real)), counts_(std::move(counts)) {}

    bool isAt(const QString& path) override { return real_->isAt(path); }
    bool syncData() override {
        ++counts_->dataSyncsStarted;
        {
            std::unique_lock lock(counts_->mutex);
            counts_->released.wait_for(lock, std::chrono::seconds(30), [this] { return !counts_->hang; });
        }
        const bool synced = real_->syncData();
        ++counts_->dataSyncs;
        return synced;
    }
    std::int64_t read(char* data, std::int64_t size, std::int64_t offset) override {
        return real_->read(data, size, offset);
    }

private:
    std::shared_ptr<HeldFile> real_;
    std::shared_ptr<FakeFileSystem::Counts> counts_;
};

} // namespace

std::shared_ptr<HeldFile> FakeFileSystem::hold(const QString& path) {
    std::shared_ptr<HeldFile> real = real_.hold(path);
    return real ? std::make_shared<CountedFile>(std::move(real), counts_) : nullptr;
}

bool FakeFileSystem::syncFile(const QString& path) {
    {
        const std::lock_guard lock(counts_->mutex);
        counts_->fileSyncs << path;
    }
    return real_.syncFile(path);
}

bool FakeFileSystem::syncFolder(const QString& folder) {
    {
        const std::lock_guard lock(counts_->mutex);
        counts_->folderSyncs << folder;
    }
    return real_.syncFolder(folder);
}

void FakeFileSystem::hang() {
    const std::lock_guard lock(counts_->mutex);
    counts_->hang = true;
}

void FakeFileSystem::release() {
    {
        const std::lock_guard lock(counts_->mutex);
        counts_->hang = false;
    }
    counts_->released.notify_all();
}

QStringList FakeFileSystem::fileSyncs() const {
    const std::lock_guard lock(counts_->mutex);
    return counts_->fileSyncs;
}

QStringList FakeFileSystem::folderSyncs() const {
    const std::lock_guard lock(counts_->mutex);
    return counts_->folderSyncs;
}
