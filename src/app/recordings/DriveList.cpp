#include "app/recordings/DriveList.h"

#include "app/TForm1.h"
#include "app/recordings/DriveEntryDelegate.h"
#include "app/recordings/RecordingCopies.h"
#include "common/Dialogs.h"
#include "common/FileCopier.h"
#include "settings/UiTexts.h"
#include "ui_TForm1.h"

#include <QListWidget>
#include <QSignalBlocker>

using recordings::DriveEntry;

DriveList::DriveList(TForm1& form) : form_(form) {
    Ui::TForm1& ui = form_.form();
    ui.CheckListBox1->setItemDelegate(new DriveEntryDelegate(ui.CheckListBox1));
    ui.CheckListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    form_.on(ui.Button2, &QPushButton::clicked, [this] { RefreshDriveList(); });
    connect(ui.CheckListBox1, &QListWidget::itemChanged, this,
            [this] { form_.step([this] { CheckListBox1ClickCheck(); }); });
    connect(ui.CheckListBox1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { form_.step([&] { CheckListBox1DblClick(item); }); });
    form_.services().drives.setListener(
        [this](const DriveNotice& notice) { form_.step([&] { WMDeviceChange(notice); }); });
}

DriveList::~DriveList() {
    form_.services().drives.setListener({});
}

DriveEntry DriveList::entryOf(const QListWidgetItem& item) {
    return {item.data(DriveEntryDelegate::FolderRole).toString(),
            item.data(DriveEntryDelegate::DescriptionRole).toString()};
}

void DriveList::RefreshDriveList() {
    Ui::TForm1& ui = form_.form();
    QListWidget* list = ui.CheckListBox1;
    std::vector<QListWidgetItem*> before;
    while (list->count() > 0)
        before.push_back(list->takeItem(0));
    int writable = 0;
    for (const Volume& volume : form_.services().drives.volumes()) {
        if (!volume.medium)
            continue;
        addEntry(volume, before);
        if (volume.kind == DriveRemovable || volume.kind == DriveFixed)
            ++writable;
    }
    qDeleteAll(before);
    if (writable > 0)
        ui.GroupBox4->show();
    sizeGroup();
    ui.Label12->setText(recordings::DriveListHeading(form_.uiTexts().at(UiText::SaveHereToo), list->count()));
}

void DriveList::addEntry(const Volume& volume, const std::vector<QListWidgetItem*>& before) {
    DriveEntry entry = recordings::DriveEntryOf(volume);
    Qt::CheckState checked = Qt::Unchecked;
    bool known = false;
    for (const QListWidgetItem* old : before) {
        if (old->data(DriveEntryDelegate::RootRole).toString() != volume.root)
            continue;
        entry = entryOf(*old);
        checked = old->checkState();
        known = true;
    }
    // A volume new to the list may hold what an interrupted copy of ours left; one in the list may be
    // receiving a copy right now.
    if (!known && !form_.recordingCopies().busy())
        removeLeftParts(entry.folder);
    auto* item = new QListWidgetItem(entry.text());
    item->setData(DriveEntryDelegate::FolderRole, entry.folder);
    item->setData(DriveEntryDelegate::DescriptionRole, entry.description);
    item->setData(DriveEntryDelegate::RootRole, volume.root);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked);
    const QSignalBlocker quiet(form_.form().CheckListBox1);
    form_.form().CheckListBox1->addItem(item);
}

void DriveList::removeLeftParts(const QString& folder) {
    const QStringList removed = form_.services().copier.removeLeftParts(folder);
    if (!removed.isEmpty())
        form_.services().dialogs.showMessage(
            uiText(UiText::LeftPartsRemoved, folder, removed.join(QLatin1Char('\n'))));
}

void DriveList::sizeGroup() {
    Ui::TForm1& ui = form_.form();
    const int room = ui.Panel2->height() - ui.GroupBox3->y() - 5;
    const int height = recordings::DriveGroupHeight(ui.CheckListBox1->count(), room);
    ui.GroupBox4->setGeometry(ui.GroupBox4->x(), ui.GroupBox3->y(), ui.GroupBox4->width(), height);
    ui.CheckListBox1->resize(ui.CheckListBox1->width(), height - ui.CheckListBox1->y() - 6);
}

void DriveList::FillTargetList(QListWidget& list) const {
    list.clear();
    const QListWidget* drives = form_.form().CheckListBox1;
    for (int i = 0; i < drives->count(); ++i) {
        const DriveEntry entry = entryOf(*drives->item(i));
        auto* line = new QListWidgetItem(recordings::TargetLine(entry), &list);
        line->setData(DriveEntryDelegate::FolderRole, entry.folder);
    }
}

void DriveList::WMDeviceChange(const DriveNotice& notice) {
    RefreshDriveList();
    form_.refreshCopyTargets();
    Ui::TForm1& ui = form_.form();
    if (notice.medium)
        ui.Label11->setText(
            uiText(notice.event == DriveNotice::Arrival ? UiText::MediumInserted : UiText::MediumRemoved,
                   notice.volume.name));
    if (notice.event == DriveNotice::Removal)
        withdrawOtherSource(notice.volume.root);
}

void DriveList::withdrawOtherSource(const QString& root) {
    Ui::TForm1& ui = form_.form();
    // The label shows the other source's path; its full path is kept beside it when the text is shortened.
    QString path = ui.Label7->property("path").toString();
    if (path.isEmpty())
        path = ui.Label7->text();
    if (!recordings::LiesOnVolume(path, root))
        return;
    ui.Label7->setText(form_.uiTexts().at(UiText::OtherSource));
    ui.Label7->setProperty("path", QString());
    ui.Label11->setText(QStringLiteral("---"));
    // A checked radio button of a group cannot be unchecked while it is exclusive.
    ui.RadioButton2->setAutoExclusive(false);
    ui.RadioButton2->setChecked(false);
    ui.RadioButton2->setAutoExclusive(true);
    form_.CheckBox1Click();
}

void DriveList::CheckListBox1DblClick(QListWidgetItem* item) {
    if (!item)
        return;
    // The dialogs below run events: a drive notice meanwhile rebuilds the list and frees `item`, so only
    // its volume's root is kept and its entry looked up again afterwards.
    const QString root = item->data(DriveEntryDelegate::RootRole).toString();
    const Qt::CheckState checked = item->checkState();
    const DriveEntry before = entryOf(*item);
    item = nullptr;
    QString folder = form_.services().dialogs.chooseFolder(uiText(UiText::ChooseCopyFolder), before.folder);
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (!folder.isEmpty() && !recordings::LiesOnVolume(folder, root)) {
        // A folder elsewhere would take the copies off the stick the entry names.
        form_.services().dialogs.showMessage(uiText(UiText::FolderNotOnMedium, root));
        folder.clear();
    }
    QListWidgetItem* now = itemOf(root);
    if (!now)
        return; // the volume went away meanwhile
    const QSignalBlocker quiet(form_.form().CheckListBox1);
    now->setCheckState(checked);
    if (folder.isEmpty())
        return;
    const DriveEntry entry{folder, entryOf(*now).description.left(25)};
    now->setText(entry.text());
    now->setData(DriveEntryDelegate::FolderRole, entry.folder);
    now->setData(DriveEntryDelegate::DescriptionRole, entry.description);
    if (!form_.recordingCopies().busy())
        removeLeftParts(entry.folder);
}

QListWidgetItem* DriveList::itemOf(const QString& root) const {
    const QListWidget* list = form_.form().CheckListBox1;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(DriveEntryDelegate::RootRole).toString() == root)
            return list->item(i);
    return nullptr;
}

void DriveList::CheckListBox1ClickCheck() {
    QListWidget* list = form_.form().CheckListBox1;
    std::vector<DriveEntry> entries;
    std::vector<bool> checked;
    for (int i = 0; i < list->count(); ++i) {
        entries.push_back(entryOf(*list->item(i)));
        checked.push_back(list->item(i)->checkState() == Qt::Checked);
    }
    const std::vector<bool> allowed = recordings::AllowedChecks(entries, checked);
    const QSignalBlocker quiet(list);
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(allowed[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
}

std::vector<DriveEntry> DriveList::checkedEntries() const {
    std::vector<DriveEntry> checked;
    const QListWidget* list = form_.form().CheckListBox1;
    for (int i = 0; i < list->count() && checked.size() < 4; ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            checked.push_back(entryOf(*list->item(i)));
    return checked;
}
