#include "support/PrivateMounts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

QString systemError(const char* what) {
    return QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

// Runs a program; returns its error output when it fails.
QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return program + QStringLiteral(" failed: ") +
               QString::fromLocal8Bit(process.readAllStandardError()) + process.errorString();
    return {};
}

} // namespace

QString enterPrivateMountNamespace() {
    static const QString failure = [] {
        if (geteuid() != 0)
            return QStringLiteral("mounting test volumes needs root");
        if (unshare(CLONE_NEWNS) != 0)
            return systemError("unshare");
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return systemError("private mounts");
        return QString();
    }();
    return failure;
}

TestVolume::TestVolume(const QString& folder, Type type, const QString& label, const QString& size)
    : type_(type) {
    skipReason = enterPrivateMountNamespace();
    if (!skipReason.isEmpty())
        return;
    QDir().mkpath(folder);
    if (type == Tmpfs) {
        const QByteArray options = "size=" + size.toLatin1();
        if (mount(label.toUtf8().constData(), QFile::encodeName(folder).constData(), "tmpfs", 0,
                  options.constData()) != 0) {
            skipReason = systemError("mount tmpfs");
            return;
        }
        path = folder;
        return;
    }
    image_ = QDir::cleanPath(folder) + QStringLiteral(".img");
    QFile::remove(image_);
    skipReason = run(QStringLiteral("truncate"), {QStringLiteral("-s"), size, image_});
    if (!skipReason.isEmpty())
        return;
    switch (type) {
    case Exfat:
        skipReason = run(QStringLiteral("mkfs.exfat"), {QStringLiteral("-L"), label, image_});
        break;
    case Vfat:
        skipReason = run(QStringLiteral("mkfs.vfat"), {QStringLiteral("-n"), label, image_});
        break;
    default:
        skipReason = run(QStringLiteral("mkfs.ext4"),
                         {QStringLiteral("-q"), QStringLiteral("-F"), QStringLiteral("-L"), label, image_});
    }
    if (skipReason.isEmpty())
        skipReason = mountImage(folder);
    if (skipReason.isEmpty())
        path = folder;
}

QString TestVolume::mountImage(const QString& folder) {
    QDir().mkpath(folder);
    switch (type_) {
    case Exfat: {
        // FUSE wants a block device.
        QProcess losetup;
        losetup.start(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), image_});
        if (!losetup.waitForFinished(30000) || losetup.exitCode() != 0)
            return QStringLiteral("losetup failed: ") +
                   QString::fromLocal8Bit(losetup.readAllStandardError());
        devices_ << QString::fromLocal8Bit(losetup.readAllStandardOutput()).trimmed();
        return run(QStringLiteral("mount.exfat-fuse"), {devices_.last(), folder});
    }
    case Vfat:
        return run(QStringLiteral("mount"),
                   {QStringLiteral("-t"), QStringLiteral("vfat"), QStringLiteral("-o"),
                    QStringLiteral("loop,errors=remount-ro"), image_, folder});
    default:
        return run(QStringLiteral("mount"),
                   {QStringLiteral("-o"), QStringLiteral("loop,errors=remount-ro"), image_, folder});
    }
}

void TestVolume::unmountLazily() {
    if (!path.isEmpty())
        umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    path.clear();
}

QString TestVolume::mountAgain(const QString& folder) {
    if (image_.isEmpty() || !mountImage(folder).isEmpty())
        return {};
    mountedAgain_ << folder;
    return folder;
}

bool TestVolume::failAndTurnReadOnly() {
    if (type_ != Ext4 || path.isEmpty())
        return false;
    // The volume's loop device, from the mount table.
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (!mounts.open(QIODevice::ReadOnly))
        return false;
    const QByteArray mountPoint = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    for (const QByteArray& line : mounts.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 2 || fields[1] != mountPoint)
            continue;
        QFile trigger(QStringLiteral("/sys/fs/ext4/%1/trigger_fs_error")
                          .arg(QFileInfo(QFile::decodeName(fields[0])).fileName()));
        return trigger.open(QIODevice::WriteOnly) && trigger.write("1\n") == 2;
    }
    return false;
}

TestVolume::~TestVolume() {
    unmountLazily();
    for (const QString& folder : mountedAgain_)
        umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
    for (const QString& device : devices_)
        run(QStringLiteral("losetup"), {QStringLiteral("-d"), device});
    if (!image_.isEmpty())
        QFile::remove(image_);
}
