#pragma once

#include "common/MediaDevice.h"

#include <QDialog>
#include <vector>

class QListWidget;

// Offers the tracks of the audio CDs in the drives (number and length) beside the choice of a file.
class CdTrackChooser : public QDialog {
    Q_OBJECT

public:
    CdTrackChooser(const std::vector<AudioDisc>& discs, QWidget* parent = nullptr);

    // After Accepted: the chosen track's path, or empty when a file is to be chosen instead.
    QString chosenTrack() const { return chosen_; }
    QListWidget& trackList() { return *list_; }
    // Accepts with the track of row `row`, or with "choose a file" for -1.
    void choose(int row);

private:
    QListWidget* list_;
    QString chosen_;
};
