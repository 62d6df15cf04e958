#include "LeftRecordings.h"

#include <QDir>
#include <QRegularExpression>

namespace recording {

bool IsTempRecordingName(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^aufnahme[0-9]+\\.mp3$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

std::vector<FinishJob> LeftRecordingJobs(const QString& folder,
                                         const std::function<QString(QDate)>& nameOfDay,
                                         const QString& album) {
    std::vector<FinishJob> jobs;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& file : files) {
        if (!IsTempRecordingName(file.fileName()))
            continue;
        FinishJob job;
        job.folder = folder;
        job.tempName = file.fileName();
        job.fileName = nameOfDay(file.lastModified().date());
        job.recovered = true;
        job.album = album;
        jobs.push_back(job);
    }
    return jobs;
}

} // namespace recording
