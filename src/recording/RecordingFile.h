#pragma once

#include <QString>
#include <memory>

class FileSystem;
class HeldFile;

namespace recording {

// Seconds of recording between two syncs of the temporary file: a power cut loses at most these.
inline constexpr double SyncSeconds = 5.0;

// The temporary file of a running recording, held open by the program itself (read only) from the moment
// the encoder has created it until its finishing is done: it is synced to the medium every SyncSeconds on
// a thread of its own (a disk that hangs never holds up the caller), and what the encoder wrote stays
// readable through it when the file's folder is removed or its volume unmounted.
class RecordingFile {
public:
    RecordingFile(FileSystem& files, QString folder, QString tempName);
    // Never waits for a sync that still runs; the sync keeps the file open until it returns.
    ~RecordingFile();
    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;

    // The tick of the recording at `seconds` (of this file): opens the file as soon as it exists, and
    // every SyncSeconds checks that its name still leads to it and starts a sync unless the last one still
    // runs. True when the file is found gone from its folder (the folder removed, its volume unmounted).
    bool tick(double seconds);

    const QString& folder() const { return folder_; }
    const QString& tempName() const { return tempName_; }
    // The open file; null while the encoder has not created it yet.
    std::shared_ptr<HeldFile> held() const { return held_; }

private:
    struct Sync;

    FileSystem& files_;
    const QString folder_;
    const QString tempName_;
    std::shared_ptr<HeldFile> held_;
    std::shared_ptr<Sync> sync_;
    double syncedAt_ = 0;
};

} // namespace recording
