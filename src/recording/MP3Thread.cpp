#include "MP3Thread.h"

#include "id3/TID3v2Tag.h"

MP3Thread::MP3Thread(recording::FinishJob job, Dialogs& dialogs, Folders& folders, FileSystem& files)
    : job_(std::move(job)), dialogs_(dialogs), folders_(folders), files_(files) {}

void MP3Thread::run() {
    TID3v2Tag tag(dialogs_, folders_);
    result_ = recording::FinishRecordingFile(job_, tag, files_);
}
