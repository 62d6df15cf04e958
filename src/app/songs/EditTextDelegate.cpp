#include "app/songs/EditTextDelegate.h"

#include <QLineEdit>

QWidget* EditTextDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    const int row = index.row();
    const int column = index.column();
    connect(editor, &QLineEdit::textEdited, this,
            [this, row, column](const QString& text) { emit editText(column, row, text); });
    return editor;
}
