#include "recordings/Kopieren.h"

#include "common/FileCopier.h"
#include "recording/RecordName.h"
#include "recordings/CopyLists.h"

Kopieren::Kopieren(QString recordingFolder, QString name, QStringList targetFolders, FileCopier& copier)
    : folder_(std::move(recordingFolder)), name_(std::move(name)), targets_(std::move(targetFolders)),
      copier_(copier) {}

void Kopieren::run() {
    msleep(500);
    emit copying();
    for (const QString& folder : targets_) {
        if (folder.isEmpty())
            continue;
        CopyOutcome outcome;
        QString name;
        // A file that appears under the chosen name meanwhile only moves the copy to the next name.
        for (int attempt = 0; attempt < 10; ++attempt) {
            name = recordings::NameOnTarget(name_, folder, recording::ExistsOnDisk);
            outcome = copier_.copy(source(), folder + name, false);
            if (outcome.result != CopyResult::Exists)
                break;
        }
        if (outcome.result != CopyResult::Done)
            emit failed(recordings::CopyFailureMessage(outcome, name_, folder));
        else if (recordings::StickName(name_) != name_)
            emit renamed(recordings::RenamedCopyMessage(name_, name, folder));
    }
}
