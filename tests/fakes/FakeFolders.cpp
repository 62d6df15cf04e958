#include "FakeFolders.h"

#include <QDir>

FakeFolders::FakeFolders() {
    for (const char* sub : {"common", "config", "home", "cwd", "tmp"})
        QDir(root()).mkpath(QString::fromLatin1(sub));
}
