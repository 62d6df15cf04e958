#pragma once

#include "common/FileSystem.h"

// FileSystem on POSIX descriptors: open(O_RDONLY | O_CLOEXEC), fstat, fdatasync and fsync.
class PosixFileSystem : public FileSystem {
public:
    std::shared_ptr<HeldFile> hold(const QString& path) override;
    bool syncFile(const QString& path) override;
    bool syncFolder(const QString& folder) override;
};
