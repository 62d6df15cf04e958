#include "app/recording/RecordingFinisher.h"

#include "app/TForm1.h"
#include "common/Dialogs.h"
#include "recording/MP3Thread.h"

#include <QFileInfo>

namespace {
QString closeFailed(int error) {
    return QStringLiteral("Can't close mp3-file  Error ") + QString::number(error);
}
} // namespace

RecordingFinisher::RecordingFinisher(TForm1& form) : form_(form) {}

RecordingFinisher::~RecordingFinisher() {
    if (running_)
        running_->wait();
}

void RecordingFinisher::finish(recording::FinishJob job, AudioHandle encoder) {
    AudioLibrary& audio = form_.services().audio;
    const std::uint64_t id = ++lastId_;
    queue_.push_back({id, std::move(job)});
    // The engine tells the exit on a thread of its own; the finishing goes on on the UI thread.
    const bool stopping = audio.EncodeStop(encoder, [this, id](int error) {
        QMetaObject::invokeMethod(
            this, [this, id, error] { form_.step([&] { encoderExited(id, error); }); }, Qt::QueuedConnection);
    });
    if (!stopping) {
        form_.services().dialogs.showMessage(closeFailed(audio.ErrorGetCode()));
        encoderExited(id, 0);
    }
}

void RecordingFinisher::encoderExited(std::uint64_t id, int error) {
    if (error != 0)
        form_.services().dialogs.showMessage(closeFailed(error));
    for (Stopped& stopped : queue_)
        if (stopped.id == id)
            stopped.exited = true;
    startNext();
    tellIdle();
}

void RecordingFinisher::startNext() {
    while (!running_ && !queue_.empty() && queue_.front().exited) {
        recording::FinishJob job = std::move(queue_.front().job);
        queue_.pop_front();
        // Whatever the encoder wrote is kept and finished; without a file there is nothing to do.
        if (!QFileInfo::exists(job.tempPath()))
            continue;
        const Services& services = form_.services();
        running_ = std::make_unique<MP3Thread>(std::move(job), services.dialogs, services.folders);
        connect(running_.get(), &QThread::finished, this, [this] { form_.step([this] { threadDone(); }); });
        running_->start(QThread::LowestPriority);
    }
}

void RecordingFinisher::threadDone() {
    std::unique_ptr<MP3Thread> done = std::move(running_);
    done->wait();
    const recording::FinishResult& result = done->result();
    // The next file is finished while the operator reads about this one.
    startNext();
    if (!result.problem.isEmpty())
        form_.services().dialogs.showMessage(result.problem);
    else if (done->job().kopie)
        form_.StartCopies(done->job(), result.finalName);
    tellIdle();
}

void RecordingFinisher::tellIdle() {
    if (!busy())
        emit idle();
}
