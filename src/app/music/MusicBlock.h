#pragma once

#include "app/music/SongLengths.h"
#include "common/AudioLibrary.h"

#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <array>

class QLabel;
class TForm1;

// The background music block: a list of up to three songs that the meeting clock starts so that it ends
// when the meeting begins, random filler before it and after the meeting, on a stream of its own beside
// the song player's. Its state is the Tag of BitBtn5.
class MusicBlock : public QObject {
public:
    enum State { Idle, Armed, PlayingBefore, AfterReady, PlayingAfter };

    explicit MusicBlock(TForm1& form);

    void ComboBox6Change();
    // Typing into the entry field: an entry is taken once its number is complete (or Enter ends it), a
    // number that is no song turns the field red at once, other text does nothing.
    void ComboBox6Typed(bool typingEnded);
    void BitBtn6Click();
    void BitBtn5Click();
    void SpeedButton8Click();
    void Button9Click();
    void CheckBox4Click();
    // The background step of the clock's tick.
    void musicStep();
    // Empties the list (the music block's part of the meeting-day defaults and of the meeting's end).
    void emptyList();
    // While the block is Idle and entry 1 is the only one, empties it: slot 1 no longer names a song.
    void withdrawOpeningSong();

    int MusicState() const;
    void setMusicState(int state);
    // The list's three lengths + 20 seconds.
    int CountdownTotalSeconds() const;
    // Starts the list at the moment the clock found (Armed to PlayingBefore).
    void startList();
    // The measured lengths of the songs, which the best fit takes before the song book's table.
    SongLengths& songLengths() { return lengths; }
    // The filler's draws repeat for the same seed.
    void seedRandom(quint32 seed) { random_.seed(seed); }
    bool RandomPlayOn = false;
    int MusicEntry = 5;
    // Entries filled, also the row of the entry field: the Tag of ComboBox6.
    int MusicEntryCount() const;
    void setMusicEntryCount(int count);
    AudioHandle MusicStream = 0;
    std::int64_t MusicLengthBytes = 0;

private:
    QLabel* entryLabel(int k) const;
    QLabel* lengthLabel(int k) const;
    void setEntryFontsBlack();
    void setEntryColour(int k, const char* colour);
    void openStream(const QString& file);
    bool songPlayerBusy() const;
    // The random filler's choice: best fit close to the list's start among the songs that have a file,
    // else a draw from the pool, which the clock's step fills again at once when its draw empties it;
    // false when no song fits.
    bool pickSong(bool refillEmptiedPool);
    // Tells once per file that a background song could not be read; the music goes on with the next.
    void tellUnreadable(const QString& file);
    int lengthOf(int number) const;
    QString songFile(int number) const;

    TForm1& form_;
    AudioLibrary& audio_;
    std::array<int, 3> numbers_{};
    std::array<int, 3> lengths_{};
    int randomNumber_ = 0;
    QString playingFile_;
    QString toldUnreadable_;
    QRandomGenerator random_;
    SongLengths lengths;
};
