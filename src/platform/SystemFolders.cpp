#include "SystemFolders.h"

#include "common/KandolorError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStorageInfo>
#include <cerrno>
#include <cstring>
#include <pwd.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {
QString withoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}
} // namespace

QString SystemFolders::commonDataFolder() {
    return withoutTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString SystemFolders::userDataFolder() {
    return withoutTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

QString SystemFolders::userName() {
    errno = 0;
    const passwd* entry = getpwuid(geteuid());
    if (!entry || !entry->pw_name)
        throw KandolorError(QString::fromLocal8Bit(std::strerror(errno ? errno : ENOENT)));
    return QString::fromLocal8Bit(entry->pw_name);
}

QString SystemFolders::homeFolder() {
    return withoutTrailingSlash(QDir::homePath());
}

QString SystemFolders::currentFolder() {
    return QDir::currentPath();
}

QString SystemFolders::languagesFolder() {
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kandolor/languages");
    if (QDir(installed).exists())
        return QDir::cleanPath(installed);
    return QStringLiteral(KANDOLOR_SOURCE_LANGUAGES);
}

QString SystemFolders::tempFolder() {
    const QString temp = QDir::tempPath();
    return QDir(temp).exists() ? withoutTrailingSlash(temp) : QStringLiteral("/tmp");
}

std::int64_t SystemFolders::clusterSize(const QString& path) {
    struct statvfs info {};
    if (statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return static_cast<std::int64_t>(info.f_frsize);
}

std::int64_t SystemFolders::freeSpace(const QString& path) {
    const QStorageInfo volume(path);
    return volume.isValid() ? volume.bytesAvailable() : -1;
}
