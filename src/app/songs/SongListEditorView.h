#pragma once

#include "songs/SongList.h"

class TForm1;

// The song list editor shown over the lower panel: weeks from today, numbers typed, saved or dropped.
class SongListEditorView {
public:
    explicit SongListEditorView(TForm1& form);

    void LiederbearbeitenClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void StringGrid2SetEditText(int column, int row, const QString& text);

    // Week 54 is held and saved but not shown.
    const SongList& weeks() const { return weeks_; }

private:
    void showWeeks();
    void takeCells();
    void closeEditor();

    TForm1& form_;
    SongList weeks_;
};
