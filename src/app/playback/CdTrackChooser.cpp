#include "app/playback/CdTrackChooser.h"

#include "playback/CdTracks.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CdTrackChooser::CdTrackChooser(const std::vector<AudioDisc>& discs, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("andere Quelle auswählen"));
    for (const AudioDisc& disc : discs)
        for (const CdTrack& track : disc.tracks) {
            auto* item = new QListWidgetItem(QStringLiteral("Audio-CD %1   Spur %2   %3")
                                                 .arg(disc.device)
                                                 .arg(track.number, 2)
                                                 .arg(playback::CdLengthText(track.length)),
                                             list_);
            item->setData(Qt::UserRole, playback::CdTrackPath(disc.device, track.number));
        }
    list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* take = buttons->addButton(QStringLiteral("Spur wählen"), QDialogButtonBox::AcceptRole);
    QPushButton* file = buttons->addButton(QStringLiteral("Datei wählen …"), QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(take, &QPushButton::clicked, this, [this] { choose(list_->currentRow()); });
    connect(file, &QPushButton::clicked, this, [this] { choose(-1); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { choose(list_->currentRow()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(420, 260);
}

void CdTrackChooser::choose(int row) {
    QListWidgetItem* item = row >= 0 ? list_->item(row) : nullptr;
    chosen_ = item ? item->data(Qt::UserRole).toString() : QString();
    accept();
}
