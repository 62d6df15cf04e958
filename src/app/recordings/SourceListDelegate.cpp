#include "app/recordings/SourceListDelegate.h"

#include "recordings/CopyLists.h"

#include <QPainter>
#include <algorithm>

void SourceListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QString line = index.data().toString();
    const QRect row = option.rect;
    painter->save();
    painter->fillRect(row, (option.state & QStyle::State_Selected) ? option.palette.highlight()
                                                                   : option.palette.base());
    painter->setFont(option.font);
    painter->setPen(textColour(line));
    const QFontMetrics metrics(option.font);
    if (recordings::IsHeading(line)) {
        // The text ends at the row's bottom.
        painter->drawText(row.left() + 2, row.bottom() + 1 - metrics.descent(), line);
    } else {
        painter->drawText(QRect(row.left() + 12, row.top(), row.width() - 12, row.height()),
                          Qt::AlignLeft | Qt::AlignTop, line);
    }
    painter->restore();
}

QSize SourceListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const bool heading = recordings::IsHeading(index.data().toString());
    // The heights are those of a small font; a larger one gets the room its underscores need.
    const int line = QFontMetrics(option.font).height();
    return {QStyledItemDelegate::sizeHint(option, index).width(),
            heading ? std::max(HeadingHeight, line + 6) : std::max(FileHeight, line)};
}

QColor SourceListDelegate::textColour(const QString& line) {
    return recordings::IsHeading(line) ? QColor(0, 0, 255) : QColor(Qt::black);
}
