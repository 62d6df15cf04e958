#include "app/recordings/RecordingCopies.h"

#include "app/TForm1.h"
#include "common/Dialogs.h"
#include "recordings/Kopieren.h"
#include "settings/UiTexts.h"
#include "ui_TForm1.h"

RecordingCopies::RecordingCopies(TForm1& form) : form_(form) {}

RecordingCopies::~RecordingCopies() {
    if (!workers_.empty())
        workers_.front()->wait();
}

void RecordingCopies::copy(const QString& folder, const QString& name, const QStringList& targets) {
    auto worker = std::make_unique<Kopieren>(folder, name, targets, form_.services().copier);
    Kopieren* started = worker.get();
    connect(started, &Kopieren::copying, this, [this] {
        QLabel* label = form_.form().Label12;
        label->setText(uiText(UiText::DoNotRemoveStick));
        label->setStyleSheet(QStringLiteral("color: #ff0000;"));
    });
    for (const auto signal : {&Kopieren::failed, &Kopieren::renamed})
        connect(started, signal, this, [this](const QString& message) {
            form_.step([&] { form_.services().dialogs.showMessage(message); });
        });
    connect(started, &QThread::finished, this, [this] { form_.step([this] { workerDone(); }); });
    workers_.push_back(std::move(worker));
    if (workers_.size() == 1)
        startNext();
}

void RecordingCopies::startNext() {
    if (!workers_.empty())
        workers_.front()->start(QThread::LowestPriority);
}

void RecordingCopies::workerDone() {
    workers_.front()->wait();
    workers_.pop_front();
    if (!workers_.empty()) {
        startNext();
        return;
    }
    QLabel* label = form_.form().Label12;
    label->setStyleSheet(QString());
    label->setText(uiText(UiText::SaveHereToo));
    emit idle();
}

QSet<QString> RecordingCopies::busyFiles() const {
    QSet<QString> files;
    for (const auto& worker : workers_)
        files << worker->source();
    return files;
}
