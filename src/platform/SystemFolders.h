#pragma once

#include "common/Folders.h"

// Folders of this machine and user (XDG locations, the login name, statvfs).
class SystemFolders : public Folders {
public:
    QString commonDataFolder() override;
    QString userDataFolder() override;
    QString userName() override;
    QString homeFolder() override;
    QString currentFolder() override;
    QString languagesFolder() override;
    QString tempFolder() override;
    std::int64_t clusterSize(const QString& path) override;
    std::int64_t freeSpace(const QString& path) override;
};
