#include "app/recording/RecordingFinisher.h"

#include "app/TForm1.h"
#include "app/recording/RecordingControl.h"
#include "common/DateTime.h"
#include "common/Dialogs.h"
#include "id3/TID3v2Tag.h"
#include "recording/EncoderFault.h"
#include "recording/LeftRecordings.h"
#include "recording/MP3Thread.h"
#include "recording/MeetingDefaults.h"
#include "recording/RecordingNames.h"
#include "settings/UiTexts.h"

#include <QFileInfo>

namespace {
QString closeFailed(int error) {
    return uiText(UiText::CantCloseMp3, QString::number(error));
}
} // namespace

RecordingFinisher::RecordingFinisher(TForm1& form) : form_(form) {
    connect(this, &RecordingFinisher::idle, this, [this] { form_.recordingControl().finishingDone(); });
}

RecordingFinisher::~RecordingFinisher() {
    if (running_)
        running_->wait();
}

AudioLibrary::EncoderExited RecordingFinisher::handOver(recording::FinishJob job, bool quiet) {
    const std::uint64_t id = ++lastId_;
    queue_.push_back({id, std::move(job)});
    // The engine tells the exit on a thread of its own; the finishing goes on on the UI thread.
    return [this, id, quiet](int error) {
        const int told = quiet ? 0 : error;
        QMetaObject::invokeMethod(
            this, [this, id, told] { form_.step([&] { encoderExited(id, told); }); }, Qt::QueuedConnection);
    };
}

void RecordingFinisher::finish(recording::FinishJob job, AudioHandle encoder) {
    AudioLibrary& audio = form_.services().audio;
    // An encoder that died has been told already.
    const bool interrupted = job.interrupted;
    const std::uint64_t id = lastId_ + 1;
    if (!audio.EncodeStop(encoder, handOver(std::move(job), interrupted))) {
        form_.services().dialogs.showMessage(closeFailed(audio.ErrorGetCode()));
        encoderExited(id, 0);
    }
}

AudioHandle RecordingFinisher::finishReplaced(recording::FinishJob job, AudioHandle encoder,
                                              const QString& commandLine) {
    AudioLibrary& audio = form_.services().audio;
    const AudioHandle next = audio.EncodeRestart(encoder, commandLine, handOver(std::move(job), true));
    if (next == 0)
        queue_.pop_back();
    return next;
}

void RecordingFinisher::FinishLeftRecordings() {
    const QString folder = form_.settings().RecordingFolder;
    const QString user = form_.state().user;
    const auto nameOfDay = [&](const QDate& day) {
        return recording::SetRecordingDefaults(dayOfWeek(toDateTime(day)), form_.uiTexts(),
                                               form_.settings().FileNameOrder, user, day,
                                               recording::NoSplitting)
            .DefaultFileName1;
    };
    const Services& services = form_.services();
    TID3v2Tag tag(services.dialogs, services.folders);
    QStringList lines;
    for (const recording::FinishJob& job :
         recording::LeftRecordingJobs(folder, nameOfDay, QStringLiteral("Kandolor ") + user)) {
        const recording::FinishResult result = recording::FinishRecordingFile(job, tag, services.files);
        lines << job.tempName + QStringLiteral(" → ") +
                     (result.finalName.isEmpty() ? uiText(UiText::NotRenamed) : result.finalName);
    }
    if (!lines.isEmpty())
        services.dialogs.showMessage(
            uiText(UiText::LeftRecordingsKept, folder, lines.join(QLatin1Char('\r'))));
}

QSet<QString> RecordingFinisher::busyFiles() const {
    QSet<QString> files;
    for (const Stopped& stopped : queue_)
        files << stopped.job.tempPath();
    if (running_)
        files << running_->job().tempPath();
    return files;
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
        if (!QFileInfo::exists(job.tempPath()) && !job.held)
            continue;
        const Services& services = form_.services();
        running_ =
            std::make_unique<MP3Thread>(std::move(job), services.dialogs, services.folders, services.files);
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
    const recording::FinishJob& job = done->job();
    const QString path = job.folder + (result.finalName.isEmpty() ? job.tempName : result.finalName);
    if (!result.problem.isEmpty())
        form_.services().dialogs.showMessage(result.problem);
    if (job.followed)
        parts_.insert(job.tempPath(), path);
    if (!job.earlierParts.isEmpty()) {
        // A part its encoder wrote nothing of has no file.
        QStringList files;
        for (const QString& part : job.earlierParts)
            if (parts_.contains(job.folder + part))
                files << parts_.take(job.folder + part);
        files << path;
        form_.services().dialogs.showMessage(recording::PartsMessage(files, job.interrupted));
    } else if (result.problem.isEmpty() && job.interrupted)
        form_.services().dialogs.showMessage(
            uiText(UiText::KeptSoFar, done->job().folder + result.finalName));
    if (result.problem.isEmpty() && done->job().kopie)
        form_.StartCopies(done->job(), result.finalName);
    tellIdle();
}

void RecordingFinisher::tellIdle() {
    if (!busy())
        emit idle();
}
