#pragma once

#include <QString>
#include <cstdint>
#include <memory>

// A file the program holds open for reading, whatever happens to its name meanwhile: its data stays
// readable through it after the file was removed or its volume unmounted. Closed when the last owner lets
// go of it. Every operation may be called from any thread.
class HeldFile {
public:
    virtual ~HeldFile() = default;

    // Whether `path` still names this very file (false when the file or its folder was removed, or the
    // volume unmounted).
    virtual bool isAt(const QString& path) = 0;
    // Writes the file's data to its medium; false when that failed.
    virtual bool syncData() = 0;
    // Reads up to `size` bytes at `offset`; the bytes read, 0 at the end, -1 on an error.
    virtual std::int64_t read(char* data, std::int64_t size, std::int64_t offset) = 0;
};

// The operations on files that keep recordings safe across a crash or a power cut.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens the file at `path` for reading, never inherited by a child process; null when it cannot.
    virtual std::shared_ptr<HeldFile> hold(const QString& path) = 0;
    // Writes the data and the size of the file at `path` to its medium; false when that failed.
    virtual bool syncFile(const QString& path) = 0;
    // Writes the entries of `folder` (new names, renames) to its medium; false when that failed.
    virtual bool syncFolder(const QString& folder) = 0;
};
