#include "MainWindowFixture.h"

#include "app/songs/SongLibrary.h"

void MainWindowFixture::setSlot(TForm1& form, int slot, int number) {
    QComboBox* fields[] = {form.form().ComboBox1, form.form().ComboBox2, form.form().ComboBox3};
    fields[slot - 1]->setEditText(QString::number(number));
    form.songs().ComboBoxChange(slot);
}
