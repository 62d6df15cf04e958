#include "app/songs/SongLibrary.h"

#include "app/TForm1.h"
#include "app/music/MusicBlock.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/Folders.h"
#include "common/KandolorError.h"
#include "songs/NumberPicker.h"
#include "songs/SlotNumber.h"
#include "songs/SongFiles.h"
#include "songs/WeekSlots.h"
#include "ui_TForm1.h"

#include <QShortcut>

void SongLibrary::colourField(QComboBox* field, Rgb colour) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, QColor(colour.red, colour.green, colour.blue));
    field->setPalette(palette);
    if (field->lineEdit())
        field->lineEdit()->setPalette(palette);
}

SongLibrary::SongLibrary(TForm1& form) : form_(form) {
    Ui::TForm1& ui = form_.form();
    for (int slot = 1; slot <= 3; ++slot) {
        // Typing runs the handler; programmatic changes call it explicitly.
        form_.on(field(slot)->lineEdit(), &QLineEdit::textEdited, [this, slot] { ComboBoxChange(slot); });
    }
    for (int caller = 1; caller <= 5; ++caller)
        form_.on(field(caller), &PickerComboBox::dropDown, [this, caller] { ComboBoxDropDown(caller); });
    QObject::connect(ui.StringGrid1, &QTableWidget::cellClicked, &form_, [this](int row, int column) {
        form_.step([=, this] { StringGrid1SelectCell(column, row); });
    });
    QObject::connect(ui.StringGrid1, &QTableWidget::currentCellChanged, &form_, [this](int row, int column) {
        if (row >= 0 && column >= 0)
            form_.step([=, this] { StringGrid1SelectCell(column, row); });
    });
    // Escape closes the picker and leaves the number as it was.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), ui.StringGrid1);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    form_.on(escape, &QShortcut::activated, [this] { StringGrid1Escape(); });
    form_.on(ui.Liedereinlesen, &QAction::triggered, [this] { LiedereinlesenClick(); });
}

PickerComboBox* SongLibrary::field(int caller) const {
    Ui::TForm1& ui = form_.form();
    PickerComboBox* fields[] = {ui.ComboBox1, ui.ComboBox2, ui.ComboBox3, ui.ComboBox4, ui.ComboBox6};
    return fields[caller - 1];
}

QCheckBox* SongLibrary::checkBox(int slot) const {
    Ui::TForm1& ui = form_.form();
    QCheckBox* boxes[] = {ui.CheckBox1, ui.CheckBox2, ui.CheckBox3};
    return boxes[slot - 1];
}

void SongLibrary::ComboBoxChange(int slot) {
    AppState& state = form_.state();
    state.CdSource = false;
    const SongSource source{state.pfad_lk, state.SongLanguageCode, form_.songConfig().SongFileExt,
                            form_.songConfig().liedanzahl};
    SlotCheck check;
    try {
        check = checkSlot(field(slot)->currentText(), source);
    } catch (const KandolorError&) {
        hidePicker(); // a failed file search is swallowed
        return;
    }
    // The opening song is the first background song only while its number is valid.
    if (slot == 1 && check.state != SlotState::Found)
        form_.musicBlock().withdrawOpeningSong();
    switch (check.state) {
    case SlotState::NotANumber:
        return;
    case SlotState::NoFile:
        hidePicker();
        return;
    case SlotState::OutOfRange:
        checkBox(slot)->setChecked(false);
        colourField(field(slot), SlotInvalidColour);
        break;
    case SlotState::Found:
        state.SlotFiles[static_cast<std::size_t>(slot)] = check.file;
        break;
    }
    try {
        if (check.state == SlotState::Found)
            takeSlot(slot);
        form_.CheckBox1Click();
    } catch (const std::exception&) {
        hidePicker(); // failures of the hand-over are swallowed
    }
}

void SongLibrary::takeSlot(int slot) {
    Ui::TForm1& ui = form_.form();
    checkBox(slot)->setEnabled(true);
    checkBox(slot)->setChecked(true);
    form_.state().SlotChosen = true;
    colourField(field(slot), SlotValidColour);
    if (slot == 1 && ui.BitBtn5->property("Tag").toInt() == 0) {
        ui.ComboBox6->setProperty("Tag", 0);
        ui.ComboBox6->setEditText(ui.ComboBox1->currentText());
        form_.ComboBox6Change();
    }
}

void SongLibrary::ComboBoxDropDown(int caller) {
    Ui::TForm1& ui = form_.form();
    PickerComboBox* source = field(caller);
    // The background list's entry field marks the opening song's number and opens below its group.
    const bool music = caller == 5;
    const QString marked = music ? ui.ComboBox1->currentText() : source->currentText();
    const int code = caller == NumberPicker::SpecialSong
                         ? NumberPicker::requestCode(caller, 0)
                         : NumberPicker::slotRequestCode(caller, marked); // throws on text
    const QWidget* anchor = caller == NumberPicker::SpecialSong ? static_cast<QWidget*>(ui.GroupBox2)
                            : music                             ? static_cast<QWidget*>(ui.GroupBox5)
                                                                : ui.Panel2;
    const QPoint corner = anchor->mapTo(form_.centralWidget(), QPoint(0, 0));
    const int top = music ? corner.y() + ui.GroupBox5->height() + 10
                          : NumberPicker::topBelow(source->y(), source->height());
    QTableWidget* grid = ui.StringGrid1;
    grid->move(corner.x(), top);
    const QRect options(ui.GroupBox4->mapTo(form_.centralWidget(), QPoint(0, 0)), ui.GroupBox4->size());
    if (music && grid->geometry().intersects(options))
        ui.GroupBox4->hide();
    grid->setProperty("Tag", code);
    markPickerCell();
    {
        const QSignalBlocker blocker(grid);
        grid->setCurrentCell(-1, -1);
    }
    grid->show();
    grid->raise();
    grid->setFocus();
}

void SongLibrary::markPickerCell() {
    QTableWidget* grid = form_.form().StringGrid1;
    const std::optional<NumberPicker::Cell> marked = NumberPicker::markedCell(grid->property("Tag").toInt());
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            if (QTableWidgetItem* item = grid->item(r, c))
                item->setBackground(marked == NumberPicker::Cell{r, c} ? QBrush(QColor(0, 128, 0))
                                                                       : QBrush());
}

void SongLibrary::StringGrid1SelectCell(int column, int row) {
    QTableWidget* grid = form_.form().StringGrid1;
    if (grid->isHidden())
        return;
    const int number = NumberPicker::numberAt(row, column);
    const int caller = NumberPicker::callerOf(grid->property("Tag").toInt());
    if (caller >= 1 && caller <= 5) {
        field(caller)->setEditText(QString::number(number));
        if (caller <= 3)
            ComboBoxChange(caller);
        else if (caller == 4)
            form_.ComboBox4Change();
        else
            form_.ComboBox6Change();
    }
    hidePicker();
}

void SongLibrary::StringGrid1Escape() {
    QTableWidget* grid = form_.form().StringGrid1;
    if (grid->isHidden())
        return;
    const int caller = NumberPicker::callerOf(grid->property("Tag").toInt());
    hidePicker();
    if (caller >= 1 && caller <= 5)
        field(caller)->setFocus();
}

void SongLibrary::hidePicker() {
    form_.form().StringGrid1->hide();
    form_.form().GroupBox4->show();
}

void SongLibrary::LiedereinlesenClick() {
    AppState& state = form_.state();
    const Services& services = form_.services();
    form_.form().Button3->setProperty("Tag", 0);
    form_.Button3Click();
    form_.form().Button3->setProperty("Tag", 1);

    if (const QString warning = songFolderWarning(state.pfad_lk, form_.songConfig().SongFileExt);
        !warning.isEmpty())
        services.dialogs.showMessage(warning);

    const QString listFile = form_.dataFiles().songListFile();
    importSongList(importFilePath(services.folders.homeFolder()), listFile);

    const DateTime today = services.clock.today();
    const WeekSlots week = loadWeekSlots(listFile, today, state.TodayWeekday);
    if (week.listFileFound)
        songList_ = week.list;
    for (int slot = 1; slot <= 3; ++slot)
        if (const std::optional<QString>& text = week.texts[static_cast<std::size_t>(slot - 1)])
            field(slot)->setEditText(*text);
    if (week.runChangeHandlers)
        for (int slot = 1; slot <= 3; ++slot)
            ComboBoxChange(slot);

    form_.DeleteOldRecordings();
    state.userinfo = userInfoText(services.folders.userName(), today);
    form_.setWindowTitle(state.userinfo);
}

void SongLibrary::Lieder1Click(const QString& songFolderPath) {
    SongConfig& config = form_.songConfig();
    config.pfad = folderOfPath(songFolderPath);
    if (const QString warning = songFolderWarning(config.pfad, config.SongFileExt); !warning.isEmpty())
        form_.services().dialogs.showMessage(warning);
}
