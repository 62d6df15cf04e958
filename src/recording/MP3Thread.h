#pragma once

#include "FinishJob.h"

#include <QThread>

class Dialogs;
class FileSystem;
class Folders;

// The finishing of one recording on a thread of its own at the lowest priority, with its own tag object,
// on the job's copy of what it reads. result() is valid once the thread has finished.
class MP3Thread : public QThread {
public:
    MP3Thread(recording::FinishJob job, Dialogs& dialogs, Folders& folders, FileSystem& files);

    const recording::FinishJob& job() const { return job_; }
    const recording::FinishResult& result() const { return result_; }

protected:
    void run() override;

private:
    const recording::FinishJob job_;
    Dialogs& dialogs_;
    Folders& folders_;
    FileSystem& files_;
    recording::FinishResult result_;
};
