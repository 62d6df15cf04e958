#include "DurableFileCopier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t chunkSize = std::size_t{1} << 20;
constexpr char partSuffix[] = ".kandolor.part";
constexpr int partAttempts = 100;

// Owns a file descriptor.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes at once; returns 0 or the errno, since write errors may only show up here. After EINTR the
    // descriptor is closed on Linux, and the data was synced before.
    int close() {
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
    }

private:
    int fd_;
};

template <typename Call> auto retryInterrupted(Call call) {
    decltype(call()) result;
    do
        result = call();
    while (result < 0 && errno == EINTR);
    return result;
}

QString errorText(int error) {
    char buffer[256];
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}

// Whether the folder's path still leads to the volume that was opened: a pulled or unmounted stick no
// longer does, while its open descriptors may go on working.
bool stillThere(const QByteArray& folderPath, dev_t device) {
    struct stat now {};
    return ::stat(folderPath.constData(), &now) == 0 && now.st_dev == device;
}

} // namespace

CopyOutcome CopyOutcomeOf(int error, bool volumeThere) {
    CopyOutcome outcome{CopyResult::Failed, errorText(error)};
    if (!volumeThere) {
        outcome.result = CopyResult::Gone;
        return outcome;
    }
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        outcome.result = CopyResult::Full;
        break;
    case EROFS:
    case EACCES:
    case EPERM:
        outcome.result = CopyResult::WriteProtected;
        break;
    case ENOENT: // exfat-fuse refuses a name it cannot hold so
    case EINVAL:
    case EILSEQ:
    case ENAMETOOLONG:
        outcome.result = CopyResult::NameRefused;
        break;
    case EEXIST:
        outcome.result = CopyResult::Exists;
        break;
    default:
        break;
    }
    return outcome;
}

namespace {

// A short name for the partial file, so that every final name that fits has a partial name that fits too;
// lower case only, for file systems that ignore case.
QByteArray newPartName() {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name(8, 'x');
    for (char& c : name)
        c = letters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof letters) - 1)];
    return name + partSuffix;
}

// Copies the rest of `in` to `out`, reporting progress after each chunk and stopping with ENODEV when
// `attached` says the target went away. Returns 0 or the errno; `sourceFailed` tells that reading failed.
int copyData(int in, int out, std::int64_t total, const FileCopier::Progress& progress,
             const std::function<bool()>& attached, bool& sourceFailed) {
    std::vector<char> buffer(chunkSize);
    std::int64_t done = 0;
    for (;;) {
        const ssize_t got = retryInterrupted([&] { return ::read(in, buffer.data(), buffer.size()); });
        if (got < 0) {
            sourceFailed = true;
            return errno;
        }
        if (got == 0)
            break;
        for (ssize_t written = 0; written < got;) {
            const ssize_t n = retryInterrupted([&] {
                return ::write(out, buffer.data() + written, static_cast<std::size_t>(got - written));
            });
            if (n < 0)
                return errno;
            if (n == 0)
                return EIO;
            written += n;
        }
        done += got;
        if (progress)
            progress(done, std::max(total, done));
        if (!attached())
            return ENODEV;
    }
    if (done == 0 && progress)
        progress(0, 0);
    return 0;
}

// Gives the partial file its final name; an existing target is replaced only when `replace`. Returns 0 or
// the errno (EEXIST: the target exists).
int moveIntoPlace(int folder, const char* part, const char* name, bool replace) {
    if (replace)
        return renameat(folder, part, folder, name) == 0 ? 0 : errno;
    if (renameat2(folder, part, folder, name, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // No atomic rename without replacing here: a hard link fails on an existing name as well.
    if (linkat(folder, part, folder, name, 0) == 0) {
        unlinkat(folder, part, 0); // the data is at its name; a left part is cleaned up at the next start
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP)
        return errno;
    // Neither (some FUSE and network file systems): check, then rename.
    struct stat existing {};
    if (fstatat(folder, name, &existing, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return renameat(folder, part, folder, name) == 0 ? 0 : errno;
}

} // namespace

CopyOutcome DurableFileCopier::copy(const QString& source, const QString& target, bool replace,
                                    const Progress& progress) {
    const Fd in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC));
    struct stat sourceInfo {};
    if (!in.valid() || fstat(in.get(), &sourceInfo) != 0)
        return {CopyResult::SourceMissing, errorText(errno)};
    if (S_ISDIR(sourceInfo.st_mode))
        return {CopyResult::SourceMissing, errorText(EISDIR)};

    const QFileInfo targetInfo(target);
    const QByteArray folderPath = QFile::encodeName(targetInfo.absolutePath());
    const QByteArray name = QFile::encodeName(targetInfo.fileName());
    if (name.isEmpty())
        return CopyOutcomeOf(EISDIR, true);
    const Fd folder(::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat folderInfo {};
    if (!folder.valid() || fstat(folder.get(), &folderInfo) != 0) {
        const int error = errno;
        return CopyOutcomeOf(error, error != ENOENT && error != ENOTDIR); // the target folder itself is gone
    }
    const auto outcome = [&](int error) {
        return CopyOutcomeOf(error, stillThere(folderPath, folderInfo.st_dev));
    };
    struct stat existing {};
    if (fstatat(folder.get(), name.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!replace)
            return {CopyResult::Exists, {}};
    } else if (const int error = errno; error != ENOENT) {
        return outcome(error);
    }

    // A partial file of its own: another copy to the same folder never writes into it.
    QByteArray partName;
    int opened = -1;
    for (int attempt = 0; attempt < partAttempts && opened < 0; ++attempt) {
        partName = newPartName();
        opened = ::openat(folder.get(), partName.constData(),
                          O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (opened < 0 && errno != EEXIST)
            break;
    }
    Fd out(opened);
    if (!out.valid())
        return outcome(errno);
    const auto failed = [&](CopyOutcome result) {
        unlinkat(folder.get(), partName.constData(), 0);
        return result;
    };
    struct stat partInfo {};
    if (fstat(out.get(), &partInfo) != 0)
        return failed(outcome(errno));

    bool sourceFailed = false;
    const auto attached = [&] { return stillThere(folderPath, folderInfo.st_dev); };
    if (const int error = copyData(in.get(), out.get(), sourceInfo.st_size, progress, attached, sourceFailed))
        return failed(sourceFailed ? CopyOutcome{CopyResult::SourceMissing, errorText(error)}
                                   : outcome(error));
    const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    futimens(out.get(), times); // the copy keeps the recording's time where the file system can
    if (fsync(out.get()) != 0)
        return failed(outcome(errno));
    if (const int error = out.close())
        return failed(outcome(error));
    if (const int error = moveIntoPlace(folder.get(), partName.constData(), name.constData(), replace))
        return failed(outcome(error));
    // EINVAL: this folder has nothing to sync.
    if (fsync(folder.get()) != 0 && errno != EINVAL)
        return outcome(errno);

    // Open descriptors keep writing to a volume that was detached meanwhile: ask the path again.
    struct stat arrived {};
    if (!attached() || ::stat((folderPath + '/' + name).constData(), &arrived) != 0 ||
        arrived.st_dev != partInfo.st_dev || arrived.st_ino != partInfo.st_ino)
        return {CopyResult::Gone, {}};
    return {CopyResult::Done, {}};
}

QStringList DurableFileCopier::removeLeftParts(const QString& folder) {
    QDir dir(folder);
    const QStringList parts =
        dir.entryList({QStringLiteral("?*") + QLatin1String(partSuffix)},
                      QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::CaseSensitive, QDir::Name);
    QStringList removed;
    for (const QString& part : parts) {
        if (dir.remove(part))
            removed << part;
    }
    return removed;
}
