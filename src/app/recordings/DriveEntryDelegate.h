#pragma once

#include <QStyledItemDelegate>

// Draws an entry of the drive list: its check box, then its folder (shortened to 200 pixels) and below it
// its description, in the colour of its kind; 30 pixels high.
class DriveEntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Where an entry's text is kept.
    enum Role { FolderRole = Qt::UserRole, DescriptionRole, RootRole };

    static constexpr int ItemHeight = 30;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The colour an entry's text is drawn in.
    static QColor textColour(const QString& description, const QPalette& palette);
};
