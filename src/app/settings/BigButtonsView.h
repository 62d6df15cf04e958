#pragma once

namespace Ui {
class TForm1;
}

// Lays out the upper control area for the normal or the big-buttons view and sets the menu mark.
void applyBigButtonsView(Ui::TForm1& ui, bool big);
