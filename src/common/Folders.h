#pragma once

#include <QString>
#include <cstdint>

// Special folders, the user name and file-system facts.
class Folders {
public:
    virtual ~Folders() = default;

    // Data shared by all users of the machine; no trailing separator.
    virtual QString commonDataFolder() = 0;
    // Data of the current user; no trailing separator.
    virtual QString userDataFolder() = 0;
    // Login name of the process's user; throws KandolorError when it cannot be determined.
    virtual QString userName() = 0;
    // The user's home folder, below which the default recording folder lies; no trailing separator.
    virtual QString homeFolder() = 0;
    // The process's current directory at start (searched for language files).
    virtual QString currentFolder() = 0;
    // The language files the program ships: installed beside it, else the source tree's.
    virtual QString languagesFolder() = 0;
    // Folder for temporary files; no trailing separator.
    virtual QString tempFolder() = 0;
    // Allocation unit of the file system holding path (0 when unknown).
    virtual std::int64_t clusterSize(const QString& path) = 0;
    // Bytes the user may still write on the volume holding path (-1 when unknown).
    virtual std::int64_t freeSpace(const QString& path) = 0;
};
