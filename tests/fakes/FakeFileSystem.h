#pragma once

#include "platform/PosixFileSystem.h"

#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

// The real file operations, counted; the data syncs of held files can be held up until released, as on a
// disk that hangs.
class FakeFileSystem : public FileSystem {
public:
    struct Counts {
        std::atomic<int> dataSyncs{0};
        std::atomic<int> dataSyncsStarted{0};
        std::mutex mutex;
        std::condition_variable released;
        bool hang = false;
        QStringList fileSyncs; // the paths of syncFile
        QStringList folderSyncs;
    };

    std::shared_ptr<HeldFile> hold(const QString& path) override;
    bool syncFile(const QString& path) override;
    bool syncFolder(const QString& folder) override;

    // From now on data syncs wait until release() (at most 30 s).
    void hang();
    void release();
    int dataSyncs() const { return counts_->dataSyncs; }
    int dataSyncsStarted() const { return counts_->dataSyncsStarted; }
    QStringList fileSyncs() const;
    QStringList folderSyncs() const;

private:
    PosixFileSystem real_;
    // Shared with the held files, which may outlive the fake on a thread that syncs.
    std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
};
