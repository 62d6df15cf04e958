#include "support/ReadOnlyMount.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

ReadOnlyMount::ReadOnlyMount(const QString& folder) {
    if (geteuid() != 0) {
        skipReason = QStringLiteral("mounting a read-only tmpfs needs root");
        return;
    }
    const auto failed = [this](const char* what) {
        skipReason =
            QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    };
    if (unshare(CLONE_NEWNS) != 0) {
        failed("unshare");
        return;
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        failed("private mounts");
        return;
    }
    QDir().mkpath(folder);
    if (mount("kandolor-test", QFile::encodeName(folder).constData(), "tmpfs", MS_RDONLY, "size=1m") != 0) {
        failed("mount tmpfs");
        return;
    }
    path = folder;
}

ReadOnlyMount::~ReadOnlyMount() {
    if (!path.isEmpty())
        umount2(QFile::encodeName(path).constData(), MNT_DETACH);
}
