#pragma once

#include <QComboBox>

// An editable number field whose drop-down button asks for the number picker instead of a list.
class PickerComboBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;
    void showPopup() override { emit dropDown(); }

signals:
    void dropDown();
};
