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

TestVolume::TestVolume(const QString& folder, Type type, const QString& label, const QString& size) {
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
    if (skipReason.isEmpty())
        skipReason = run(QStringLiteral("mkfs.ext4"),
                         {QStringLiteral("-q"), QStringLiteral("-F"), QStringLiteral("-L"), label, image_});
    if (skipReason.isEmpty())
        skipReason =
            run(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("loop"), image_, folder});
    if (skipReason.isEmpty())
        path = folder;
}

void TestVolume::unmountLazily() {
    if (!path.isEmpty())
        umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    path.clear();
}

TestVolume::~TestVolume() {
    unmountLazily();
    if (!image_.isEmpty())
        QFile::remove(image_);
}
