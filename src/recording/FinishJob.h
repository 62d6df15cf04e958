#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class FileSystem;
class HeldFile;

class TID3v2Tag;

namespace recording {

// Everything the finishing of one recording reads, copied from the window when the recording stops, so
// that the next recording may change the fields at once.
struct FinishJob {
    QString folder;   // RecordingFolder
    QString tempName; // the name the encoder wrote under (hand-over slot 10)
    QString fileName; // the file name field at the stop (slot 4)
    bool neu = false; // the fields were changed: the tag is rewritten
    QString topic;    // slots 1..3
    QString speaker;
    QString comment;
    QString album; // "Kandolor " + user
    QString year;  // the first four characters of DateString
    std::array<QString, 4>
        targets;              // the folders of the checked copy targets (slots 5..8), empty when not used
    bool kopie = false;       // at least one target
    bool interrupted = false; // stopped by a fault that was told: the finishing tells where the file is
    bool recovered = false;   // left by an earlier run: the encoder's texts stay, the album gets the mark
    // The temporary names of the parts of the same recording before this one (written by encoders that
    // failed and were replaced), finished before it.
    QStringList earlierParts;
    bool followed = false; // another part follows: where this one went is told with the last
    // The temporary file as the program holds it open; when its name no longer leads to it (its folder was
    // removed, its volume unmounted), what it holds is copied into `folder` first.
    std::shared_ptr<HeldFile> held;

    QString tempPath() const { return folder + tempName; }
};

// What the finishing came to: the final name (slot 9, empty when the file kept its temporary name) and,
// when something went wrong, the message for the operator.
struct FinishResult {
    QString finalName;
    QString problem;
};

// The finishing of a recording whose encoder has exited: the numbering rule on the name of the file name
// field, the rename (which never replaces a file), then the tag: with `neu` title, artist, comment, album
// and year from the job (an empty text removes its frame); otherwise the encoder's texts stay, and only its
// comment frame is written again in a form every reader takes (and a recovered file gets the album). The file
// and its folder are synced to the medium before the rename and after the tag.
FinishResult FinishRecordingFile(const FinishJob& job, TID3v2Tag& tag, FileSystem& files);

// Temporary names of files copied out of a held file lie above this number, clear of the encoder's.
inline constexpr int RescuedNumber = 100000;

} // namespace recording
