#include "app/songs/SongListEditorView.h"

#include "app/TForm1.h"
#include "app/songs/EditTextDelegate.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/TextFile.h"
#include "settings/UiTexts.h"
#include "songs/SongListEditor.h"
#include "ui_TForm1.h"

namespace {
constexpr int ShownRows = SongListEditor::ShownWeeks + 1; // with the heading row

Qt::ItemFlags fixedFlags() {
    return Qt::ItemIsEnabled;
}
} // namespace

SongListEditorView::SongListEditorView(TForm1& form) : form_(form) {
    Ui::TForm1& ui = form_.form();
    auto* delegate = new EditTextDelegate(ui.StringGrid2);
    ui.StringGrid2->setItemDelegate(delegate);
    ui.StringGrid2->setEditTriggers(QAbstractItemView::AllEditTriggers);
    QObject::connect(delegate, &EditTextDelegate::editText, &form_,
                     [this](int column, int row, const QString& text) {
                         form_.step([=, this] { StringGrid2SetEditText(column, row, text); });
                     });
    form_.on(ui.Liederbearbeiten, &QAction::triggered, [this] { LiederbearbeitenClick(); });
    form_.on(ui.BitBtn1, &QPushButton::clicked, [this] { BitBtn1Click(); });
    form_.on(ui.BitBtn2, &QPushButton::clicked, [this] { BitBtn2Click(); });
}

void SongListEditorView::LiederbearbeitenClick() {
    Ui::TForm1& ui = form_.form();
    const DateTime today = form_.services().clock.today();
    weeks_ = SongListEditor::load(form_.dataFiles().songListFile(), today);

    ui.Panel2->hide();
    ui.GroupBox4->hide();
    QTableWidget* grid = ui.StringGrid2;
    grid->setGeometry(grid->x(), ui.Panel2->y(), ui.GroupBox6->width(), ui.Panel2->height());
    grid->show();
    grid->raise();
    const int buttonLeft = ui.GroupBox6->width() + 20;
    ui.BitBtn1->move(buttonLeft, ui.Panel2->y() + 10);
    ui.BitBtn2->move(buttonLeft, ui.BitBtn1->y() + 40);
    ui.BitBtn1->show();
    ui.BitBtn2->show();
    ui.BitBtn1->raise();
    ui.BitBtn2->raise();

    const QString baseText = dateToString(SongListEditor::baseDate(today));
    const int dateWidth = SongListEditor::dateColumnWidth(grid->fontMetrics().horizontalAdvance(baseText));
    grid->setColumnWidth(0, dateWidth);
    const int numberWidth = SongListEditor::numberColumnWidth(grid->viewport()->width(), dateWidth);
    for (int c = 1; c < SongListEditor::Columns; ++c)
        grid->setColumnWidth(c, numberWidth);
    showWeeks();
}

void SongListEditorView::showWeeks() {
    QTableWidget* grid = form_.form().StringGrid2;
    const QSignalBlocker blocker(grid);
    grid->setRowCount(ShownRows);
    grid->setColumnCount(SongListEditor::Columns);
    const QStringList headings = SongListEditor::headings();
    for (int c = 0; c < SongListEditor::Columns; ++c) {
        auto* heading = new QTableWidgetItem(headings.at(c));
        heading->setFlags(fixedFlags());
        heading->setBackground(grid->palette().button());
        grid->setItem(0, c, heading);
    }
    for (int r = 1; r < ShownRows; ++r) {
        const SongWeek& week = weeks_.row(r);
        auto* date = new QTableWidgetItem(week.date);
        date->setFlags(fixedFlags());
        date->setBackground(grid->palette().button());
        grid->setItem(r, 0, date);
        for (int c = 1; c < SongListEditor::Columns; ++c)
            grid->setItem(r, c, new QTableWidgetItem(week.numbers[static_cast<std::size_t>(c - 1)]));
    }
}

void SongListEditorView::StringGrid2SetEditText(int, int, const QString& text) {
    const QString message = SongListEditor::numberMessage(text, form_.songConfig().liedanzahl);
    if (!message.isEmpty())
        form_.services().dialogs.showMessage(message);
}

void SongListEditorView::takeCells() {
    QTableWidget* grid = form_.form().StringGrid2;
    for (int r = 1; r < ShownRows; ++r)
        for (int c = 1; c < SongListEditor::Columns; ++c)
            if (const QTableWidgetItem* item = grid->item(r, c))
                weeks_.row(r).numbers[static_cast<std::size_t>(c - 1)] = item->text();
}

void SongListEditorView::BitBtn1Click() {
    QTableWidget* grid = form_.form().StringGrid2;
    grid->setCurrentItem(nullptr); // commits an open cell editor
    const QString listFile = form_.dataFiles().songListFile();
    if (TextFile::exists(listFile) &&
        !form_.services().dialogs.confirm(uiText(UiText::ConfirmTitle),
                                          uiText(UiText::OverwriteSongList) + QStringLiteral(" ?")))
        return;
    takeCells();
    weeks_.write(listFile);
    closeEditor();
}

void SongListEditorView::BitBtn2Click() {
    closeEditor();
}

void SongListEditorView::closeEditor() {
    Ui::TForm1& ui = form_.form();
    ui.StringGrid2->hide();
    ui.BitBtn1->hide();
    ui.BitBtn2->hide();
    ui.Panel2->show();
    ui.GroupBox4->show();
}
