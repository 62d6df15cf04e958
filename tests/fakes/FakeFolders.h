#pragma once

#include "common/Folders.h"

#include <QTemporaryDir>

// Folders below one fresh temporary directory: common/, config/, home/, cwd/, tmp/.
class FakeFolders : public Folders {
public:
    FakeFolders();
    QString commonDataFolder() override { return root() + QStringLiteral("/common"); }
    QString userDataFolder() override { return root() + QStringLiteral("/config"); }
    QString userName() override { return user; }
    QString homeFolder() override { return root() + QStringLiteral("/home"); }
    QString currentFolder() override { return root() + QStringLiteral("/cwd"); }
    QString languagesFolder() override { return root() + QStringLiteral("/languages"); }
    QString tempFolder() override { return root() + QStringLiteral("/tmp"); }
    std::int64_t clusterSize(const QString&) override { return cluster; }
    // The real free space, unless freeBytes is set.
    std::int64_t freeSpace(const QString& path) override;

    QString root() const { return dir_.path(); }
    QString user = QStringLiteral("Max Muster");
    std::int64_t cluster = 4096;
    std::int64_t freeBytes = -1;

private:
    QTemporaryDir dir_;
};
