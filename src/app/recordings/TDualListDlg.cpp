#include "app/recordings/TDualListDlg.h"

#include "app/TForm1.h"
#include "app/recordings/BusyRecordings.h"
#include "app/recordings/DriveEntryDelegate.h"
#include "app/recordings/DriveList.h"
#include "app/recordings/SourceListDelegate.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/FileCopier.h"
#include "recordings/CopyLists.h"
#include "settings/UiTexts.h"
#include "ui_TDualListDlg.h"

#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>

TDualListDlg::TDualListDlg(TForm1& form)
    : QDialog(&form), ui(std::make_unique<Ui::TDualListDlg>()), main_(form) {
    ui->setupUi(this);
    ui->SrcList->setItemDelegate(new SourceListDelegate(ui->SrcList));
    main_.on(ui->send, &QPushButton::clicked, [this] { sendClick(); });
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate(main_.uiTexts());
}

TDualListDlg::~TDualListDlg() = default;

void TDualListDlg::FormCreate(const QStringList& uiTexts) {
    setWindowTitle(uiTexts.at(UiText::CopyDialogCaption));
    ui->SrcLabel->setText(uiTexts.at(UiText::ExistingRecordings));
    ui->DstLabel->setText(uiTexts.at(UiText::DrivesLabel));
    ui->send->setText(uiTexts.at(UiText::CopyButton));
    ui->OKBtn->setText(uiTexts.at(UiText::Close));
}

bool TDualListDlg::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        main_.step([this] { FormActivate(); });
    return QDialog::event(event);
}

void TDualListDlg::FormActivate() {
    ui->SrcList->clear();
    main_.driveList().FillTargetList(*ui->DstList);
    const QString folder = main_.settings().RecordingFolder;
    const QSet<QString> unfinished = UnfinishedRecordings(main_);
    auto recordings = recordings::ListRecordings(folder);
    std::erase_if(recordings, [&](const recordings::RecordingFile& file) {
        return unfinished.contains(folder + file.name);
    });
    ui->SrcList->addItems(
        recordings::SourceList(recordings, main_.services().clock.today(), main_.uiTexts()));
}

void TDualListDlg::sendClick() {
    QStringList folders;
    std::vector<bool> selected;
    for (int i = 0; i < ui->DstList->count(); ++i) {
        folders << ui->DstList->item(i)->data(DriveEntryDelegate::FolderRole).toString();
        selected.push_back(ui->DstList->item(i)->isSelected());
    }
    const QStringList targets = recordings::TakenTargets(folders, selected);
    if (targets.isEmpty()) {
        main_.services().dialogs.showMessage(uiText(UiText::NoTargetChosen));
        return;
    }
    QStringList lines;
    selected.clear();
    for (int i = 0; i < ui->SrcList->count(); ++i) {
        lines << ui->SrcList->item(i)->text();
        selected.push_back(ui->SrcList->item(i)->isSelected());
    }
    const QStringList sources =
        recordings::SelectedSources(lines, selected, main_.settings().RecordingFolder);
    ui->send->setEnabled(false);
    copying_ = true;
    if (!sources.isEmpty())
        runCopies(tasksFor(targets, sources));
    copying_ = false;
    ui->send->setEnabled(true);
}

std::vector<TDualListDlg::Task> TDualListDlg::tasksFor(const QStringList& targets,
                                                       const QStringList& sources) {
    std::vector<Task> tasks;
    for (const QString& folder : targets) {
        for (const QString& source : sources) {
            const QString name = recordings::StickName(QFileInfo(source).fileName());
            Task task{source, folder + name, false};
            if (QFileInfo::exists(task.target)) {
                task.replace = main_.services().dialogs.confirm(
                    uiText(UiText::ReplaceFileTitle), uiText(UiText::ReplaceFileQuestion, folder, name));
                if (!task.replace)
                    continue;
            }
            tasks.push_back(task);
        }
    }
    return tasks;
}

void TDualListDlg::runCopies(const std::vector<Task>& tasks) {
    if (tasks.empty())
        return;
    std::int64_t total = 0;
    for (const Task& task : tasks)
        total += QFileInfo(task.source).size();
    std::atomic<std::int64_t> copied{0};
    std::atomic<int> current{0};
    QStringList messages;
    FileCopier& copier = main_.services().copier;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        std::int64_t before = 0;
        for (std::size_t i = 0; i < tasks.size(); ++i) {
            current = static_cast<int>(i);
            const Task& task = tasks[i];
            const CopyOutcome outcome =
                copier.copy(task.source, task.target, task.replace,
                            [&](std::int64_t done, std::int64_t) { copied = before + done; });
            before += QFileInfo(task.source).size();
            copied = before;
            const QFileInfo target(task.target);
            if (outcome.result != CopyResult::Done)
                messages << recordings::CopyFailureMessage(outcome, task.source, target.path());
            else if (target.fileName() != QFileInfo(task.source).fileName())
                messages << recordings::RenamedCopyMessage(task.source, target.fileName(), target.path());
        }
    }));
    // Progress in kilobytes, so a large copy fits the dialog's range.
    QProgressDialog progress(QString(), QString(), 0, static_cast<int>(total / 1024), this);
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    QTimer poll;
    connect(&poll, &QTimer::timeout, &progress, [&] {
        const Task& task = tasks[static_cast<std::size_t>(current.load())];
        progress.setLabelText(uiText(UiText::CopyingProgress, QFileInfo(task.source).fileName(),
                                     QFileInfo(task.target).path()));
        progress.setValue(static_cast<int>(copied / 1024));
    });
    QEventLoop finished;
    connect(worker.get(), &QThread::finished, &finished, &QEventLoop::quit);
    worker->start();
    poll.start(100);
    finished.exec();
    worker->wait();
    progress.reset();
    for (const QString& message : messages)
        main_.services().dialogs.showMessage(message);
}
