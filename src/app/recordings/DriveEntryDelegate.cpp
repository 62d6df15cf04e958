#include "app/recordings/DriveEntryDelegate.h"

#include "recordings/DriveEntries.h"

#include <QApplication>
#include <QPainter>

void DriveEntryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    painter->save();
    painter->fillRect(item.rect, (item.state & QStyle::State_Selected) ? item.palette.highlight()
                                                                       : item.palette.button());
    QStyleOptionViewItem check = item;
    check.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, item.widget);
    check.state = check.state & ~QStyle::State_HasFocus;
    check.state |= item.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, item.widget);

    const QString description = index.data(DescriptionRole).toString();
    const int left = check.rect.right() + 1 + 2;
    const QFontMetrics metrics(item.font);
    painter->setFont(item.font);
    painter->setPen(textColour(description, item.palette));
    const QString folder = metrics.elidedText(index.data(FolderRole).toString(), Qt::ElideMiddle, 200);
    painter->drawText(QRect(left, item.rect.top(), item.rect.right() - left, ItemHeight / 2),
                      Qt::AlignLeft | Qt::AlignTop, folder);
    painter->drawText(QRect(left, item.rect.top() + ItemHeight / 2, item.rect.right() - left, ItemHeight / 2),
                      Qt::AlignLeft | Qt::AlignTop, description.left(35));
    painter->restore();
}

QSize DriveEntryDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    // The folder is shortened to fit, so an entry is never wider than the list.
    return {1, ItemHeight};
}

QColor DriveEntryDelegate::textColour(const QString& description, const QPalette& palette) {
    switch (recordings::EntryColourOf(description)) {
    case recordings::EntryColour::Grey:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case recordings::EntryColour::Olive:
        return QColor(128, 128, 0);
    default:
        return Qt::black;
    }
}
