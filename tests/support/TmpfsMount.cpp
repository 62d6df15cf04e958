#include "support/TmpfsMount.h"

#include "support/PrivateMounts.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

TmpfsMount::TmpfsMount(const QString& folder, Access access, const QString& size) {
    skipReason = enterPrivateMountNamespace();
    if (!skipReason.isEmpty())
        return;
    const auto failed = [this](const char* what) {
        skipReason =
            QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    };
    QDir().mkpath(folder);
    const QByteArray options = "size=" + size.toLatin1();
    if (mount("kandolor-test", QFile::encodeName(folder).constData(), "tmpfs",
              access == ReadOnly ? MS_RDONLY : 0, options.constData()) != 0) {
        failed("mount tmpfs");
        return;
    }
    path = folder;
}

bool TmpfsMount::makeReadOnly() {
    return mount(nullptr, QFile::encodeName(path).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool TmpfsMount::unmount() {
    if (umount2(QFile::encodeName(path).constData(), MNT_DETACH) != 0)
        return false;
    path.clear();
    return true;
}

TmpfsMount::~TmpfsMount() {
    if (!path.isEmpty())
        umount2(QFile::encodeName(path).constData(), MNT_DETACH);
}
