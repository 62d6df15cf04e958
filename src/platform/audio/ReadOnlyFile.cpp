#include "ReadOnlyFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/syscall.h>
#include <unistd.h>

int openReadOnlyFile(const QString& path, int flags) {
    int fd;
    do
        fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | flags);
    while (fd < 0 && errno == EINTR);
    return fd;
}

void markDescriptorsCloseOnExec() {
    if (::syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC) == 0)
        return;
    // Kernels before 5.11: one descriptor after the other (only async-signal-safe calls here).
    const long last = ::sysconf(_SC_OPEN_MAX);
    for (int fd = 3; fd < (last > 0 && last < 65536 ? last : 65536); ++fd)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}
