#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

// How a copy ended.
enum class CopyResult {
    Done,           // the data and the folder entry are on the medium
    Exists,         // the target exists and was not to be replaced; nothing was written
    Full,           // no room left on the target medium
    WriteProtected, // the medium or the folder cannot be written
    Gone,           // the medium went away during the copy
    NameRefused,    // the medium's file system does not take the name
    SourceMissing,  // the source cannot be read
    Failed,         // any other error (a write error of a medium that is still there)
};

struct CopyOutcome {
    CopyResult result = CopyResult::Failed;
    QString detail; // the system's error text, for tests and diagnostics; never shown to the operator
};

// Durable copies of files: the copy is written under a partial name beside the target, synced, renamed
// to the target and the folder synced; a failed copy removes its partial file and never touches the
// source. Blocking: call it from a worker thread. Safe to use from several threads at once.
class FileCopier {
public:
    virtual ~FileCopier() = default;

    // Progress: bytes copied so far and the size of the source.
    using Progress = std::function<void(std::int64_t done, std::int64_t total)>;

    // Copies source to target (a full file name). An existing target is replaced only when `replace`.
    virtual CopyOutcome copy(const QString& source, const QString& target, bool replace,
                             const Progress& progress = {}) = 0;
    // Removes the partial files that interrupted copies left directly in folder; returns their names.
    virtual QStringList removeLeftParts(const QString& folder) = 0;
};
