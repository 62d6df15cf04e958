#pragma once

#include <QStyledItemDelegate>

// Item delegate whose line editor reports every change of its text while it is being edited.
class EditTextDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

signals:
    void editText(int column, int row, const QString& text) const;
};
