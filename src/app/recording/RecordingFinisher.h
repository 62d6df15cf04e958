#pragma once

#include "common/AudioLibrary.h"
#include "recording/FinishJob.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <cstdint>
#include <deque>
#include <memory>

class MP3Thread;
class TForm1;

// Finishes stopped recordings: once a recording's encoder has exited, its file is renamed and tagged on a
// finishing thread, one file after the other, then handed over to the copies. The window goes on meanwhile.
class RecordingFinisher : public QObject {
    Q_OBJECT

public:
    explicit RecordingFinisher(TForm1& form);
    ~RecordingFinisher() override;

    // Stops `encoder` and finishes `job`'s file when the encoder has exited. Files are finished in the order
    // of their stops, so the numbering rule numbers them in that order.
    void finish(recording::FinishJob job, AudioHandle encoder);
    // Replaces the running recording's failed `encoder` by one started with `commandLine` and finishes
    // `job`'s file, the part written so far, once the old encoder has exited. The new encoder's handle; 0
    // when it could not start, and nothing is handed over then.
    AudioHandle finishReplaced(recording::FinishJob job, AudioHandle encoder, const QString& commandLine);
    // Finishes the temporary recordings an earlier run left in the recording folder and tells the
    // operator which they were and where they are now.
    void FinishLeftRecordings();
    // The temporary files of the recordings not finished yet.
    QSet<QString> busyFiles() const;
    // An encoder is still to exit or a file still to be finished.
    bool busy() const { return running_ || !queue_.empty(); }

signals:
    // Everything handed over has been finished.
    void idle();

private:
    struct Stopped {
        std::uint64_t id;
        recording::FinishJob job;
        bool exited = false;
    };

    // Queues `job`; the engine's call when its encoder has exited (errors told unless `quiet`).
    AudioLibrary::EncoderExited handOver(recording::FinishJob job, bool quiet);
    void encoderExited(std::uint64_t id, int error);
    void startNext();
    void threadDone();
    void tellIdle();

    TForm1& form_;
    std::uint64_t lastId_ = 0;
    std::deque<Stopped> queue_;
    std::unique_ptr<MP3Thread> running_;
    // Where the finished parts of a recording whose encoder was replaced went: temporary path → full path.
    QHash<QString, QString> parts_;
};
