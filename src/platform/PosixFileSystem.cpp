#include "PosixFileSystem.h"

#include "platform/audio/ReadOnlyFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class PosixHeldFile : public HeldFile {
public:
    explicit PosixHeldFile(int fd) : fd_(fd) {}
    ~PosixHeldFile() override { ::close(fd_); }
    PosixHeldFile(const PosixHeldFile&) = delete;
    PosixHeldFile& operator=(const PosixHeldFile&) = delete;

    bool isAt(const QString& path) override {
        struct stat held {};
        struct stat named {};
        if (::fstat(fd_, &held) != 0 || ::stat(QFile::encodeName(path).constData(), &named) != 0)
            return false;
        return held.st_nlink > 0 && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
    }
    bool syncData() override { return ::fdatasync(fd_) == 0; }
    std::int64_t read(char* data, std::int64_t size, std::int64_t offset) override {
        ssize_t got;
        do
            got = ::pread(fd_, data, static_cast<size_t>(size), static_cast<off_t>(offset));
        while (got < 0 && errno == EINTR);
        return got;
    }

private:
    const int fd_;
};

bool syncPath(const QString& path, int flags) {
    const int fd = openReadOnlyFile(path, flags);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

std::shared_ptr<HeldFile> PosixFileSystem::hold(const QString& path) {
    const int fd = openReadOnlyFile(path);
    if (fd < 0)
        return nullptr;
    return std::make_shared<PosixHeldFile>(fd);
}

bool PosixFileSystem::syncFile(const QString& path) {
    return syncPath(path, 0);
}

bool PosixFileSystem::syncFolder(const QString& folder) {
    return syncPath(folder, O_DIRECTORY);
}
