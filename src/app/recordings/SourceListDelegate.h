#pragma once

#include <QStyledItemDelegate>

// Draws the copy dialog's source list: headings 20 pixels high in blue at the left, recordings 13 pixels
// high in black, indented.
class SourceListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int HeadingHeight = 20;
    static constexpr int FileHeight = 13;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    static QColor textColour(const QString& line);
};
