#include "app/playback/CdTrackChooser.h"

#include "playback/CdTracks.h"
#include "settings/UiTexts.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CdTrackChooser::CdTrackChooser(const std::vector<AudioDisc>& discs, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
    setWindowTitle(uiText(UiText::ChooseOtherSource));
    for (const AudioDisc& disc : discs)
        for (const CdTrack& track : disc.tracks) {
            auto* item = new QListWidgetItem(uiText(UiText::CdTrackLine, disc.device,
                                                    QStringLiteral("%1").arg(track.number, 2),
                                                    playback::CdLengthText(track.length)),
                                             list_);
            item->setData(Qt::UserRole, playback::CdTrackPath(disc.device, track.number));
        }
    list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* take = buttons->addButton(uiText(UiText::ChooseTrack), QDialogButtonBox::AcceptRole);
    QPushButton* file = buttons->addButton(uiText(UiText::ChooseFile), QDialogButtonBox::ActionRole);
    buttons->addButton(uiText(UiText::Cancel), QDialogButtonBox::RejectRole);
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
