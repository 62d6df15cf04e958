#pragma once

#include "common/Drives.h"
#include "recordings/DriveEntries.h"

#include <QObject>
#include <vector>

class QListWidget;
class QListWidgetItem;
class TForm1;

// The list of drives under "hier ebenfalls speichern" (CheckListBox1): built from the volumes, rebuilt at
// every notice of a volume coming or going, with the checks and the folders the operator chose kept for
// the volumes still there.
class DriveList : public QObject {
public:
    explicit DriveList(TForm1& form);
    ~DriveList() override;

    void RefreshDriveList();
    // Replaces the lines of `list` by the target lines of the drive list; each line keeps its folder.
    void FillTargetList(QListWidget& list) const;
    void WMDeviceChange(const DriveNotice& notice);
    void CheckListBox1DblClick(QListWidgetItem* item);
    void CheckListBox1ClickCheck();

    // The checked entries, at most four, in list order.
    std::vector<recordings::DriveEntry> checkedEntries() const;

private:
    static recordings::DriveEntry entryOf(const QListWidgetItem& item);
    // The item of the volume mounted at `root`, or none.
    QListWidgetItem* itemOf(const QString& root) const;
    void addEntry(const Volume& volume, const std::vector<QListWidgetItem*>& before);
    void removeLeftParts(const QString& folder);
    void sizeGroup();
    void withdrawOtherSource(const QString& root);

    TForm1& form_;
};
