#pragma once

#include "songs/SlotNumber.h"
#include "songs/SongList.h"

#include <QString>

class TForm1;
class PickerComboBox;
class QCheckBox;
class QComboBox;

// The meeting slots' number fields, the number picker and the reading of this week's songs.
class SongLibrary {
public:
    explicit SongLibrary(TForm1& form);
    // A number field's background.
    static void colourField(QComboBox* field, Rgb colour);

    // Slot handlers (slot 1..3): check the typed number, find its file, hand the slot to the player.
    void ComboBoxChange(int slot);
    // Opens the picker for a caller (1..3 slots, 4 other source).
    void ComboBoxDropDown(int caller);
    // A picker cell was chosen.
    void StringGrid1SelectCell(int column, int row);
    // Escape in the picker: hides it without choosing, the calling field keeps its number.
    void StringGrid1Escape();

    void LiedereinlesenClick();
    void Lieder1Click(const QString& songFolderPath);

    const SongList& songList() const { return songList_; }

private:
    PickerComboBox* field(int caller) const;
    QCheckBox* checkBox(int slot) const;
    void takeSlot(int slot);
    void markPickerCell();
    void hidePicker();

    TForm1& form_;
    SongList songList_;
};
