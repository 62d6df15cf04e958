#include "FakeFolders.h"

#include <QDir>
#include <QStorageInfo>

FakeFolders::FakeFolders() {
    for (const char* sub : {"common", "config", "home", "cwd", "tmp"})
        QDir(root()).mkpath(QString::fromLatin1(sub));
}

std::int64_t FakeFolders::freeSpace(const QString& path) {
    if (freeBytes >= 0)
        return freeBytes;
    const QStorageInfo volume(path);
    return volume.isValid() ? volume.bytesAvailable() : -1;
}
